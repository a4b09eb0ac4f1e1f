#pragma once

#include "dates/DateTime.h"

#include <QString>

#include <memory>

namespace kalendo {
class HolidayTable;
}

namespace kalendo::app {

// The public holidays of the user's country from the named-dates table, as the main window
// marks them and skips them in business days.
class TCountryHolidays {
public:
    // Reads the table's section for the user's country (once for the program's life).
    void Load();
    // The table when it has a section for the country, else null.
    const HolidayTable* Table() const;
    // The names of the day's holidays joined by ", ", empty when there are none.
    QString NamesOn(DateTime date) const;

private:
    std::shared_ptr<const HolidayTable> table_;
};

} // namespace kalendo::app
