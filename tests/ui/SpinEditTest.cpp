#include "ui/SpinEdit.h"
#include "ui/Beep.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A window with the spin edit and a button to take the focus, shown and active.
class SpinEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::installBeepHandler([this] { ++beeps; });
        window.setWindowFlag(Qt::Window);
        spin = new ui::SpinEdit(&window);
        spin->setGeometry(84, 12, 73, 22);
        spin->setMinValue(1);
        spin->setMaxValue(10);
        spin->setValue(1);
        other = new QPushButton(QStringLiteral("other"), &window);
        other->setGeometry(8, 40, 60, 25);
        window.resize(200, 80);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        spin->setFocus();
        ASSERT_TRUE(spin->hasFocus());
    }
    void TearDown() override { ui::installBeepHandler({}); }

    // Replaces the text by typing it.
    void type(const QString& text)
    {
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Backspace);
        QTest::keyClicks(spin, text);
    }
    void leave()
    {
        other->setFocus();
        ASSERT_FALSE(spin->hasFocus());
    }
    QRect button(QStyle::SubControl which)
    {
        QStyleOptionSpinBox option;
        option.initFrom(spin);
        option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown |
                             QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField;
        option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
        option.buttonSymbols = spin->buttonSymbols();
        option.frame = spin->hasFrame();
        return spin->style()->subControlRect(QStyle::CC_SpinBox, &option, which, spin);
    }

    QWidget window;
    ui::SpinEdit* spin = nullptr;
    QPushButton* other = nullptr;
    int beeps = 0;
};

} // namespace

TEST_F(SpinEditTest, StartsWithItsValue)
{
    EXPECT_EQ(spin->text(), "1");
    EXPECT_EQ(spin->value(), 1);
    EXPECT_EQ(spin->minValue(), 1);
    EXPECT_EQ(spin->maxValue(), 10);
    EXPECT_EQ(spin->property("minimum").toInt(), 1);
    EXPECT_EQ(spin->property("maximum").toInt(), 10);
    EXPECT_EQ(spin->property("value").toInt(), 1);
}

TEST_F(SpinEditTest, TypingAcceptsDigitsSignsAndTheDecimalSeparator)
{
    type(QStringLiteral("7"));
    EXPECT_EQ(spin->text(), "7");
    type(QStringLiteral("+3"));
    EXPECT_EQ(spin->text(), "+3");
    EXPECT_EQ(spin->value(), 3);
    type(QStringLiteral("-"));
    EXPECT_EQ(spin->text(), "-");
    const QString separator = spin->locale().decimalPoint();
    type(QStringLiteral("1") + separator + QStringLiteral("5"));
    EXPECT_EQ(spin->text(), QStringLiteral("1") + separator + QStringLiteral("5"));
    EXPECT_EQ(spin->value(), 1); // not a whole number: the minimum
    EXPECT_EQ(beeps, 0);
}

TEST_F(SpinEditTest, EveryOtherCharacterIsRefusedWithABeep)
{
    type(QStringLiteral("4"));
    const QString refused = QStringLiteral("a xX$;=*/Z");
    for (const QChar c : refused) {
        QTest::keyClicks(spin, QString(c));
        EXPECT_EQ(spin->text(), "4") << QString(c).toStdString();
    }
    // A letter beyond ASCII, as a keyboard layout sends it.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("\u00e9"));
    QApplication::sendEvent(spin, &press);
    EXPECT_EQ(spin->text(), "4");
    EXPECT_EQ(beeps, refused.size() + 1);
}

TEST_F(SpinEditTest, EnterIsRefusedWithABeep)
{
    type(QStringLiteral("4"));
    QTest::keyClick(spin, Qt::Key_Return);
    QTest::keyClick(spin, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(spin->text(), "4");
    EXPECT_EQ(beeps, 2);
}

TEST_F(SpinEditTest, TheDecimalSeparatorIsTheLocales)
{
    spin->setLocale(QLocale(QLocale::German, QLocale::Germany));
    type(QStringLiteral("2,"));
    EXPECT_EQ(spin->text(), "2,");
    QTest::keyClicks(spin, QStringLiteral("."));
    EXPECT_EQ(spin->text(), "2,");
    EXPECT_EQ(beeps, 1);
}

TEST_F(SpinEditTest, ControlKeysEdit)
{
    type(QStringLiteral("123"));
    QTest::keyClick(spin, Qt::Key_Backspace);
    EXPECT_EQ(spin->text(), "12");
    QTest::keyClick(spin, Qt::Key_Home);
    QTest::keyClick(spin, Qt::Key_Delete);
    EXPECT_EQ(spin->text(), "2");
    QTest::keyClick(spin, Qt::Key_End);
    QTest::keyClick(spin, Qt::Key_Left);
    QTest::keyClicks(spin, QStringLiteral("9"));
    EXPECT_EQ(spin->text(), "92");
    QTest::keyClick(spin, Qt::Key_Right);
    QTest::keyClicks(spin, QStringLiteral("-"));
    EXPECT_EQ(spin->text(), "92-");
    EXPECT_EQ(beeps, 0);
}

TEST_F(SpinEditTest, PastingRefusedCharactersIsRefused)
{
    QString text = QStringLiteral("12a");
    int pos = 0;
    EXPECT_EQ(spin->validate(text, pos), QValidator::Invalid);
    text = QStringLiteral("-12");
    EXPECT_EQ(spin->validate(text, pos), QValidator::Acceptable);
    text.clear();
    EXPECT_EQ(spin->validate(text, pos), QValidator::Acceptable);
}

TEST_F(SpinEditTest, UpAndDownKeysStepByOneWithinTheRange)
{
    type(QStringLiteral("5"));
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), "6");
    QTest::keyClick(spin, Qt::Key_Down);
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(spin->text(), "4");
    spin->setValue(10);
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), "10");
    spin->setValue(1);
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(spin->text(), "1");
    QTest::keyClick(spin, Qt::Key_PageUp); // no paging
    EXPECT_EQ(spin->text(), "1");
}

