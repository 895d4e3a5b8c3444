#include "ui/DecorativeDie.h"
#include "ui/Random.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QImage>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

TEST(DecorativeDie, ShowsAFaceFromOneToSix)
{
    ui::DecorativeDie die;
    EXPECT_EQ(die.value(), 1);
    EXPECT_FALSE(die.rotate());
    die.setValue(5);
    EXPECT_EQ(die.value(), 5);
    for (const int wrong : {0, 7, -1, 100}) {
        die.setValue(wrong);
        EXPECT_EQ(die.value(), 5);
    }
    EXPECT_EQ(die.property("value").toInt(), 5);
}

TEST(DecorativeDie, TakesNoFocusAndShowsItsHint)
{
    ui::DecorativeDie die;
    EXPECT_EQ(die.focusPolicy(), Qt::NoFocus);
    die.setHint(QStringLiteral("Click me!"));
    EXPECT_EQ(die.toolTip(), "Click me!");
    EXPECT_EQ(die.hint(), "Click me!");
}

TEST(DecorativeDie, RotationIsASixtyMillisecondTimerOwnedByTheDie)
{
    ui::DecorativeDie die;
    EXPECT_EQ(die.rotationTimer(), nullptr);
    die.setRotate(true);
    ASSERT_NE(die.rotationTimer(), nullptr);
    EXPECT_EQ(die.rotationTimer()->interval(), 60);
    EXPECT_TRUE(die.rotationTimer()->isActive());
    EXPECT_EQ(die.rotationTimer()->parent(), &die);
    QPointer<QTimer> timer = die.rotationTimer();
    die.setRotate(false);
    EXPECT_EQ(die.rotationTimer(), nullptr);
    EXPECT_TRUE(timer.isNull()); // freed
}

