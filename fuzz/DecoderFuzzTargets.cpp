#include "DecoderFuzzTargets.h"

#include "dates/DateEnvironment.h"
#include "dates/DateStringTranslater.h"
#include "dates/Error.h"
#include "dates/HolidayTable.h"
#include "dates/VorlanDates.h"
#include "dates/VorlanDecodeDate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <sstream>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kalendo::fuzz {

namespace {

namespace fs = std::filesystem;

const DateTime kNow = EncodeDate(2026, 12, 9) + EncodeTime(14, 25, 30);
const DateTime kFirstDay = EncodeDate(1, 1, 1);
const DateTime kLastDay = EncodeDate(9999, 12, 31);

fs::path PrivateDirectory(std::string_view purpose) {
    fs::path directory = fs::temp_directory_path() /
                         ("kalendo-fuzz-" + std::string(purpose) + "-" + std::to_string(::getpid()));
    fs::create_directories(directory);
    return directory;
}

struct DecodeFixture {
    std::array<FormatSettings, 3> locales{UnitedKingdomSettings(), UnitedStatesSettings(),
                                          UnitedKingdomSettings()};
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>(kNow);
    std::string directory = PrivateDirectory("decode").string();

    DecodeFixture() {
        locales[2].shortDateFormat = "yyyy-mm-dd";
        std::ofstream(fs::path(directory) / kNamedDatesFileName)
            << "[Austrailia]\nAustralia Day, 2026/01/26\n"
               "[New Zealand]\nChristmas Day, 2026/12/25\nWaitangi Day, 2026/02/06\nMother's Day, "
               "2026/05/10\n"
               "Mon, 2026/03/02\nBoxing Day, 2027/12/26\n[Other]\n";
    }
    ~DecodeFixture() {
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }
    DecodeFixture(const DecodeFixture&) = delete;
    DecodeFixture& operator=(const DecodeFixture&) = delete;
};

// Points the shared translator at a directory for one call and back afterwards.
class SourceScope {
public:
    SourceScope(const std::string& directory, const std::string& country)
        : directory_(SharedDateStringTranslater().DataDirectory()),
          country_(SharedDateStringTranslater().CountryName()) {
        SetNamedDatesSource(directory, country);
    }
    ~SourceScope() { SetNamedDatesSource(directory_, country_); }
    SourceScope(const SourceScope&) = delete;
    SourceScope& operator=(const SourceScope&) = delete;

private:
    std::string directory_;
    std::string country_;
};

std::string CheckDecoder(const TVorlanDecodeDate& decoder, std::string_view locale) {
    const std::string where = " (" + std::string(locale) + ")";
    const DateTime date = decoder.DecodedDate();
    if (decoder.ValidDate() && decoder.ValidTime()) return "both ValidDate and ValidTime" + where;
    if ((decoder.ValidDate() || decoder.ValidTime()) && !decoder.ValidDateTime())
        return "a valid part without ValidDateTime" + where;
    if (!std::isfinite(date)) return "a decoded date that is no number" + where;
    if (decoder.DecodedFields().Count() > static_cast<int>(decoder.Tokens().size()))
        return "more fields than words" + where;
    if (!decoder.ValidDateTime()) {
        if (date != 0.0 && date != DateOf(kNow)) return "an invalid decode that reports a date" + where;
        return {};
    }
    if (date != 0.0 && (DateOf(date) < kFirstDay || DateOf(date) > kLastDay))
        return "a valid decode outside the years 1 to 9999" + where;
    for (const TVorlanDecodeDateDecodedFields& field : decoder.DecodedFields())
        if (!field.Used && !field.FoundFlags.Contains(dfoSeperator))
            return "a valid decode with unused words" + where;
    return {};
}

} // namespace

