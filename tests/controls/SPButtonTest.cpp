#include "controls/SPButton.h"

#include <gtest/gtest.h>
#include <QCursor>
#include <QDialog>
#include <QPainter>
#include <QTest>

#include "helper/QtTestApp.h"

namespace {

struct FrameCase {
    const char* name;
    SPButtonLook look;
    int expected;
};
void PrintTo(const FrameCase& c, std::ostream* os) {
    *os << c.name;
}

SPButtonLook look(int divide, int type, bool enabled, bool on, bool pressed, bool inside, int previous) {
    return {divide, type, enabled, on, pressed, inside, previous};
}

class ButtonFrameTest : public testing::TestWithParam<FrameCase> {};

TEST_P(ButtonFrameTest, selectsTheFrameOfItsTable) {
    EXPECT_EQ(SPButtonCell::selectFrame(GetParam().look), GetParam().expected);
}

constexpr bool kOn = true, kOff = false, kEnabled = true, kDisabled = false, kPressed = true,
               kReleased = false, kInside = true, kOutside = false;

INSTANTIATE_TEST_SUITE_P(
    TwoFrames, ButtonFrameTest,
    testing::Values(FrameCase{"on", look(2, 0, kEnabled, kOn, kReleased, kOutside, -1), 1},
                    FrameCase{"onWhileDisabled", look(2, 0, kDisabled, kOn, kReleased, kOutside, 0), 1},
                    FrameCase{"offPressedHovered", look(2, 1, kEnabled, kOff, kPressed, kInside, 1), 0}));

INSTANTIATE_TEST_SUITE_P(
    FourFrameSwitch, ButtonFrameTest,
    testing::Values(
        FrameCase{"on", look(4, 0, kEnabled, kOn, kReleased, kOutside, 0), 3},
        FrameCase{"onPressedHovered", look(4, 0, kEnabled, kOn, kPressed, kInside, 1), 3},
        FrameCase{"offPressed", look(4, 0, kEnabled, kOff, kPressed, kInside, 1), 2},
        FrameCase{"offPressedAfterOnKeepsOn", look(4, 0, kEnabled, kOff, kPressed, kInside, 3), 3},
        FrameCase{"offHovered", look(4, 0, kEnabled, kOff, kReleased, kInside, 0), 1},
        FrameCase{"offOutside", look(4, 0, kEnabled, kOff, kReleased, kOutside, 1), 0},
        FrameCase{"disabledWhileHovered", look(4, 0, kDisabled, kOff, kReleased, kInside, 1), 0},
        FrameCase{"disabledKeepsOn", look(4, 0, kDisabled, kOn, kReleased, kOutside, 3), 3},
        FrameCase{"disabledBeforeEverDrawn", look(4, 0, kDisabled, kOff, kReleased, kOutside, -1), -1}));

INSTANTIATE_TEST_SUITE_P(
    FourFrameMomentary, ButtonFrameTest,
    testing::Values(FrameCase{"outside", look(4, 1, kEnabled, kOff, kReleased, kOutside, -1), 3},
                    FrameCase{"hovered", look(4, 1, kEnabled, kOff, kReleased, kInside, 3), 1},
                    FrameCase{"pressed", look(4, 1, kEnabled, kOff, kPressed, kInside, 1), 2},
                    FrameCase{"pressedIgnoresState", look(4, 1, kEnabled, kOn, kPressed, kOutside, 3), 2},
                    FrameCase{"disabledWhileHovered", look(4, 1, kDisabled, kOff, kReleased, kInside, 1), 0},
                    FrameCase{"disabledKeepsNormal", look(4, 1, kDisabled, kOff, kReleased, kOutside, 3), 3},
                    FrameCase{"otherTypeKeepsItsFrame", look(4, 2, kEnabled, kOn, kPressed, kInside, 2), 2}));

INSTANTIATE_TEST_SUITE_P(
    SixFrameSwitch, ButtonFrameTest,
    testing::Values(
        FrameCase{"offOutside", look(6, 0, kEnabled, kOff, kReleased, kOutside, -1), 0},
        FrameCase{"offHovered", look(6, 0, kEnabled, kOff, kReleased, kInside, 0), 1},
        FrameCase{"offPressed", look(6, 0, kEnabled, kOff, kPressed, kInside, 1), 3},
        FrameCase{"turnedOnWhilePressedStaysPressedOff", look(6, 0, kEnabled, kOn, kPressed, kInside, 3), 3},
        FrameCase{"onPressed", look(6, 0, kEnabled, kOn, kPressed, kInside, 2), 4},
        FrameCase{"turnedOffWhilePressedStaysPressedOn", look(6, 0, kEnabled, kOff, kPressed, kInside, 4), 4},
        FrameCase{"onHovered", look(6, 0, kEnabled, kOn, kReleased, kInside, 3), 2},
        FrameCase{"onOutside", look(6, 0, kEnabled, kOn, kReleased, kOutside, 2), 5},
        FrameCase{"disabledOnHovered", look(6, 0, kDisabled, kOn, kReleased, kInside, 2), 5},
        FrameCase{"disabledOffHovered", look(6, 0, kDisabled, kOff, kReleased, kInside, 1), 0},
        FrameCase{"disabledKeepsPressed", look(6, 0, kDisabled, kOff, kReleased, kInside, 3), 3}));

INSTANTIATE_TEST_SUITE_P(
    OtherCounts, ButtonFrameTest,
    testing::Values(FrameCase{"three", look(3, 0, kEnabled, kOn, kReleased, kOutside, 1), -1},
                    FrameCase{"five", look(5, 1, kEnabled, kOff, kReleased, kInside, 1), -1},
                    FrameCase{"zero", look(0, 0, kEnabled, kOff, kReleased, kInside, 0), -1}));

// A strip whose frames are told apart by their red channel: frame i is filled with red = 10 + i.
QImage numberedStrip(int frames) {
    QImage strip(20, frames * 10, QImage::Format_ARGB32);
    QPainter painter(&strip);
    for (int i = 0; i < frames; ++i)
        painter.fillRect(0, i * 10, 20, 10, QColor(10 + i, 0, 200));
    return strip;
}

// A shown window with one momentary 4-frame button, the pointer parked away from it.
class ButtonWidgetTest : public testing::Test {
protected:
    void SetUp() override {
        window.resize(200, 100);
        button = new SPButton(&window, 4);
        button->setGeometry(50, 40, 20, 10);
        button->cell().setButtonType(SPButtonCell::eButtonType_Momentary);
        button->setImage(numberedStrip(4));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        movePointer(QPoint(5, 5));
    }

