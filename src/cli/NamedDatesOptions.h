#pragma once

#include "cli/CliArguments.h"
#include "dates/HolidayPlaces.h"
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

// The shipped holiday data's "holidays" folder, searched like the named-dates file; empty when
// no folder has it.
std::string DefaultHolidayDataDirectory();
// Whether the shipped holiday data has a country of this ISO 3166 code ("BR").
bool IsHolidayDataCountry(const std::string& code);

// A PLACE argument: a place of the shipped data (GB-ENG, "United Kingdom/England", "Austrailia"),
// or a section of a user's own named-dates file found before the shipped data, which wins.
struct ResolvedPlace {
    std::optional<HolidayPlace> place;            // none for a section of a named-dates file
    std::string name;                             // the place's name, else the section's
    std::shared_ptr<const HolidayTable> holidays; // null when the place's days are missing
};
// The place, or the bad-argument answer naming an unknown one (option: the flag it came with).
std::optional<CommandResult> ResolvePlace(std::string_view text, std::string_view option,
                                          ResolvedPlace& into);

// --holidays PLACE: the place's holidays into table (null when the data misses them: said once on
// stderr, and no day is skipped), or the bad-argument answer when there is no such place.
std::optional<CommandResult> ReadHolidaysOption(std::string_view place,
                                                std::shared_ptr<const HolidayTable>& table);

// A warning when the dates from first to last reach outside the years the table has holidays
// for, where every weekday counts as a business day; empty otherwise.
std::string CoverageWarning(const HolidayTable& table, std::string_view country, DateTime first,
                            DateTime last);

} // namespace kalendo::cli
