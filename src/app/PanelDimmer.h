#pragma once

#include <QWidget>

// A shade over a whole panel while its amp is away, so that a player sees at a glance that the
// controls below it show no live amplifier. The pointer passes through it.
class PanelDimmer : public QWidget {
    Q_OBJECT
public:
    explicit PanelDimmer(QWidget& panel);

    // Shades the panel (on top of every control) or clears it.
    void setDimmed(bool dimmed);

protected:
    void paintEvent(QPaintEvent* event) override;
};
