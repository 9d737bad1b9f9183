#include "controls/SPButton.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QCursor>
#include <QDialog>
#include <QTest>

#include "NumberedStrip.h"
#include "helper/QtTestApp.h"

namespace {

using velk::test::numberedStrip;

constexpr bool kOn = true, kOff = false, kEnabled = true, kDisabled = false, kPressed = true,
               kReleased = false, kInside = true, kOutside = false;

TEST(ButtonFrame, selectsTheFrameOfItsTableForTheLook) {
    // The case, the look (frames, type, enabled, on, pressed, pointer inside, previous frame), and the
    // frame it shows.
    const std::tuple<const char*, SPButtonLook, int> cases[] = {
        {"2 on", {2, 0, kEnabled, kOn, kReleased, kOutside, -1}, 1},
        {"2 off pressed hovered", {2, 1, kEnabled, kOff, kPressed, kInside, 1}, 0},
        {"4 switch on", {4, 0, kEnabled, kOn, kReleased, kOutside, 0}, 3},
        {"4 switch off pressed", {4, 0, kEnabled, kOff, kPressed, kInside, 1}, 2},
        {"4 switch off pressed after on keeps on", {4, 0, kEnabled, kOff, kPressed, kInside, 3}, 3},
        {"4 switch off hovered", {4, 0, kEnabled, kOff, kReleased, kInside, 0}, 1},
        {"4 switch off outside", {4, 0, kEnabled, kOff, kReleased, kOutside, 1}, 0},
        {"4 switch disabled while hovered", {4, 0, kDisabled, kOff, kReleased, kInside, 1}, 0},
        {"4 switch disabled keeps on", {4, 0, kDisabled, kOn, kReleased, kOutside, 3}, 3},
        {"4 momentary pressed ignores state", {4, 1, kEnabled, kOn, kPressed, kOutside, 3}, 2},
        {"4 other type keeps its frame", {4, 2, kEnabled, kOn, kPressed, kInside, 2}, 2},
        {"6 off outside", {6, 0, kEnabled, kOff, kReleased, kOutside, -1}, 0},
        {"6 off hovered", {6, 0, kEnabled, kOff, kReleased, kInside, 0}, 1},
        {"6 off pressed", {6, 0, kEnabled, kOff, kPressed, kInside, 1}, 3},
        {"6 turned on while pressed stays pressed off", {6, 0, kEnabled, kOn, kPressed, kInside, 3}, 3},
        {"6 on pressed", {6, 0, kEnabled, kOn, kPressed, kInside, 2}, 4},
        {"6 turned off while pressed stays pressed on", {6, 0, kEnabled, kOff, kPressed, kInside, 4}, 4},
        {"6 on hovered", {6, 0, kEnabled, kOn, kReleased, kInside, 3}, 2},
        {"6 on outside", {6, 0, kEnabled, kOn, kReleased, kOutside, 2}, 5},
        {"6 disabled on hovered", {6, 0, kDisabled, kOn, kReleased, kInside, 2}, 5},
        {"6 disabled off hovered", {6, 0, kDisabled, kOff, kReleased, kInside, 1}, 0},
        {"6 disabled keeps pressed", {6, 0, kDisabled, kOff, kReleased, kInside, 3}, 3},
        {"5 frames", {5, 1, kEnabled, kOff, kReleased, kInside, 1}, -1},
    };
    for (const auto& [name, look, expected] : cases)
        EXPECT_EQ(SPButtonCell::selectFrame(look), expected) << name;
}

// A shown window with one momentary 4-frame button, the pointer parked away from it: the momentary
// frames of the table above, drawn.
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
    int shownFrame() { return velk::test::shownFrame(*button); }

    QApplication& app = velk::test::application();
    QWidget window;
    SPButton* button = nullptr;
};

TEST_F(ButtonWidgetTest, momentaryButtonRedrawsForThePointerThePressModalWindowsAndDisabling) {
    EXPECT_EQ(shownFrame(), 3);
    movePointer(QPoint(60, 45));
    EXPECT_EQ(button->cell().index(), 1) << "redrawn when the pointer enters";
    button->setDown(true);
    EXPECT_EQ(shownFrame(), 2);
    button->setDown(false);
    movePointer(QPoint(5, 5));
    EXPECT_EQ(button->cell().index(), 3) << "redrawn when the pointer leaves";
    movePointer(QPoint(60, 45));
    {
        QDialog dialog;
        dialog.setModal(true);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_FALSE(button->isBorderVisible()) << "no hover while another window is modal";
        EXPECT_EQ(shownFrame(), 3);
    }
    ASSERT_EQ(shownFrame(), 1);
    button->setEnabled(false);
    EXPECT_EQ(shownFrame(), 0) << "disabled while hovered";
}

TEST_F(ButtonWidgetTest, tabbedToSwitchShowsTheFocusMarkAndSpaceTogglesItWithItsWords) {
    auto* toggle = new SPButton(&window, 4);
    toggle->setCheckable(true);
    toggle->setImage(numberedStrip(4));
    toggle->setGeometry(100, 40, 20, 10);
    EXPECT_EQ(toggle->focusPolicy(), Qt::TabFocus) << "a click does not take the focus";
    toggle->setWords({"Amp II reverb: hall", [](int on) { return on ? "on" : "off"; }, "%1 (%2)"});
    toggle->show();
    EXPECT_EQ(toggle->toolTip(), "Amp II reverb: hall (off)");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QColor unmarked = toggle->grab().toImage().pixelColor(1, 5);
    toggle->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(toggle->grab().toImage().pixelColor(1, 5), unmarked) << "no mark for a focus by the mouse";
    button->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(button, Qt::Key_Tab);
    ASSERT_TRUE(toggle->hasFocus()) << "the next control";
    EXPECT_NE(toggle->grab().toImage().pixelColor(1, 5), unmarked) << "the focus mark at the edge";
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(toggle->toolTip(), "Amp II reverb: hall (on)");
    QAccessibleInterface* told = QAccessible::queryAccessibleInterface(toggle);
    EXPECT_EQ(told->text(QAccessible::Name), "Amp II reverb: hall");
    EXPECT_EQ(told->text(QAccessible::Description), "on");
}

}  // namespace
