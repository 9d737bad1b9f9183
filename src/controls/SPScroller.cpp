#include "controls/SPScroller.h"

#include <QPainter>
#include <QStyleOptionSlider>

#include "controls/ImageStrip.h"

namespace {

constexpr int kArrowNormalFrame = 0;
constexpr int kArrowHighlightedFrame = 2;

}  // namespace

SPScroller::SPScroller(QWidget* parent)
    : QScrollBar(Qt::Vertical, parent),
      m_imageUpArrow(velk::controls::resourceImage(QStringLiteral("btn-scr-top.png"))),
      m_imageDnArrow(velk::controls::resourceImage(QStringLiteral("btn-scr-btm.png"))),
      m_imageBarTop(velk::controls::resourceImage(QStringLiteral("VAZEV_BASE/VAZEV_scbar_bar_top.png"))),
      m_imageBarMiddle(
          velk::controls::resourceImage(QStringLiteral("VAZEV_BASE/VAZEV_scbar_bar_middle.png"))),
      m_imageBarBottom(
          velk::controls::resourceImage(QStringLiteral("VAZEV_BASE/VAZEV_scbar_bar_bottom.png"))) {}

void SPScroller::drawImage(QPainter& painter, const QImage& strip, const QRect& part, int index,
                           int divideNum) {
    if (strip.isNull())
        return;
    const int width = velk::controls::stripFrameSize(strip, divideNum).width();
    const QRect target(part.x() + part.width() - width - 2, part.y(), width + 1, part.height());
    painter.setClipRect(target);
    velk::controls::drawStripFrame(painter, strip, divideNum, index, target);
}

void SPScroller::paintEvent(QPaintEvent*) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    QPainter painter(this);
    drawArrow(painter, option, Arrow::Increment);
    drawArrow(painter, option, Arrow::Decrement);
    drawKnob(painter, option);
}

void SPScroller::drawArrow(QPainter& painter, const QStyleOptionSlider& option, Arrow arrow) const {
    const QStyle::SubControl part =
        arrow == Arrow::Increment ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine;
    QRect rect = partRect(option, part);
    if (rect.height() <= 0)
        return;
    rect.setHeight(rect.height() - 1);
    // Only the arrow being pressed lights up.
    const bool highlighted = (option.activeSubControls & part) && (option.state & QStyle::State_Sunken);
    const QImage& strip = arrow == Arrow::Increment ? m_imageDnArrow : m_imageUpArrow;
    painter.save();
    drawImage(painter, strip, rect, highlighted ? kArrowHighlightedFrame : kArrowNormalFrame, kArrowFrames);
    painter.restore();
}

void SPScroller::drawKnob(QPainter& painter, const QStyleOptionSlider& option) const {
    const QRect knob = partRect(option, QStyle::SC_ScrollBarSlider);
    if (knob.isEmpty() || m_imageBarTop.isNull())
        return;
    const QSize top = velk::controls::stripFrameSize(m_imageBarTop, 1);
    const int width = top.width();
    const int x = knob.x() + static_cast<int>((knob.width() - width) * 0.5 + 0.5);
    const int topHeight = top.height();
    const int bottomHeight = velk::controls::stripFrameSize(m_imageBarBottom, 1).height();
    const int middleHeight = knob.height() - (topHeight + bottomHeight);
    painter.save();
    painter.setClipRect(knob);
    painter.drawImage(QRect(x, knob.y(), width, topHeight), m_imageBarTop);
    if (middleHeight > 0)
        painter.drawImage(QRect(x, knob.y() + topHeight, width, middleHeight), m_imageBarMiddle);
    painter.drawImage(QRect(x, knob.y() + topHeight + std::max(middleHeight, 0), width, bottomHeight),
                      m_imageBarBottom);
    painter.restore();
}

QRect SPScroller::partRect(const QStyleOptionSlider& option, QStyle::SubControl part) const {
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, part, this);
}
