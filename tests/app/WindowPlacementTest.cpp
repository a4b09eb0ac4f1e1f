#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

namespace kalendo::app {
namespace {

const QSize kFrame(500, 620);
const QPoint kDefault(522, 143);
const QRect kScreen(0, 0, 1280, 1024);
const QRect kRightScreen(1280, 0, 1920, 1080);

TEST(WindowPlacement, usesAStoredPositionOnlyWhenTheTopStripIsOnAScreen) {
    const struct {
        const char* meaning;
        QPoint stored;
        QList<QRect> screens;
        QPoint expected;
    } rows[] = {
        {"well inside", {100, 80}, {kScreen}, {100, 80}},
        {"bottom right corner, 51 x 11 showing", {1229, 1013}, {kScreen}, kDefault},
        {"top strip just fits at the bottom", {700, 974}, {kScreen}, {700, 974}},
        {"one pixel too low", {700, 975}, {kScreen}, kDefault},
        {"200 pixels showing on the left", {-300, 10}, {kScreen}, {-300, 10}},
        {"199 pixels showing on the left", {-301, 10}, {kScreen}, kDefault},
        {"title above the screen", {100, -1}, {kScreen}, kDefault},
        {"on a screen since removed", {2000, 100}, {kScreen}, kDefault},
        {"on the second screen", {2000, 100}, {kScreen, kRightScreen}, {2000, 100}},
        {"across the border of two screens", {1180, 100}, {kScreen, kRightScreen}, {1180, 100}},
        {"below the shorter screen, 120 pixels beside the taller",
         {900, 1030},
         {kScreen, kRightScreen},
         kDefault},
        {"no screens known", {5000, 5000}, {}, {5000, 5000}},
        {"the default place off a small screen too: centred", {-900, 0}, {QRect(0, 0, 640, 480)}, {70, 0}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(WindowPlacement(row.stored, kFrame, row.screens, kDefault), row.expected) << row.meaning;
}

} // namespace
} // namespace kalendo::app
