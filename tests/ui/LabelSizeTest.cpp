#include "ui/LabelSize.h"
#include "ui/WindowFont.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>

#include <gtest/gtest.h>

TEST(WindowFont, IsASansSerifOfElevenPixels)
{
    const QFont font = ui::windowFont();
    EXPECT_EQ(font.pixelSize(), 11);
    // The embedded face alone, whatever the machine has.
    EXPECT_EQ(font.families(), QStringList{"Liberation Sans"});
    const QFontInfo info(font);
    EXPECT_EQ(info.family(), "Liberation Sans");
    EXPECT_EQ(info.pixelSize(), 11);
}

TEST(LabelSize, ALabelWithoutWordWrapTakesItsTextsSize)
{
    QLabel label(QStringLiteral("How many dice"));
    label.setFont(ui::windowFont());
    label.setGeometry(4, 20, 10, 5);
    ui::sizeLabelToText(&label);
    const QFontMetrics fm(label.font());
    EXPECT_EQ(label.pos(), QPoint(4, 20));
    EXPECT_GE(label.width(), fm.horizontalAdvance(label.text()));
    EXPECT_GE(label.height(), fm.height());
    EXPECT_EQ(label.size(), label.sizeHint());
}

TEST(LabelSize, AWordWrappedLabelKeepsItsWidthAndGrowsInHeight)
{
    QLabel label(QStringLiteral("one two three four five six seven eight nine ten"));
    label.setFont(ui::windowFont());
    label.setWordWrap(true);
    label.setGeometry(8, 104, 129, 13);
    ui::sizeLabelToText(&label);
    const QFontMetrics fm(label.font());
    EXPECT_EQ(label.width(), 129);
    EXPECT_GE(label.height(), 2 * fm.height());
    EXPECT_GE(label.height(), label.heightForWidth(label.width()));
}

TEST(LabelSize, ARollTextStandsOnOneLine)
{
    QFont big;
    big.setPixelSize(32);
    big.setBold(true);
    QLabel label(QStringLiteral("550=100+99+98+97+96+95+94+93+92+91"));
    label.setFont(big);
    label.setWordWrap(true);
    ui::sizeLabelToOneLine(&label);
    const QFontMetrics fm(big);
    EXPECT_EQ(label.height(), fm.height());
    EXPECT_EQ(label.heightForWidth(label.width()), fm.height()); // it does not wrap
}
