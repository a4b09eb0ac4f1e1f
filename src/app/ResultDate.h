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

// The add/subtract line and the date it names, from one computation so that the result button
// sets exactly the date it shows.
struct ResultDate {
    DateTime date = 0; // at midnight
    QString caption;   // the date as a long date, then a note on skipped holidays if any
};

// The add/subtract result in the current date environment. nullopt when the count is no number
// (the line then keeps its text). Throws kalendo::Error when the locale's long date does not
// decode.
std::optional<ResultDate> ComputeResultDate(const ResultDateRequest& request);

} // namespace kalendo::app
