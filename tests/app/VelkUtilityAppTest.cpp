#include "app/VelkUtilityApp.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QEvent>
#include <QException>
#include <stdexcept>

#include "AppTestSupport.h"
#include "common/GenericException.h"
#include "controls/SPDialControl.h"

namespace {

class ToolkitFailure : public QException {
public:
    void raise() const override { throw *this; }
    ToolkitFailure* clone() const override { return new ToolkitFailure(*this); }
    const char* what() const noexcept override { return "the toolkit gave up"; }
};

// An object whose handling of a user event throws what the test asks for.
class Thrower : public QObject {
public:
    std::function<void()> fail;
    int handled = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++handled;
        if (fail)
            fail();
        return true;
    }
};

bool deliver(Thrower& receiver) {
    QEvent event(QEvent::User);
    return QCoreApplication::sendEvent(&receiver, &event);
}

class ExceptionGuardTest : public testing::Test {
protected:
    void SetUp() override { velk::test::editorApplication(); }
    Thrower receiver;
};

TEST_F(ExceptionGuardTest, coreExceptionIsLoggedAndTheNextEventIsHandled) {
    receiver.fail = [] { throw mstd::CGenericException(1004, 0, ""); };
    testing::internal::CaptureStderr();
    EXPECT_FALSE(deliver(receiver));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "C++ Exception Caught\n");
    receiver.fail = nullptr;
    EXPECT_TRUE(deliver(receiver));
    EXPECT_EQ(receiver.handled, 2);
}

TEST_F(ExceptionGuardTest, anyOtherExceptionIsLoggedTheSameWay) {
    receiver.fail = [] { throw 42; };
    testing::internal::CaptureStderr();
    deliver(receiver);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "C++ Exception Caught\n");
}

TEST_F(ExceptionGuardTest, toolkitExceptionIsLoggedWithItsNameAndReason) {
    receiver.fail = [] { throw ToolkitFailure(); };
    testing::internal::CaptureStderr();
    deliver(receiver);
    const std::string logged = testing::internal::GetCapturedStderr();
    EXPECT_EQ(logged, "NSException Caught (anonymous namespace)::ToolkitFailure:the toolkit gave up\n");
}

TEST(VelkUtilityApp, everyDialStartsWithTheSmallLineKnob) {
    velk::test::editorApplication();
    SPDialControl dial;
    EXPECT_EQ(dial.cell().imageDivideNum(), 51);
    ASSERT_FALSE(dial.cell().image().isNull());
    EXPECT_EQ(dial.size(), QSize(dial.cell().image().width(), dial.cell().image().height() / 51));
}

}  // namespace
