#include "ui/Images.h"

#include <QImage>

#include <gtest/gtest.h>

TEST(Images, SixDieFacesOfSixtyFourPixels)
{
    for (int face = 1; face <= 6; ++face) {
        const QPixmap p = ui::images::dieFace(face);
        ASSERT_FALSE(p.isNull()) << face;
        EXPECT_EQ(p.size(), QSize(64, 64)) << face;
    }
    EXPECT_TRUE(ui::images::dieFace(0).isNull());
    EXPECT_TRUE(ui::images::dieFace(7).isNull());
}

TEST(Images, TheQuestionMarkBadgeIsARedMarkOnPaleYellowWithAGreyDisabledImage)
{
    const QIcon badge = ui::images::helpBadge();
    ASSERT_FALSE(badge.isNull());
    const QImage normal = badge.pixmap(QSize(16, 16), QIcon::Normal).toImage();
    const QImage disabled = badge.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
    ASSERT_EQ(normal.size(), QSize(16, 16));
    int red = 0, yellow = 0, coloured = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QColor c = normal.pixelColor(x, y);
            if (c.alpha() < 200) continue;
            if (c.red() > 180 && c.green() < 90 && c.blue() < 90) ++red;
            if (c.red() > 230 && c.green() > 220 && c.blue() < 200) ++yellow;
            const QColor d = disabled.pixelColor(x, y);
            if (d.alpha() > 200 && std::abs(d.red() - d.blue()) > 24) ++coloured;
        }
    EXPECT_GT(red, 5);
    EXPECT_GT(yellow, 20);
    EXPECT_EQ(coloured, 0);                         // the disabled image is grey
    EXPECT_LT(normal.pixelColor(0, 0).alpha(), 50); // a round badge: the corners are clear
}

TEST(Images, TheApplicationIconHasSeveralSizes)
{
    const QIcon icon = ui::images::applicationIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes().size(), 4);
    EXPECT_EQ(icon.pixmap(QSize(128, 128)).size(), QSize(128, 128));
}
