#include "update/UpdateMessage.h"

#include <QDir>
#include <QLabel>

#include <gtest/gtest.h>

namespace kalendo::update {
namespace {

TEST(ProgressWindow, isABorderlessOnTopWindowWithABoldCaption) {
    Tform_Message window;
    EXPECT_EQ(window.size(), QSize(247, 58));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.panel_message->font().bold());
    EXPECT_EQ(window.panel_message->font().pixelSize(), 13);
}

TEST(ProgressWindow, colourShowsAsABandAroundThePanel) {
    Tform_Message window;
    window.SetColor(Qt::red);
    window.SetBorderWidth(5);
    window.panel_message->setText("Checking for an update...");
    window.show();
    const QImage image = window.grab().toImage();
    QDir().mkpath(KALENDO_SCREENSHOT_DIR);
    image.save(KALENDO_SCREENSHOT_DIR "/update_progress_window.png");
    const QRgb red = qRgb(255, 0, 0);
    for (const QPoint inBand : {QPoint(2, 2), QPoint(123, 2), QPoint(2, 29), QPoint(244, 55)})
        EXPECT_EQ(image.pixel(inBand), red) << inBand.x() << "," << inBand.y();
    EXPECT_NE(image.pixel(10, 10), red);
    EXPECT_EQ(window.panel_message->geometry(), QRect(5, 5, 237, 48));
}

} // namespace
} // namespace kalendo::update
