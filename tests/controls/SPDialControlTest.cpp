#include "controls/SPDialControl.h"

#include <gtest/gtest.h>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <numbers>

#include "controls/LogarithmicScale.h"
#include "helper/QtTestApp.h"

namespace {

// A model with one observable integer, as the panels bind their knobs to.
class KnobModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(int level READ level WRITE setLevel NOTIFY levelChanged)
public:
    int level() const { return m_level; }
    void setLevel(int level) {
        ++writes;
        if (level == m_level)
            return;
        m_level = level;
        emit levelChanged();
    }
    int writes = 0;

signals:
    void levelChanged();

private:
    int m_level = 0;
};

// A strip whose frames are told apart by their red channel: frame i is filled with red = i.
QImage numberedStrip(int frames, int width, int frameHeight) {
    QImage strip(width, frames * frameHeight, QImage::Format_ARGB32);
    QPainter painter(&strip);
    for (int i = 0; i < frames; ++i)
        painter.fillRect(0, i * frameHeight, width, frameHeight, QColor(i, 0, 200));
    return strip;
}

// The point at `degrees` clockwise from straight above the centre of a 100 x 100 dial.
QPoint pointAtAngle(double degrees, double radius = 40.0) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {static_cast<int>(std::lround(50.0 + radius * std::sin(a))),
            static_cast<int>(std::lround(50.0 - radius * std::cos(a)))};
}

class DialTest : public testing::Test {
protected:
    void SetUp() override {
        SPDialControlCell::setBehavior(SPDialControlCell::eBehavior_Absolute);
        dial.resize(100, 100);
        dial.setRange(0, 100);
    }
    void TearDown() override { SPDialControlCell::setBehavior(SPDialControlCell::eBehavior_Absolute); }

    void press(QPoint at, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(&dial, Qt::LeftButton, modifiers, at);
    }
    void drag(QPoint to) {
        QMouseEvent move(QEvent::MouseMove, to, dial.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&dial, &move);
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(&dial, Qt::Key(key), modifiers);
    }
    void wheel(int delta) {
        QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&dial, &event);
    }

    QApplication& app = velk::test::application();
    SPDialControl dial;
};

TEST_F(DialTest, drawsTheNearestFrameOfTheStrip) {
    dial.cell().setImageDivideNum(51);
    dial.setImage(numberedStrip(51, 20, 10));
    ASSERT_EQ(dial.size(), QSize(20, 10));
    for (auto [value, frame] : {std::pair{50, 25}, {0, 0}, {100, 50}, {1, 1}, {99, 50}}) {
        dial.setValue(value);
        EXPECT_EQ(dial.cell().frameIndex(), frame) << "value " << value;
        const QImage shown = dial.grab().toImage();
        EXPECT_EQ(qRed(shown.pixel(10, 5)), frame) << "value " << value;
    }
}

TEST_F(DialTest, stripOfOneFrameCountBelowOneKeepsTheDialsSize) {
    dial.cell().setImageDivideNum(0);
    dial.setImage(numberedStrip(4, 20, 10));
    EXPECT_EQ(dial.size(), QSize(100, 100));
}

TEST_F(DialTest, clickFollowsTheAngleAroundTheCentre) {
    press(pointAtAngle(0));
    EXPECT_EQ(dial.value(), 50);
    press(pointAtAngle(-150));
    EXPECT_EQ(dial.value(), 0);
    press(pointAtAngle(150));
    EXPECT_EQ(dial.value(), 100);
    press(pointAtAngle(90));
    EXPECT_EQ(dial.value(), 80);
}

TEST_F(DialTest, maxDegreeNeverSetSweepsThreeHundredThirtyDegrees) {
    EXPECT_LT(dial.cell().maxDegree(), 1.0);
    EXPECT_NEAR(dial.cell().calcAbsValueFrom(pointAtAngle(150, 1000)), 1.0f, 1e-3f);
    EXPECT_EQ(dial.cell().maxDegree(), 330.0);
}

TEST_F(DialTest, shortSweepAroundAnOffCentrePoint) {
    dial.setRange(0, 3);
    dial.setMaxDegree(120.0);  // sweep from -150 to -60 degrees
    dial.setCenterPoint(QPointF(80, 80));
    const double a = -60.0 * std::numbers::pi / 180.0;
    press(QPoint(static_cast<int>(std::lround(80 + 70 * std::sin(a))),
                 static_cast<int>(std::lround(80 - 70 * std::cos(a)))));
    EXPECT_EQ(dial.value(), 3);
}

