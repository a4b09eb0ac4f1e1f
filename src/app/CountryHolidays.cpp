#include "app/CountryHolidays.h"

#include "dates/DateEnvironment.h"
#include "dates/DateStringTranslater.h"
#include "dates/HolidayTable.h"

#include <QLocale>

#include <filesystem>

namespace kalendo::app {

namespace {

// The user's country as the named-dates file names its sections.
std::string UserCountryName() {
    const std::string& source = SharedDateStringTranslater().CountryName();
    return source.empty() ? CurrentFormatSettings().countryName : source;
}

// A named-dates file outside the shipped data's folder is the user's own, and its section for
// the country is what the user wants counted.
std::shared_ptr<const HolidayTable> OwnFileSection(const std::string& country) {
    const std::filesystem::path data = SharedHolidayLibrary().Directory();
    const std::string& namedDates = SharedDateStringTranslater().DataDirectory();
    if (namedDates.empty() || (!data.empty() && std::filesystem::path(namedDates) == data.parent_path()))
        return nullptr;
    std::shared_ptr<const HolidayTable> table = NamedDatesHolidays(country);
    if (table == nullptr || !table->SectionFound() || table->Holidays().All().empty()) return nullptr;
    return table;
}

} // namespace

std::optional<HolidayPlace> LocalePlace() {
    const QString code = QLocale::territoryToCode(QLocale().territory());
    if (!code.isEmpty())
        if (auto place = SharedHolidayLibrary().FindPlace(code.toStdString())) return place;
    // The date settings' country, where they were not taken from the locale above.
    const std::string& name = CurrentFormatSettings().countryName;
    if (name.empty()) return std::nullopt;
    return SharedHolidayLibrary().FindPlace(name);
}

TCountryHolidays::~TCountryHolidays() { SharedDateStringTranslater().SetPlaceHolidays(nullptr); }

void TCountryHolidays::Load(const QString& placeCode, HolidayChanges changes) {
    std::optional<HolidayPlace> place;
    if (!placeCode.isEmpty()) place = SharedHolidayLibrary().FindPlace(placeCode.toStdString());
    chosen_ = place.has_value();
    if (!place) place = LocalePlace();
    place_ = std::move(place);
    changes_ = std::move(changes);
    ownFileName_.clear();
    // Until the user chooses a place, a section of their own file for their country counts.
    if (!chosen_) {
        const std::string country =
            place_ ? place_->name.substr(0, place_->name.find('/')) : UserCountryName();
        if (auto own = OwnFileSection(country)) {
            ownFileName_ = QString::fromStdString(country);
            Apply(std::move(own));
            return;
        }
    }
    Apply(place_ ? SharedHolidayLibrary().Holidays(*place_, changes_) : nullptr);
}

void TCountryHolidays::Choose(const HolidayPlace& place, HolidayChanges changes) {
    place_ = place;
    chosen_ = true;
    ownFileName_.clear();
    changes_ = std::move(changes);
    Apply(SharedHolidayLibrary().Holidays(place, changes_));
}

void TCountryHolidays::Apply(std::shared_ptr<const HolidayTable> table) {
    table_ = std::move(table);
    // The decoder finds the named dates of the same place; a place without a list, none.
    SharedDateStringTranslater().SetPlaceHolidays(table_ != nullptr ? table_
                                                                    : std::make_shared<const HolidayTable>());
}

const HolidayTable* TCountryHolidays::Table() const {
    return table_ != nullptr && table_->SectionFound() ? table_.get() : nullptr;
}

QString TCountryHolidays::NamesOn(DateTime date) const {
    const HolidayTable* table = Table();
    if (table == nullptr) return {};
    QString names;
    for (const NamedDay& holiday : table->Holidays().On(date)) {
        if (!names.isEmpty()) names += QStringLiteral(", ");
        names += QString::fromStdString(holiday.Name);
    }
    return names;
}

QString TCountryHolidays::ShortName() const {
    if (!ownFileName_.isEmpty()) return ownFileName_;
    if (!place_) return {};
    const std::string& name = place_->name;
    return QString::fromStdString(name.substr(name.find('/') + 1));
}

bool TCountryHolidays::RegionsDiffer() const {
    if (!ownFileName_.isEmpty() || !place_ || !place_->WholeCountry() || Table() == nullptr) return false;
    HolidayLibrary& library = SharedHolidayLibrary();
    for (const HolidayCountryEntry& country : library.Countries()) {
        if (country.code != place_->countryCode) continue;
        const std::shared_ptr<const HolidayTable> whole = library.Holidays(*place_);
        auto daysOff = [](const HolidayTable& table) {
            std::vector<DateTime> dates;
            for (const NamedDay& day : table.Holidays().All())
                dates.push_back(day.Date);
            return dates;
        };
        const std::vector<DateTime> countryDays =
            whole != nullptr ? daysOff(*whole) : std::vector<DateTime>{};
        // The first region that differs settles it; most countries with regions differ in the first.
        for (const HolidayPlaceEntry& region : country.regions) {
            const std::optional<HolidayPlace> place = library.FindPlace(region.code);
            if (!place) continue;
            const std::shared_ptr<const HolidayTable> table = library.Holidays(*place);
            if (table != nullptr && daysOff(*table) != countryDays) return true;
        }
        return false;
    }
    return false;
}

} // namespace kalendo::app