TEST_F(SpinEditTest, SteppingFromOutsideTheRangeOrFromNoNumberLandsInside)
{
    type(QStringLiteral("25"));
    QTest::keyClick(spin, Qt::Key_Down);
    EXPECT_EQ(spin->text(), "10");
    type(QStringLiteral("-"));
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(spin->text(), "2"); // from the minimum
}

TEST_F(SpinEditTest, TheArrowButtonsStepByOne)
{
    type(QStringLiteral("5"));
    const QRect up = button(QStyle::SC_SpinBoxUp);
    const QRect down = button(QStyle::SC_SpinBoxDown);
    ASSERT_FALSE(up.isEmpty());
    ASSERT_FALSE(down.isEmpty());
    QTest::mouseClick(spin, Qt::LeftButton, {}, up.center());
    EXPECT_EQ(spin->text(), "6");
    QTest::mouseClick(spin, Qt::LeftButton, {}, down.center());
    QTest::mouseClick(spin, Qt::LeftButton, {}, down.center());
    EXPECT_EQ(spin->text(), "4");
}

TEST_F(SpinEditTest, LosingTheFocusBringsANumberIntoRange)
{
    type(QStringLiteral("25"));
    EXPECT_EQ(spin->text(), "25");
    EXPECT_EQ(spin->value(), 25);
    leave();
    EXPECT_EQ(spin->text(), "10");

    spin->setFocus();
    type(QStringLiteral("-3"));
    leave();
    EXPECT_EQ(spin->text(), "1");

    spin->setFocus();
    type(QStringLiteral("0"));
    leave();
    EXPECT_EQ(spin->text(), "1");

    spin->setFocus();
    type(QStringLiteral("7"));
    leave();
    EXPECT_EQ(spin->text(), "7");
}

TEST_F(SpinEditTest, LosingTheFocusLeavesATextThatIsNoWholeNumber)
{
    for (const QString& text :
         {QStringLiteral("-"), QStringLiteral(""), QStringLiteral("+"),
          QStringLiteral("1") + spin->locale().decimalPoint() + QStringLiteral("5"),
          QStringLiteral("--2")}) {
        spin->setFocus();
        type(text);
        leave();
        EXPECT_EQ(spin->text(), text) << text.toStdString();
        EXPECT_EQ(spin->value(), 1);
    }
}

TEST_F(SpinEditTest, ValueReadsTheTextByTheWholeNumberRule)
{
    const std::pair<QString, int> cases[] = {{"7", 7},
                                             {"+7", 7},
                                             {"-7", -7},
                                             {"  4", 4},
                                             {"$A", 10},
                                             {"0x1F", 31},
                                             {"x10", 16},
                                             {"", 1},
                                             {"-", 1},
                                             {"4 ", 1},
                                             {"1.5", 1},
                                             {"99999999999", 1},
                                             {"2147483647", 2147483647}};
    for (const auto& [text, value] : cases) {
        spin->setText(text);
        EXPECT_EQ(spin->value(), value) << text.toStdString();
    }
}

TEST_F(SpinEditTest, SetValueBringsIntoRange)
{
    spin->setValue(25);
    EXPECT_EQ(spin->text(), "10");
    spin->setValue(-4);
    EXPECT_EQ(spin->text(), "1");
    ui::SpinEdit unbounded; // minimum and maximum both 0: no range
    unbounded.setValue(1000);
    EXPECT_EQ(unbounded.text(), "1000");
    ui::SpinEdit npc; // a larger range, as the NPC dialog's
    npc.setMinValue(1);
    npc.setMaxValue(1000);
    npc.setValue(5000);
    EXPECT_EQ(npc.text(), "1000");
    EXPECT_EQ(npc.checkValue(0), 1);
}

TEST_F(SpinEditTest, TellsTextChanges)
{
    QSignalSpy changes(spin, &ui::SpinEdit::textChanged);
    type(QStringLiteral("3"));
    QTest::keyClick(spin, Qt::Key_Up);
    ASSERT_GE(changes.count(), 2);
    EXPECT_EQ(changes.last().at(0).toString(), "4");
}

TEST(SpinEditInADialog, EnterGoesToTheDefaultButtonWithoutABeep)
{
    int beeps = 0;
    ui::installBeepHandler([&] { ++beeps; });
    QDialog dialog;
    auto* spin = new ui::SpinEdit(&dialog);
    spin->setMinValue(1);
    spin->setMaxValue(1000);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(spin);
    layout->addWidget(ok);
    QSignalSpy clicks(ok, &QPushButton::clicked);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(beeps, 0);
    ui::installBeepHandler({});
}

TEST_F(SpinEditTest, IsASpinBoxForAssistiveTools)
{
    spin->setAccessibleName(QStringLiteral("How many dice"));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(spin);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::SpinBox);
    EXPECT_EQ(a->text(QAccessible::Name), "How many dice");
    EXPECT_TRUE(spin->focusPolicy() & Qt::TabFocus);
    type(QStringLiteral("6"));
    QAccessibleValueInterface* v = a->valueInterface();
    ASSERT_NE(v, nullptr);
    {
        EXPECT_EQ(v->currentValue().toInt(), 6);
        EXPECT_EQ(v->minimumValue().toInt(), 1);
        EXPECT_EQ(v->maximumValue().toInt(), 10);
    }
}
