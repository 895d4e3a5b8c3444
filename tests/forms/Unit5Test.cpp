// The About window: its layout, its version text, its keys and its die.
#include "forms/Unit5.h"

#include "ui/DecorativeDie.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using forms::TAboutBox;

namespace {

class AboutBoxTest : public ::testing::Test {
protected:
    void TearDown() override { TAboutBox::setVersionFileForTesting({}); }

    TAboutBox* openActive()
    {
        auto* box = new TAboutBox(&owner);
        box->show();
        box->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(box));
        return box;
    }

    QWidget owner;
};

} // namespace

TEST_F(AboutBoxTest, ShowsTheVersionTheExecutableCarries)
{
    // This test executable carries the program's version block, as the program does: the
    // project's version, "Version 0.6.1.13" as this is written.
    TAboutBox box(&owner);
    EXPECT_EQ(box.Version()->text(), QStringLiteral("Version " TAVRIX_TEST_PROJECT_VERSION));
}

TEST_F(AboutBoxTest, AnExecutableWithoutTheBlockShowsVersionAndNothingAfter)
{
    TAboutBox::setVersionFileForTesting(QStringLiteral("/bin/true"));
    TAboutBox box(&owner);
    EXPECT_EQ(box.Version()->text(), "Version ");
}

TEST_F(AboutBoxTest, IsLaidOutAsTheTableSays)
{
    TAboutBox box(&owner);
    EXPECT_EQ(box.objectName(), "TAboutBox");
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.size(), QSize(298, 213));
    EXPECT_EQ(box.minimumSize(), QSize(298, 213)); // fixed: no resizing
    EXPECT_EQ(box.maximumSize(), QSize(298, 213));
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowContextHelpButtonHint);
    EXPECT_TRUE(box.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(box.isModal());
    EXPECT_EQ(box.parentWidget(), &owner);
    EXPECT_EQ(box.font().pixelSize(), 11);

    auto* panel = box.findChild<QFrame*>("Panel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->geometry(), QRect(8, 8, 281, 161));
    EXPECT_EQ(panel->frameShape(), QFrame::Box);     // a raised inner and a lowered outer bevel:
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken); // the etched line of a sunken box
    EXPECT_EQ(panel->lineWidth(), 1);
    EXPECT_EQ(panel->midLineWidth(), 0);

    ui::DecorativeDie* die = box.JvDice1();
    EXPECT_EQ(die->objectName(), "JvDice1");
    EXPECT_EQ(die->parentWidget(), panel);
    EXPECT_EQ(die->geometry(), QRect(8, 8, 66, 66));
    EXPECT_EQ(die->value(), 1);
    EXPECT_FALSE(die->rotate());
    EXPECT_EQ(die->toolTip(), "Click me!!!");

    auto label = [&](const char* name) {
        return panel->findChild<QLabel*>(QString::fromLatin1(name));
    };
    ASSERT_NE(label("ProductName"), nullptr);
    EXPECT_EQ(label("ProductName")->text(), "Tavrix");
    EXPECT_EQ(label("ProductName")->pos(), QPoint(88, 16));
    EXPECT_EQ(label("Version")->pos(), QPoint(88, 40));
    ASSERT_NE(label("Copyright"), nullptr);
    ASSERT_NE(label("Comments"), nullptr);
    EXPECT_EQ(label("Copyright")->pos(), QPoint(8, 80));
    EXPECT_EQ(label("Comments")->pos(), QPoint(8, 104));
    EXPECT_TRUE(label("Comments")->wordWrap());
    EXPECT_FALSE(label("Copyright")->text().isEmpty());
    EXPECT_FALSE(label("Comments")->text().isEmpty());
    // Every label shows its whole text inside the panel.
    for (const char* name : {"ProductName", "Version", "Copyright", "Comments"}) {
        QLabel* l = label(name);
        EXPECT_GE(l->height(), l->heightForWidth(l->width())) << name;
        EXPECT_LE(l->geometry().right(), panel->width() - 3) << name;
        EXPECT_LE(l->geometry().bottom(), panel->height() - 3) << name;
    }

    QPushButton* ok = box.OKButton();
    EXPECT_EQ(ok->objectName(), "OKButton");
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->geometry(), QRect(111, 180, 75, 25));
    EXPECT_TRUE(ok->isDefault());
}

TEST_F(AboutBoxTest, EnterClosesIt)
{
    QPointer<TAboutBox> box = openActive();
    EXPECT_EQ(QApplication::focusWidget(), box->OKButton());
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_FALSE(box.isNull());
    EXPECT_FALSE(box->isVisible());
    QPointer<TAboutBox> another = openActive();
    QTest::keyClick(another, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(another->isVisible());
}

TEST_F(AboutBoxTest, EscapeDoesNothing)
{
    TAboutBox* box = openActive();
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(box->isVisible());
}

TEST_F(AboutBoxTest, OkAndTheCloseBoxHideItAndItsOwnerDestroysIt)
{
    auto* ownerWindow = new QWidget;
    QPointer<TAboutBox> box = new TAboutBox(ownerWindow);
    box->show();
    QTest::mouseClick(box->OKButton(), Qt::LeftButton);
    ASSERT_FALSE(box.isNull());
    EXPECT_FALSE(box->isVisible());
    QPointer<TAboutBox> closed = new TAboutBox(ownerWindow);
    closed->show();
    closed->close();
    ASSERT_FALSE(closed.isNull());
    EXPECT_FALSE(closed->isVisible());
    delete ownerWindow;
    EXPECT_TRUE(box.isNull());
    EXPECT_TRUE(closed.isNull());
}

TEST_F(AboutBoxTest, TwoWindowsStandOneOverTheOtherCentredOnTheScreen)
{
    TAboutBox* first = openActive();
    TAboutBox* second = openActive();
    EXPECT_EQ(first->frameGeometry(), second->frameGeometry());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint offset = first->frameGeometry().center() - screen.center();
    EXPECT_LE(std::abs(offset.x()), 8);
    EXPECT_LE(std::abs(offset.y()), 20);
}

TEST_F(AboutBoxTest, AClickOnTheDieStartsItAndAnotherStopsIt)
{
    TAboutBox* box = openActive();
    ui::DecorativeDie* die = box->JvDice1();
    QTest::mouseClick(die, Qt::LeftButton, {}, QPoint(33, 33));
    EXPECT_TRUE(die->rotate());
    QTest::qWait(250);
    QTest::mouseClick(die, Qt::LeftButton, {}, QPoint(33, 33));
    EXPECT_FALSE(die->rotate());
    const int stopped = die->value();
    QTest::qWait(150);
    EXPECT_EQ(die->value(), stopped);
    box->JvDice1Click();
    EXPECT_TRUE(die->rotate());
    box->JvDice1Click();
    EXPECT_FALSE(die->rotate());
}
