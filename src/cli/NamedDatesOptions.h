#pragma once

#include "cli/CliArguments.h"
#include "dates/HolidayTable.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalendo::cli {

// The folder of the named-dates file when no --datescan is given: the first that holds
// "DateScan.DAT" of $KALENDO_DATA_DIR, the system folder (Windows), ../share/kalendo beside this
// program and the source tree's data/; empty when none does.
std::string DefaultNamedDatesDirectory();

// What the named-dates file reports while it lives (a damaged row, once), for stderr; the hook it
// replaced is put back afterwards.
class NamedDatesMessages {
public:
    NamedDatesMessages();
    ~NamedDatesMessages();
    NamedDatesMessages(const NamedDatesMessages&) = delete;
    NamedDatesMessages& operator=(const NamedDatesMessages&) = delete;

    // Appends the reports so far to the command's warnings, before those it has.
    void MoveInto(CommandResult& result);

private:
    std::vector<std::string> messages_;
    NamedDatesMessageHook previous_;
};

// --holidays COUNTRY: the country's holidays from the default named-dates file into table, or
// the bad-argument answer when there are none to be had.
std::optional<CommandResult> ReadHolidaysOption(std::string_view country,
                                                std::shared_ptr<const HolidayTable>& table);

// A warning when the dates from first to last reach outside the years the table has holidays
// for, where every weekday counts as a business day; empty otherwise.
std::string CoverageWarning(const HolidayTable& table, std::string_view country, DateTime first,
                            DateTime last);

} // namespace kalendo::cli
