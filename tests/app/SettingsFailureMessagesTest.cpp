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

} // namespace
} // namespace kalendo::app
