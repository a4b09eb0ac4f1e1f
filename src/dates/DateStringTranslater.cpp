#include "dates/DateStringTranslater.h"

#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"

#include <filesystem>

namespace kalendo {

namespace {

std::string NamedDatesPath(const std::string& directory, const std::string& fileName) {
    return (std::filesystem::path(directory) / fileName).string();
}

} // namespace

const TVorlanNamedDate* FindNamedDate(const std::vector<TVorlanNamedDate>& dates, std::string_view search,
                                      bool exactMatch) {
    const bool wholeName = exactMatch || search.size() < 4;
    for (const TVorlanNamedDate& entry : dates) {
        const std::string_view name = entry.Name;
        const bool matches = wholeName ? SameTextIgnoringCase(name, search)
                                       : name.size() >= search.size() &&
                                             SameTextIgnoringCase(name.substr(0, search.size()), search);
        if (matches) return &entry;
    }
    return nullptr;
}

std::string TVorlanDateStringTranslater::SectionName() const {
    switch (country_) {
    case coAustrailia:
        return "Austrailia";
    case coNewZealand:
        return "New Zealand";
    case coAuto:
        break;
    }
    return NamedDatesSectionName(countryName_.empty() ? CurrentFormatSettings().countryName : countryName_);
}

int TVorlanDateStringTranslater::FileReads() const { return SharedNamedDatesCache().FileReads(); }

void TVorlanDateStringTranslater::SetSearch(std::string_view text) {
    found_ = false;
    if (!enabled_) return;
    search_.assign(text);
    // Without a file there is nothing to find (and no list: it belonged to another source).
    if (placeHolidays_ == nullptr && (dataDirectory_.empty() || fileName_.empty())) {
        list_.clear();
        listTable_ = nullptr;
        return;
    }
    RefreshList(SectionName(), DecodeDate(CurrentClock().Today()).year);

    const TVorlanNamedDate* entry = FindNamedDate(list_, search_, exactMatch_);
    if (entry == nullptr) return;
    const CivilDate date = DecodeDate(entry->Date);
    found_ = true;
    foundDate_ = entry->Date;
    foundYear_ = static_cast<std::uint16_t>(date.year);
    foundMonth_ = static_cast<std::uint16_t>(date.month);
    foundDay_ = static_cast<std::uint16_t>(date.day);
}

void TVorlanDateStringTranslater::RefreshList(const std::string& sectionName, int year) {
    std::shared_ptr<const HolidayTable> table =
        placeHolidays_ != nullptr
            ? placeHolidays_
            : SharedNamedDatesCache().Section(NamedDatesPath(dataDirectory_, fileName_), sectionName);
    if (table == listTable_ && year == listYear_) return;
    list_ = table != nullptr ? table->NamedDatesOfYear(year) : std::vector<TVorlanNamedDate>{};
    listTable_ = std::move(table);
    listYear_ = year;
}

TVorlanDateStringTranslater& SharedDateStringTranslater() {
    static TVorlanDateStringTranslater shared;
    return shared;
}

void SetNamedDatesSource(std::string directory, std::string countryName) {
    TVorlanDateStringTranslater& translater = SharedDateStringTranslater();
    translater.SetDataDirectory(std::move(directory));
    translater.SetCountryName(std::move(countryName));
}

std::shared_ptr<const HolidayTable> NamedDatesHolidays(std::string_view countryName) {
    const TVorlanDateStringTranslater& shared = SharedDateStringTranslater();
    if (shared.DataDirectory().empty()) return nullptr;
    std::string country(countryName);
    if (country.empty()) country = shared.CountryName();
    if (country.empty()) country = CurrentFormatSettings().countryName;
    return SharedNamedDatesCache().Section(NamedDatesPath(shared.DataDirectory(), kNamedDatesFileName),
                                           NamedDatesSectionName(country));
}

} // namespace kalendo