std::string DecodeOneInput(const std::uint8_t* data, std::size_t size) {
    static const DecodeFixture fixture;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ScopedDateEnvironment environment(fixture.locales[0], fixture.clock);
    const SourceScope source(fixture.directory, "New Zealand");

    // The locale follows from the length, so every input keeps its bytes as text and mutations
    // that change the length try the other date orders.
    constexpr std::array<std::string_view, 3> kLocaleNames = {"day-month-year", "month-day-year",
                                                              "year-month-day"};
    const std::size_t locale = size % fixture.locales.size();
    TVorlanDecodeDate decoder(fixture.locales[locale], *fixture.clock);
    try {
        decoder.SetDateToDecode(text);
    } catch (const std::exception& error) {
        return std::string("the decoder raised ") + error.what();
    }
    if (std::string problem = CheckDecoder(decoder, kLocaleNames[locale]); !problem.empty()) return problem;
    bool textDecoded = false;
    DateTime viaText = 0.0;
    try {
        viaText = TVorlanDates(fixture.locales[locale]).DecodeDateText(text);
        textDecoded = true;
    } catch (const Error& error) {
        // what() is a C string, so a NUL in the text ends the message there.
        std::string expected = kUnableToDecodeMessage + std::string(text);
        expected.resize(std::char_traits<char>::length(expected.c_str()));
        if (error.what() != expected) return std::string("DecodeDateText raised ") + error.what();
    } catch (const std::exception& error) {
        return std::string("DecodeDateText raised a foreign error ") + error.what();
    }
    // Only in a year-first locale may the long date form's reader know better than the decoder.
    const bool agree =
        textDecoded == decoder.ValidDateTime() && (!textDecoded || viaText == decoder.DecodedDate());
    if (locale != 2 && !agree)
        return "DecodeDateText and the decoder disagree (" + std::string(kLocaleNames[locale]) + ")";
    return {};
}

// The every-year reader and the holiday table it fills: it never throws, keeps only real dates,
// indexes every row once, and agrees with the one-year reader wherever that one has an answer.
std::string CheckHolidayTable(const std::string& content, std::string_view section,
                              const std::vector<TVorlanNamedDate>* oneYear) {
    std::istringstream in(content);
    NamedDatesFileSection read;
    try {
        read = ReadNamedDatesFileSection(in, section, kNamedDatesFileName);
    } catch (const std::exception& error) {
        return std::string("the every-year reader raised ") + error.what();
    }
    const std::size_t rows = read.Rows.size();
    for (const NamedDay& day : read.Rows)
        if (day.Date != DateOf(day.Date) || day.Date < kFirstDay || day.Date > kLastDay)
            return "a row without a date";
    const HolidayTable table(std::move(read));
    std::size_t indexed = 0;
    for (const HolidayIndex* index : {&table.Holidays(), &table.Observances()}) {
        for (const NamedDay& day : index->All()) {
            const CivilDate date = DecodeDate(day.Date);
            const std::span<const NamedDay> month = index->InMonth(date.year, date.month);
            if (std::find(month.begin(), month.end(), day) == month.end())
                return "a row its month does not hold";
            if (index->On(day.Date).empty()) return "a row its day does not hold";
            if (!table.CoveredYears() || !table.CoveredYears()->Contains(date.year))
                return "a row outside the years";
            ++indexed;
        }
    }
    if (indexed != rows) return "rows lost or doubled by the index";
    if (oneYear != nullptr && table.NamedDatesOfYear(2026) != *oneYear)
        return "the two readers disagree on 2026";
    return {};
}

std::string LoadNamedDatesOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    constexpr std::array<std::string_view, 3> kSections = {"New Zealand", "Austrailia", ""};
    for (const std::string_view section : kSections) {
        std::istringstream in(content);
        TVorlanNamedDatesSection list;
        try {
            ReadNamedDatesSection(in, section, 2026, kNamedDatesFileName, list);
        } catch (const Error&) {
            // A malformed row of the wanted section: the answer the format asks for.
            if (std::string problem = CheckHolidayTable(content, section, nullptr); !problem.empty())
                return problem;
            continue;
        } catch (const std::exception& error) {
            return std::string("the reader raised a foreign error ") + error.what();
        }
        if (std::string problem = CheckHolidayTable(content, section, &list.Dates); !problem.empty())
            return problem;
        for (const TVorlanNamedDate& entry : list.Dates) {
            if (DecodeDate(entry.Date).year != 2026) return "an entry of another year was kept";
            if (entry.Date != DateOf(entry.Date)) return "an entry with a time of day";
        }
        std::vector<std::string> searches = {"CHRISTMAS", "MON", "WAITANGI DAY", ""};
        if (!list.Dates.empty()) searches.push_back(list.Dates.back().Name);
        for (const std::string& search : searches) {
            for (const bool exact : {false, true}) {
                const TVorlanNamedDate* found = FindNamedDate(list.Dates, search, exact);
                if (found == nullptr) continue;
                if (found < list.Dates.data() || found >= list.Dates.data() + list.Dates.size())
                    return "a match outside the list";
                if (search.size() >= 4 && !exact && found->Name.size() < search.size())
                    return "a prefix match on a shorter name";
            }
        }
        if (!list.Dates.empty() && FindNamedDate(list.Dates, list.Dates.back().Name, true) == nullptr)
            return "an entry that cannot find itself";
    }
    return {};
}

} // namespace kalendo::fuzz