    // Parks the pointer and tells the button when it crossed its edge, as the window system does.
    void movePointer(QPoint inWindow) {
        const bool wasInside = button->rect().contains(button->mapFromGlobal(QCursor::pos()));
        QCursor::setPos(window.mapToGlobal(inWindow));
        const bool inside = button->geometry().contains(inWindow);
        if (inside && !wasInside) {
            QEnterEvent enter(button->mapFrom(&window, inWindow), inWindow, window.mapToGlobal(inWindow));
            QCoreApplication::sendEvent(button, &enter);
        } else if (!inside && wasInside) {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(button, &leave);
        }
    }
    // The frame the button shows now, read from its pixels.
    int shownFrame() { return qRed(button->grab().toImage().pixel(10, 5)) - 10; }

    QApplication& app = velk::test::application();
    QWidget window;
    SPButton* button = nullptr;
};

TEST_F(ButtonWidgetTest, momentaryButtonShowsNormalHoverAndPressedFrames) {
    EXPECT_EQ(shownFrame(), 3);
    movePointer(QPoint(60, 45));
    EXPECT_EQ(button->cell().index(), 1) << "redrawn when the pointer enters";
    button->setDown(true);
    EXPECT_EQ(shownFrame(), 2);
    button->setDown(false);
    movePointer(QPoint(5, 5));
    EXPECT_EQ(button->cell().index(), 3) << "redrawn when the pointer leaves";
}

TEST_F(ButtonWidgetTest, disablingAHoveredButtonShowsTheOffFrame) {
    movePointer(QPoint(60, 45));
    ASSERT_EQ(shownFrame(), 1);
    button->setEnabled(false);
    EXPECT_EQ(shownFrame(), 0);
}

TEST_F(ButtonWidgetTest, noHoverWhileAnotherWindowIsModal) {
    movePointer(QPoint(60, 45));
    ASSERT_TRUE(button->isBorderVisible());
    QDialog dialog;
    dialog.setModal(true);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_FALSE(button->isBorderVisible());
    EXPECT_EQ(shownFrame(), 3);
}

TEST_F(ButtonWidgetTest, strayFrameCountDrawsNothing) {
    button->cell().setImageDivideNum(3);
    button->setImage(numberedStrip(3));
    button->grab();
    EXPECT_EQ(button->cell().index(), -1);
}

TEST_F(ButtonWidgetTest, switchShowsOnFrameAndTakesNoFocusWithATag) {
    SPButton* toggle = new SPButton(&window, 6);
    toggle->setCheckable(true);
    toggle->setImage(numberedStrip(6));
    toggle->setGeometry(100, 40, 20, 10);
    toggle->show();
    toggle->setChecked(true);
    toggle->grab();
    EXPECT_EQ(toggle->cell().index(), 5);
    EXPECT_EQ(toggle->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(SPButton().focusPolicy(), Qt::StrongFocus);
}

}  // namespace
