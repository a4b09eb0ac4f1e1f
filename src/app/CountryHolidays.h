#pragma once

#include "dates/DateTime.h"
#include "dates/HolidayDataFile.h"
#include "dates/HolidayPlaces.h"

#include <QString>

#include <memory>
#include <optional>

namespace kalendo {
class HolidayTable;
}

namespace kalendo::app {

// The public holidays of the user's place with the user's own changes, as the main window marks
// them, skips them in business days and hands them to the decoder for named dates.
class TCountryHolidays {
public:
    TCountryHolidays() = default;
    // The decoder goes back to the named-dates file.
    ~TCountryHolidays();
    TCountryHolidays(const TCountryHolidays&) = delete;
    TCountryHolidays& operator=(const TCountryHolidays&) = delete;

    // The stored place's code ("" = the country of the user's locale, whole country) and changes.
    // A country the data has no list for gives no holidays. Until a place is chosen, a section
    // for the country in the user's own named-dates file is taken instead of the shipped data's.
    void Load(const QString& placeCode, HolidayChanges changes);
    // Another place or other changes, applied at once to everything that asks.
    void Choose(const HolidayPlace& place, HolidayChanges changes);

    // The table when the place has a list, else null.
    const HolidayTable* Table() const;
    // The names of the day's holidays joined by ", ", empty when there are none.
    QString NamesOn(DateTime date) const;

    // The place of the shipped data in use; none when there is none.
    const std::optional<HolidayPlace>& Place() const { return place_; }
    const HolidayChanges& Changes() const { return changes_; }
    // The code to store: the chosen place's, or "" while none was chosen.
    QString PlaceCode() const { return chosen_ && place_ ? QString::fromStdString(place_->code) : QString(); }
    // How the result line names the place: "England", "Germany".
    QString ShortName() const;
    // A whole country whose regions have days off of their own, so that counting with the
    // country's list may be wrong for the user.
    bool RegionsDiffer() const;

private:
    void Apply(std::shared_ptr<const HolidayTable> table);

    std::optional<HolidayPlace> place_;
    HolidayChanges changes_;
    bool chosen_ = false;
    QString ownFileName_; // the country name of a section of the user's own file in use
    std::shared_ptr<const HolidayTable> table_;
};

// The place of a locale's country, whole country; none when the data has no list for it.
std::optional<HolidayPlace> LocalePlace();

} // namespace kalendo::app
