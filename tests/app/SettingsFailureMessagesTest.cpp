#include "app/SettingsFailureMessages.h"

#include "app/QStringPrinter.h"

#include <gtest/gtest.h>

namespace kalendo::app {
namespace {

TEST(LostSettingsDescription, namesWhatTheUserLosesFromTheValuesNotStored) {
    const struct {
        const char* meaning;
        QStringList names;
        QString expected;
    } rows[] = {
        {"the exit sequence's values",
         {"left", "top", "WN", "AlwaysOnTop", "appver", "StartOfWeek"},
         "the window's position and the choices made in the Defaults menu and with the tick boxes"},
        {"Save Dates' values", {"Cal1", "Cal2"}, "the two calendar dates"},
        {"all three kinds",
         {"Cal1", "top", "SE"},
         "the window's position, the choices made in the Defaults menu and with the tick boxes and the "
         "two calendar dates"},
        {"the version alone", {"appver"}, ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LostSettingsDescription(row.names), row.expected) << row.meaning;
}

TEST(ExitWithoutSavingQuestion, saysWhyWhereAndWhatExitingLoses) {
    const platform::SettingsWriteFailure failure{
        "/home/u/.config/Marrowby/Kalendo v2.74.conf", "the disk is full", {"left", "top"}};
    EXPECT_EQ(
        ExitWithoutSavingQuestion(failure),
        "Kalendo could not save its settings to /home/u/.config/Marrowby/Kalendo v2.74.conf: the disk is "
        "full.\n\nIf you exit now, this is lost: the window's position. The settings saved before stay as "
        "they were.\n\nExit without saving?");
}

} // namespace
} // namespace kalendo::app
