#pragma once

#include "dates/DateTime.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace kalendo {
class HolidayTable;
}

namespace kalendo::app {

// The count typed into NoDays, "-" in front when subtracting: digits only, at most five; an
// emptied field counts as 0. nullopt when it is no such number.
std::optional<std::int32_t> ParseCount(const QString& text);

// What the add/subtract line is computed from.
struct ResultDateRequest {
    DateTime left = 0;     // the left calendar's date
    QString countText;     // NoDays' text, with "-" in front to subtract
    bool weekends = false; // count calendar days; otherwise business days
    // Business days skip these holidays too; null skips none.
    const HolidayTable* skippedHolidays = nullptr;
    // The place whose holidays they are, as the line names it ("England").
    QString placeName;
};

// The add/subtract line in the current date environment: the date reached, as a long date,
// followed by a note on the holidays when they are skipped. nullopt when the count is no number
// (the line then keeps its text). Throws kalendo::Error when the locale's long date does not
// decode.
std::optional<QString> ResultDateCaption(const ResultDateRequest& request);

} // namespace kalendo::app
