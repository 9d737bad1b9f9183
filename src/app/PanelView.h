#pragma once

#include <QImage>
#include <QWidget>

// One editor panel of the main window's tabs: a faceplate of the panels' common size that the
// panel's controls sit on.
class PanelView : public QWidget {
    Q_OBJECT
public:
    // `baseImage` is the faceplate's resource name.
    explicit PanelView(const char* baseImage, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_base;
};
