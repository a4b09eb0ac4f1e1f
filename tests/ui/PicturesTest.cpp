#include "ui/Pictures.h"

#include <QColor>
#include <QIcon>
#include <QImage>

#include <gtest/gtest.h>

namespace kalendo::pictures {
namespace {

TEST(ProgramIcon, offersTheSizesOfTitleBarsPanelsAndDocksUnscaled) {
    const QIcon icon = ProgramIcon();
    const QList<QSize> available = icon.availableSizes();
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(side);
        EXPECT_TRUE(available.contains(QSize(side, side)));
        EXPECT_EQ(icon.pixmap(side).size(), QSize(side, side));
    }
}

TEST(ProgramIcon, isTheMonthPageWithItsRedBindingStrip) {
    const QImage page = ProgramIcon().pixmap(128).toImage();
    // Probes on the 128 grid of the drawing: strip, page, a day cell, the two marked days, and the
    // transparent corner outside the page.
    const QColor strip = page.pixelColor(64, 30);
    EXPECT_GT(strip.red(), 150);
    EXPECT_LT(strip.green(), 80);
    const QColor paper = page.pixelColor(64, 110);
    EXPECT_GT(paper.lightness(), 200);
    const QColor day = page.pixelColor(28, 58);
    EXPECT_GT(day.blue(), 100);
    EXPECT_LT(day.red(), 60);
    for (const QPoint marked : {QPoint(24, 78), QPoint(104, 78)}) {
        EXPECT_GT(page.pixelColor(marked).red(), 180) << marked.x();
        EXPECT_LT(page.pixelColor(marked).green(), 100) << marked.x();
    }
    EXPECT_EQ(page.pixelColor(2, 2).alpha(), 0);
}

} // namespace
} // namespace kalendo::pictures