TEST(DecorativeDie, ATickNeverShowsTheSameFaceTwiceInARow)
{
    ui::DecorativeDie die;
    die.setValue(3);
    ui::random::seed(2024);
    std::set<int> seen;
    int previous = die.value();
    for (int i = 0; i < 5000; ++i) {
        die.tick();
        ASSERT_NE(die.value(), previous) << "tick " << i;
        ASSERT_GE(die.value(), 1);
        ASSERT_LE(die.value(), 6);
        seen.insert(die.value());
        previous = die.value();
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST(DecorativeDie, TicksDrawFromTheProcessWideGenerator)
{
    ui::DecorativeDie die;
    die.setValue(2);
    ui::random::seed(77);
    std::vector<int> expected;
    int shown = 2;
    for (int i = 0; i < 50; ++i) {
        int face = shown;
        while (face == shown)
            face = ui::random::below(6) + 1;
        expected.push_back(shown = face);
    }
    ui::random::seed(77);
    std::vector<int> got;
    for (int i = 0; i < 50; ++i) {
        die.tick();
        got.push_back(die.value());
    }
    EXPECT_EQ(got, expected);
}

TEST(DecorativeDie, CreatingADieSeedsTheGeneratorFromTheClock)
{
    ui::random::seed(5);
    std::vector<int> fixed;
    for (int i = 0; i < 4; ++i)
        fixed.push_back(ui::random::below(1000000));
    ui::random::seed(5);
    ui::DecorativeDie die;
    std::vector<int> after;
    for (int i = 0; i < 4; ++i)
        after.push_back(ui::random::below(1000000));
    EXPECT_NE(after, fixed);
}

TEST(DecorativeDie, RotatesByItselfNeverRepeatingAndStopsOnTheFaceShown)
{
    ui::DecorativeDie die;
    die.setValue(4);
    std::vector<int> faces{die.value()};
    QObject::connect(&die, &ui::DecorativeDie::valueChanged, [&](int f) { faces.push_back(f); });
    die.setRotate(true);
    QTest::qWait(700);
    die.setRotate(false);
    ASSERT_GE(faces.size(), 4u); // about eleven ticks in 700 ms
    for (std::size_t i = 1; i < faces.size(); ++i)
        EXPECT_NE(faces[i], faces[i - 1]);
    const int stopped = die.value();
    EXPECT_EQ(stopped, faces.back());
    QTest::qWait(200);
    EXPECT_EQ(die.value(), stopped); // stays still
    const std::size_t before = faces.size();
    die.setRotate(true); // resumes from the face shown
    QTest::qWait(300);
    die.setRotate(false);
    ASSERT_GT(faces.size(), before);
    EXPECT_NE(faces[before], stopped);
}

TEST(DecorativeDie, AClickTellsItsOwner)
{
    ui::DecorativeDie die;
    die.resize(29, 29);
    QSignalSpy clicks(&die, &ui::DecorativeDie::clicked);
    QTest::mouseClick(&die, Qt::LeftButton, {}, QPoint(14, 14));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&die, Qt::RightButton, {}, QPoint(14, 14));
    EXPECT_EQ(clicks.count(), 1);
    // Pressed inside, released outside: no click.
    QTest::mousePress(&die, Qt::LeftButton, {}, QPoint(14, 14));
    QTest::mouseRelease(&die, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(die.rotate()); // a click alone changes nothing: the owner decides
}

TEST(DecorativeDie, DrawsItsFaceToFitLessAOnePixelMargin)
{
    ui::DecorativeDie die;
    die.setAttribute(Qt::WA_NoSystemBackground);
    die.resize(66, 66);
    die.setValue(1);
    QImage one = die.grab().toImage();
    ASSERT_EQ(one.size(), QSize(66, 66));
    // Face 1: the red pip in the middle.
    const QColor middle = one.pixelColor(33, 33);
    EXPECT_GT(middle.red(), 150);
    EXPECT_LT(middle.green(), 80);
    die.setValue(6);
    QImage six = die.grab().toImage();
    EXPECT_GT(six.pixelColor(33, 33).lightness(), 200); // no middle pip on six
    EXPECT_LT(six.pixelColor(20, 33).lightness(), 80);  // the middle row's left pip
    // The small die of the main window, 29 x 29.
    die.resize(29, 29);
    die.setValue(5);
    QImage small = die.grab().toImage();
    EXPECT_EQ(small.size(), QSize(29, 29));
    EXPECT_LT(small.pixelColor(14, 14).lightness(), 120); // the middle pip of five

    // The face is drawn to fit the die less one pixel on every side: the outermost ring of
    // pixels stays the background, and the face spans the rest (its picture's own rim starts a
    // pixel and a half inside the picture).
    for (const int side : {66, 29}) {
        SCOPED_TRACE(side);
        ui::DecorativeDie framed;
        QPalette palette = framed.palette();
        palette.setColor(QPalette::Window, Qt::magenta);
        framed.setPalette(palette);
        framed.setAutoFillBackground(true);
        framed.resize(side, side);
        framed.setValue(3);
        const QImage image = framed.grab().toImage();
        QRect face;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (image.pixelColor(x, y) != QColor(Qt::magenta)) face |= QRect(x, y, 1, 1);
        EXPECT_GE(face.left(), 1);
        EXPECT_GE(face.top(), 1);
        EXPECT_LE(face.right(), side - 2);
        EXPECT_LE(face.bottom(), side - 2);
        EXPECT_LE(face.left(), 3);
        EXPECT_LE(face.top(), 3);
        EXPECT_GE(face.right(), side - 4);
        EXPECT_GE(face.bottom(), side - 4);
    }
}

TEST(DecorativeDie, IsAButtonNamedDieForAssistiveTools)
{
    ui::DecorativeDie die;
    die.setValue(5);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&die);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Button);
    EXPECT_EQ(a->text(QAccessible::Name), "Die");
    EXPECT_EQ(a->text(QAccessible::Value), "5");
    EXPECT_EQ(a->text(QAccessible::Description), "Face 5");
    EXPECT_FALSE(a->state().focusable);
    QSignalSpy clicks(&die, &ui::DecorativeDie::clicked);
    ASSERT_NE(a->actionInterface(), nullptr);
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
    die.setRotate(true);
    EXPECT_EQ(a->text(QAccessible::Description), "Face 5, rotating");
    die.setRotate(false);
}
