// Enter on a focused push button presses it, in any window, as Space does.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ButtonEnterKey, EnterOnAFocusedPushButtonPressesItAndNothingElse)
{
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Go"), &window);
    auto* other = new QPushButton(QStringLiteral("Other"), &window);
    auto* edit = new QLineEdit(&window);
    auto* box = new QCheckBox(QStringLiteral("Box"), &window);
    other->move(0, 30);
    edit->move(0, 60);
    box->move(0, 90);
    int pressed = 0, otherPressed = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++pressed; });
    QObject::connect(other, &QPushButton::clicked, [&] { ++otherPressed; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(pressed, 1);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(pressed, 2);
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(pressed, 3);
    // With Ctrl, Shift or Alt held, Enter is not the master's press.
    QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(button, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(pressed, 3);
    // Enter in an edit or on a check box presses no button.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(pressed, 3);
    EXPECT_EQ(otherPressed, 0);
    // A disabled button is never pressed.
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(otherPressed, 1);
    other->setEnabled(false);
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(otherPressed, 1);
}

} // namespace
