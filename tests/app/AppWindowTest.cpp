#include "app/AppWindow.h"

#include <gtest/gtest.h>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "AppTestSupport.h"

namespace {

// Counts the key presses that reach it, as a parent of the field would see them.
class KeyCounter : public QWidget {
public:
    using QWidget::QWidget;
    int presses = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        ++presses;
        event->accept();
    }
};

class AppWindowTest : public testing::Test {
protected:
    void SetUp() override {
        holder = new KeyCounter(&window);
        field = new QLineEdit(holder);
        other = new QLineEdit(holder);
        auto* layout = new QVBoxLayout(holder);
        layout->addWidget(field);
        layout->addWidget(other);
        window.setCentralWidget(holder);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        ASSERT_TRUE(field->hasFocus());
    }

    VelkUtilityApp& app = velk::test::editorApplication();
    AppWindow window;
    KeyCounter* holder = nullptr;
    QLineEdit* field = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(AppWindowTest, returnEndsEditingAndGoesNoFurther) {
    QSignalSpy finished(field, &QLineEdit::editingFinished);
    QSignalSpy returned(field, &QLineEdit::returnPressed);
    QTest::keyClicks(field, "Cab 4x12");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(field->hasFocus());
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(returned.count(), 0) << "the key was not delivered to the field";
    EXPECT_EQ(holder->presses, 0) << "nor to anything behind it";
    EXPECT_EQ(field->text(), QStringLiteral("Cab 4x12"));
    EXPECT_TRUE(window.sendingKeydownEvent());
}

TEST_F(AppWindowTest, keypadEnterEndsEditingToo) {
    QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(field->hasFocus());
}

TEST_F(AppWindowTest, focusGoesToTheInitialFocusWidget) {
    window.setInitialFocusWidget(other);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(other->hasFocus());
}

TEST_F(AppWindowTest, otherKeysReachTheFieldAndTheFlagDropsAfterwards) {
    QTest::keyClick(field, Qt::Key_A);
    EXPECT_EQ(field->text(), QStringLiteral("a"));
    EXPECT_TRUE(window.sendingKeydownEvent());
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.sendingKeydownEvent());
}

TEST_F(AppWindowTest, returnOutsideATextFieldIsDeliveredAsUsual) {
    holder->setFocusPolicy(Qt::StrongFocus);
    holder->setFocus();
    QTest::keyClick(holder, Qt::Key_Return);
    EXPECT_EQ(holder->presses, 1);
}

TEST_F(AppWindowTest, readOnlyFieldsAreNotBeingEdited) {
    field->setReadOnly(true);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(field->hasFocus());
}

}  // namespace