TEST_F(DialTest, pressDoesNotNotifyButDragDoes) {
    QSignalSpy actions(&dial, &SPDialControl::action);
    press(pointAtAngle(0));
    EXPECT_EQ(actions.count(), 0);
    drag(pointAtAngle(30, 1000));
    EXPECT_EQ(dial.value(), 60);
    EXPECT_EQ(actions.count(), 1);
    drag(pointAtAngle(30, 1000));
    EXPECT_EQ(actions.count(), 1) << "no change, no action";
}

TEST_F(DialTest, dragAcrossTheGapBetweenTheEndsDoesNotJump) {
    press(pointAtAngle(150));
    ASSERT_EQ(dial.value(), 100);
    drag(pointAtAngle(180, 1000));
    drag(pointAtAngle(-149, 1000));
    EXPECT_EQ(dial.value(), 100);
}

TEST_F(DialTest, dragJustShortOfHalfTheTravelFollows) {
    press(pointAtAngle(-150));
    ASSERT_EQ(dial.value(), 0);
    drag(pointAtAngle(-150 + 300 * 0.49, 1000));
    EXPECT_EQ(dial.value(), 49);
}

TEST_F(DialTest, cancelledDragIgnoresTheRest) {
    press(pointAtAngle(0));
    dial.cancelTracking();
    drag(pointAtAngle(30, 1000));
    EXPECT_EQ(dial.value(), 50);
}

TEST_F(DialTest, incrementalBehaviourStepsWithVerticalDrag) {
    SPDialControlCell::setBehavior(SPDialControlCell::eBehavior_Incremental);
    dial.setValue(10);
    press(QPoint(50, 50));
    EXPECT_EQ(dial.value(), 10) << "press leaves the value";
    drag(QPoint(50, 40));
    EXPECT_EQ(dial.value(), 11);
    drag(QPoint(70, 40));
    EXPECT_EQ(dial.value(), 11) << "horizontal movement does nothing";
    drag(QPoint(70, 45));
    EXPECT_EQ(dial.value(), 10);
}

TEST_F(DialTest, behaviourOfTwoOrMoreIsIgnored) {
    SPDialControlCell::setBehavior(SPDialControlCell::eBehavior_Incremental);
    SPDialControlCell::setBehavior(2);
    EXPECT_EQ(SPDialControlCell::behavior(), SPDialControlCell::eBehavior_Incremental);
}

struct StepCase {
    int min, max, value;
    int key;
    Qt::KeyboardModifiers modifiers;
    int expected;
};
void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.min << ".." << c.max << " at " << c.value << (c.modifiers ? " shift" : "") << " key 0x"
        << std::hex << c.key;
}

class DialStepTest : public DialTest, public testing::WithParamInterface<StepCase> {};

