#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

// Every image the editor draws from, by the relative name it is looked up under.
namespace velk::art {

struct ArtPiece {
    QString name;
    int frames;  // frames stacked in the image; its height is a multiple of this
    std::function<QImage(qreal scale)> paint;  // at `scale` image pixels to a logical pixel
};

std::vector<ArtPiece> catalog();

}  // namespace velk::art
