#include "controls/SPDialControl.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <functional>
#include <numbers>
#include <utility>
#include <vector>

#include "NumberedStrip.h"
#include "helper/QtTestApp.h"

namespace {

// The point `radius` away from `centre` at `degrees` clockwise from straight above it.
QPoint pointAt(double degrees, double radius = 40.0, QPointF centre = {50, 50}) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {static_cast<int>(std::lround(centre.x() + radius * std::sin(a))),
            static_cast<int>(std::lround(centre.y() - radius * std::cos(a)))};
}

// A 100 x 100 dial over 0..100, turned by absolute dragging.
class DialTest : public testing::Test {
protected:
    void SetUp() override {
        dial.resize(100, 100);
        dial.setRange(0, 100);
    }

    void press(QPoint at) { QTest::mousePress(&dial, Qt::LeftButton, {}, at); }
    void drag(QPoint to) {
        QMouseEvent move(QEvent::MouseMove, to, dial.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&dial, &move);
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(&dial, Qt::Key(key), modifiers);
    }
    void wheel(int delta) {
        QWheelEvent event({50, 50}, {50, 50}, {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&dial, &event);
    }

    QApplication& app = velk::test::application();
    SPDialControl dial;
    QSignalSpy actions{&dial, &SPDialControl::action};
};

TEST_F(DialTest, drawsTheNearestFrameOfItsStripAtTheFramesSize) {
    dial.cell().setImageDivideNum(0);
    dial.setImage(velk::test::numberedStrip(4));
    EXPECT_EQ(dial.size(), QSize(100, 100)) << "a frame count below one sizes nothing";
    dial.cell().setImageDivideNum(51);
    dial.setImage(velk::test::numberedStrip(51));
    ASSERT_EQ(dial.size(), QSize(20, 10));
    for (auto [value, frame] : {std::pair{50, 25}, {0, 0}, {100, 50}, {1, 1}, {99, 50}}) {
        dial.setValue(value);
        EXPECT_EQ(velk::test::shownFrame(dial), frame) << "value " << value;
    }
}

// Every way the user turns the knob is announced once when the value changed, never otherwise.
TEST_F(DialTest, eachUserTurnIsAnnouncedOnceAndOnlyWhenTheValueChanged) {
    const auto keyTurn = [this](int k) { return [this, k] { key(k); }; };
    const auto click = [this](double degrees) {
        return [this, degrees] { QTest::mouseClick(&dial, Qt::LeftButton, {}, pointAt(degrees)); };
    };
    // Presses at `from` and drags on to each of `to`, far out, in turn.
    const auto pressAndDrag = [this](double from, std::vector<double> to) {
        return [this, from, to] {
            press(pointAt(from));
            for (double degrees : to)
                drag(pointAt(degrees, 1000));
        };
    };
    // What the turn is, the value it starts from, the turn, the value it ends at, and how many actions
    // it announces.
    const std::tuple<const char*, int, std::function<void()>, int, int> turns[] = {
        {"click", 50, click(90), 80, 1},
        {"click at the left end", 50, click(-150), 0, 1},
        {"click at the right end", 50, click(150), 100, 1},
        {"click on the shown value", 50, click(0), 50, 0},
        {"Home", 50, keyTurn(Qt::Key_Home), 0, 1},
        {"Home at the minimum", 0, keyTurn(Qt::Key_Home), 0, 0},
        {"End", 50, keyTurn(Qt::Key_End), 100, 1},
        {"Page Up", 50, keyTurn(Qt::Key_PageUp), 60, 1},
        {"Page Down at the minimum", 0, keyTurn(Qt::Key_PageDown), 0, 0},
        {"wheel up at the maximum", 100, [this] { wheel(120); }, 100, 0},
        {"wheel down at the minimum", 0, [this] { wheel(-120); }, 0, 0},
        {"wheel without vertical delta", 50, [this] { wheel(0); }, 50, 0},
        {"drag past the end", 100, pressAndDrag(150, {160}), 100, 0},
        {"press near the end and drag past it", 50, pressAndDrag(120, {160}), 100, 2},
        {"press, drag, and drag to the same place", 0, pressAndDrag(0, {30, 30}), 60, 2},
        {"drag just short of half the travel", 0, pressAndDrag(-150, {-150 + 300 * 0.49}), 49, 1},
        {"drag half the travel across the gap between the ends", 50, pressAndDrag(150, {180, -149}), 100, 1},
    };
    for (const auto& [name, from, turn, value, announced] : turns) {
        dial.setValue(from);
        actions.clear();
        turn();
        EXPECT_EQ(dial.value(), value) << name;
        EXPECT_EQ(actions.count(), announced) << name;
    }
    actions.clear();
    dial.setEnabled(false);
    dial.notifyValueToModelObject();
    EXPECT_EQ(actions.count(), 0) << "a disabled dial tells nobody";
}

TEST_F(DialTest, listenerThatCancelsTheDragOnTheClickEndsIt) {
    QObject::connect(&dial, &SPDialControl::action, [this] { dial.cancelTracking(); });
    press(pointAt(90));
    drag(pointAt(100, 1000));
    EXPECT_EQ(dial.value(), 80);
    EXPECT_EQ(actions.count(), 1);
}

// A step that overshoots a limit stops at it and announces it; one at a limit announces nothing.
TEST_F(DialTest, arrowKeysStepAHundredthOfTheRangeOrOneWithShiftAndAnnounceAChange) {
    // The range's maximum, the value, the key, with Shift or not, and the value it steps to.
    const std::tuple<int, int, int, bool, int> steps[] = {
        {1000, 500, Qt::Key_Up, false, 510},   {1000, 500, Qt::Key_Right, false, 510},
        {1000, 500, Qt::Key_Down, false, 490}, {1000, 500, Qt::Key_Left, false, 490},
        {1000, 500, Qt::Key_Up, true, 501},    {1000, 500, Qt::Key_Down, true, 499},
        {100, 50, Qt::Key_Up, false, 51},      {100, 50, Qt::Key_Down, false, 49},
        {150, 50, Qt::Key_Up, false, 52},      {1000, 995, Qt::Key_Up, false, 1000},
        {100, 100, Qt::Key_Up, false, 100},    {100, 0, Qt::Key_Down, false, 0}};
    for (const auto& [max, from, arrow, shift, expected] : steps) {
        dial.setRange(0, max);
        dial.setValue(from);
        actions.clear();
        SCOPED_TRACE(testing::Message() << "0.." << max << " at " << from << " key 0x" << std::hex << arrow
                                        << (shift ? " shift" : ""));
        key(arrow, shift ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(dial.value(), expected);
        EXPECT_EQ(actions.count(), expected != from ? 1 : 0);
    }
}

// The words themselves are the switch's test's (tests/controls/SPButtonTest.cpp).
TEST_F(DialTest, wordsOfTheValueFollowTheKnob) {
    dial.setRange(0, 3);
    dial.setWords({"Amp II noise gate", [](int v) { return QString::number(v); }, "%1 (%2)"});
    key(Qt::Key_End);
    EXPECT_EQ(dial.toolTip(), "Amp II noise gate (3)");
    EXPECT_EQ(dial.accessibleDescription(), "3");
}

TEST_F(DialTest, pressOnASiblingDrawnOverTheDialIsNotTracked) {
    QWidget panel;
    auto* covered = new SPDialControl(&panel);
    covered->setGeometry(0, 0, 100, 100);
    covered->setRange(0, 100);
    (new QWidget(&panel))->setGeometry(0, 0, 100, 30);
    EXPECT_FALSE(covered->cell().startTrackingAt(pointAt(0)));
    EXPECT_EQ(covered->value(), 0);
    EXPECT_TRUE(covered->cell().startTrackingAt(pointAt(150)));
}

}  // namespace