TEST_P(DialStepTest, arrowKeyStepsByAHundredthOfTheRangeUnlessShift) {
    const StepCase& c = GetParam();
    dial.setRange(c.min, c.max);
    dial.setValue(c.value);
    key(c.key, c.modifiers);
    EXPECT_EQ(dial.value(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Steps, DialStepTest,
                         testing::Values(StepCase{0, 1000, 500, Qt::Key_Up, {}, 510},
                                         StepCase{0, 1000, 500, Qt::Key_Right, {}, 510},
                                         StepCase{0, 1000, 500, Qt::Key_Down, {}, 490},
                                         StepCase{0, 1000, 500, Qt::Key_Left, {}, 490},
                                         StepCase{0, 1000, 500, Qt::Key_Up, Qt::ShiftModifier, 501},
                                         StepCase{0, 1000, 500, Qt::Key_Down, Qt::ShiftModifier, 499},
                                         StepCase{0, 100, 50, Qt::Key_Up, {}, 51},
                                         StepCase{0, 100, 50, Qt::Key_Down, {}, 49},
                                         StepCase{0, 150, 50, Qt::Key_Up, {}, 52},
                                         StepCase{0, 1000, 995, Qt::Key_Up, {}, 1000}));

TEST_F(DialTest, arrowKeyAtALimitSendsNothing) {
    QSignalSpy actions(&dial, &SPDialControl::action);
    dial.setValue(100);
    key(Qt::Key_Up);
    EXPECT_EQ(actions.count(), 0);
    key(Qt::Key_Down);
    EXPECT_EQ(actions.count(), 1);
}

TEST_F(DialTest, logarithmicScrollFromTwentyGivesTwentyOne) {
    dial.setRange(20, 20000);
    dial.setValue(20);
    dial.cell().setLogarithm(true);
    QSignalSpy actions(&dial, &SPDialControl::action);
    wheel(120);
    EXPECT_EQ(dial.value(), 21);
    EXPECT_EQ(actions.count(), 1);
    wheel(-120);
    EXPECT_EQ(dial.value(), 20);
}

TEST_F(DialTest, scrollAtALimitOrWithoutVerticalDeltaSendsNothing) {
    QSignalSpy actions(&dial, &SPDialControl::action);
    dial.setValue(0);
    wheel(-120);
    wheel(0);
    EXPECT_EQ(dial.value(), 0);
    EXPECT_EQ(actions.count(), 0);
}

TEST_F(DialTest, logarithmicFractionCoversTheRange) {
    EXPECT_FLOAT_EQ(transValueToLogarithmicValue(20, 20000, 20), 0.0f);
    EXPECT_FLOAT_EQ(transValueToLogarithmicValue(20000, 20000, 20), 1.0f);
    EXPECT_NEAR(transValueToLogarithmicValue(632, 20000, 20), 0.5f, 1e-3f);
}

TEST_F(DialTest, logarithmicClickAboveTheCentreGivesTheGeometricMean) {
    dial.setRange(20, 20000);
    dial.cell().setLogarithm(true);
    press(pointAtAngle(0));
    EXPECT_EQ(dial.value(), 632);  // 10^(log10 20 + 1.5) = 632.46
}

TEST_F(DialTest, logarithmicScaleWithoutAPositiveMinimumStaysLinear) {
    dial.setRange(0, 1000);
    dial.setValue(500);
    dial.cell().setLogarithm(true);
    key(Qt::Key_Up);
    EXPECT_EQ(dial.value(), 510);
}

TEST_F(DialTest, userChangeWritesTheBoundPropertyAndSendsTheAction) {
    KnobModel model;
    dial.bindValue(&model, "level");
    QSignalSpy actions(&dial, &SPDialControl::action);
    key(Qt::Key_Up);
    EXPECT_EQ(model.level(), 1);
    EXPECT_EQ(model.writes, 1);
    EXPECT_EQ(actions.count(), 1);
}

TEST_F(DialTest, modelAlreadyHoldingTheValueIsNotWrittenButTheActionIsSent) {
    KnobModel model;
    dial.bindValue(&model, "level");
    model.setLevel(7);
    model.writes = 0;
    QSignalSpy actions(&dial, &SPDialControl::action);
    dial.notifyValueToModelObject();
    EXPECT_EQ(model.writes, 0);
    EXPECT_EQ(actions.count(), 1);
}

TEST_F(DialTest, settingTheBoundPropertyMovesTheKnobWithoutAnAction) {
    KnobModel model;
    dial.bindValue(&model, "level");
    QSignalSpy actions(&dial, &SPDialControl::action);
    model.setLevel(42);
    EXPECT_EQ(dial.value(), 42);
    EXPECT_EQ(actions.count(), 0);
}

TEST_F(DialTest, disabledDialIgnoresModelUpdates) {
    KnobModel model;
    dial.bindValue(&model, "level");
    dial.setValue(9);
    dial.setEnabled(false);
    QSignalSpy actions(&dial, &SPDialControl::action);
    dial.notifyValueToModelObject();
    EXPECT_EQ(model.level(), 0);
    EXPECT_EQ(actions.count(), 0);
}

TEST_F(DialTest, pressOnASiblingDrawnOverTheDialIsNotTracked) {
    QWidget panel;
    SPDialControl* covered = new SPDialControl(&panel);
    covered->setGeometry(0, 0, 100, 100);
    covered->setRange(0, 100);
    QWidget* cover = new QWidget(&panel);
    cover->setGeometry(0, 0, 100, 30);
    EXPECT_FALSE(covered->cell().startTrackingAt(pointAtAngle(0)));
    EXPECT_EQ(covered->value(), 0);
    EXPECT_TRUE(covered->cell().startTrackingAt(pointAtAngle(150)));
}

TEST_F(DialTest, defaultStripAppliesToDialsCreatedAfterwards) {
    SPDialControl::setDefaultImage(numberedStrip(51, 30, 24), 51);
    SPDialControl later;
    SPDialControl::setDefaultImage(QImage(), 1);
    EXPECT_EQ(later.cell().imageDivideNum(), 51);
    EXPECT_EQ(later.size(), QSize(30, 24));
    EXPECT_TRUE(dial.cell().image().isNull());
}

}  // namespace

#include "SPDialControlTest.moc"
