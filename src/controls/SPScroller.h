#pragma once

#include <QImage>
#include <QScrollBar>
#include <QStyle>

class QStyleOptionSlider;

// The vertical scroller of the file list: arrows and a three-piece knob drawn from images over
// whatever lies behind it (no groove). Scrolling itself stays QScrollBar's.
class SPScroller : public QScrollBar {
    Q_OBJECT
public:
    // The images it draws from, among the application's resources; the arrows are 4-frame strips.
    static constexpr const char* kImageUpArrow = "btn-scr-top.png";
    static constexpr const char* kImageDnArrow = "btn-scr-btm.png";
    static constexpr const char* kImageBarTop = "VAZEV_BASE/VAZEV_scbar_bar_top.png";
    static constexpr const char* kImageBarMiddle = "VAZEV_BASE/VAZEV_scbar_bar_middle.png";
    static constexpr const char* kImageBarBottom = "VAZEV_BASE/VAZEV_scbar_bar_bottom.png";
    static constexpr int kArrowFrames = 4;

    explicit SPScroller(QWidget* parent = nullptr);

    // Draws frame `index` of an n-frame strip at the right of `part`, ending one pixel before its
    // right edge, over the part's full height.
    static void drawImage(QPainter& painter, const QImage& strip, const QRect& part, int index,
                          int divideNum);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    enum class Arrow { Increment, Decrement };

    void drawArrow(QPainter& painter, const QStyleOptionSlider& option, Arrow arrow) const;
    void drawKnob(QPainter& painter, const QStyleOptionSlider& option) const;
    QRect partRect(const QStyleOptionSlider& option, QStyle::SubControl part) const;

    QImage m_imageUpArrow;
    QImage m_imageDnArrow;
    QImage m_imageBarTop;
    QImage m_imageBarMiddle;
    QImage m_imageBarBottom;
};
