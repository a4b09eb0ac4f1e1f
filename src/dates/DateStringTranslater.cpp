#include "dates/DateStringTranslater.h"

#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"
#include "dates/Error.h"

#include <climits>
#include <filesystem>
#include <fstream>
#include <istream>
#include <system_error>

namespace kalendo {

namespace {

// The characters at [at, at + count) of the line, fewer at its end, none beyond it.
std::string_view FieldAt(std::string_view line, std::size_t at, std::size_t count) {
    if (at >= line.size()) return {};
    return line.substr(at, count);
}

// Whole numbers as the platform's integer conversion reads them: leading blanks, an optional
// sign, then digits only, within 32 bits.
bool TryReadInteger(std::string_view text, int& value) {
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ')
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at == text.size()) return false;
    long long magnitude = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') return false;
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (!negative && magnitude > INT_MAX) return false;
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

[[noreturn]] void ThrowRowError(std::string_view sourceName, int lineNumber, const std::string& problem) {
    throw Error(std::string(sourceName) + " line " + std::to_string(lineNumber) + ": " + problem);
}

int ReadRowInteger(std::string_view field, std::string_view sourceName, int lineNumber) {
    int value = 0;
    if (!TryReadInteger(field, value))
        ThrowRowError(sourceName, lineNumber, "'" + std::string(field) + "' is not a valid integer value");
    return value;
}

// The name before the comma without its first possessive "'s".
std::string EntryName(std::string_view nameText) {
    std::string name(nameText);
    for (std::size_t i = 0; i + 1 < name.size(); ++i) {
        if (name[i] == '\'' && (name[i + 1] == 's' || name[i + 1] == 'S')) {
            name.erase(i, 2);
            break;
        }
    }
    return name;
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

} // namespace

void ReadNamedDatesSection(std::istream& in, std::string_view sectionName, int year,
                           std::string_view sourceName, TVorlanNamedDatesSection& into) {
    into.Dates.clear();
    into.Complete = false;
    const std::string wantedHeader = "[" + std::string(sectionName) + "]";
    bool sectionStarted = false;
    int lineNumber = 0;
    std::string buffer;
    while (std::getline(in, buffer)) {
        ++lineNumber;
        std::string_view line = buffer;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);

        if (line.starts_with('[')) {
            const std::size_t close = line.find(']');
            const std::string_view header =
                close == std::string_view::npos ? line : line.substr(0, close + 1);
            if (SameTextIgnoringCase(header, wantedHeader)) {
                sectionStarted = true;
            } else if (sectionStarted) {
                into.Complete = true;
                return;
            }
            continue;
        }
        if (!sectionStarted || IsBlank(line)) continue;

        const std::size_t comma = line.find(',');
        if (comma == std::string_view::npos)
            ThrowRowError(sourceName, lineNumber, "'" + std::string(line) + "' has no comma before its date");
        const int rowYear = ReadRowInteger(FieldAt(line, comma + 2, 4), sourceName, lineNumber);
        const int rowMonth = ReadRowInteger(FieldAt(line, comma + 7, 2), sourceName, lineNumber);
        const int rowDay = ReadRowInteger(FieldAt(line, comma + 10, 2), sourceName, lineNumber);
        if (rowYear != year) continue;
        into.Dates.push_back({EntryName(line.substr(0, comma)), EncodeDate(rowYear, rowMonth, rowDay)});
    }
}

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
    const std::string& country = countryName_.empty() ? CurrentFormatSettings().countryName : countryName_;
    // The file spells this country's section as coAustrailia does; the locale spells it right.
    if (SameTextIgnoringCase(country, "Australia")) return "Austrailia";
    return country;
}

void TVorlanDateStringTranslater::SetSearch(std::string_view text) {
    found_ = false;
    if (!enabled_) return;
    search_.assign(text);
    // Without a file there is nothing to find (and no list: it belonged to another source).
    if (dataDirectory_.empty() || fileName_.empty()) return;

    const std::string sectionName = SectionName();
    const int year = DecodeDate(CurrentClock().Today()).year;
    const bool cached = loaded_ && listDirectory_ == dataDirectory_ && listFileName_ == fileName_ &&
                        listSection_ == sectionName && listYear_ == year;
    if (!cached) LoadList(sectionName, year);

    const TVorlanNamedDate* entry = FindNamedDate(list_.Dates, search_, exactMatch_);
    if (entry == nullptr) return;
    const CivilDate date = DecodeDate(entry->Date);
    found_ = true;
    foundDate_ = entry->Date;
    foundYear_ = static_cast<std::uint16_t>(date.year);
    foundMonth_ = static_cast<std::uint16_t>(date.month);
    foundDay_ = static_cast<std::uint16_t>(date.day);
}

void TVorlanDateStringTranslater::LoadList(const std::string& sectionName, int year) {
    if (listDirectory_ != dataDirectory_ || listFileName_ != fileName_ || listSection_ != sectionName ||
        listYear_ != year) {
        // A list read for another file, section or year says nothing about this one.
        list_ = {};
        loaded_ = false;
        listDirectory_ = dataDirectory_;
        listFileName_ = fileName_;
        listSection_ = sectionName;
        listYear_ = year;
    }
    if (fileName_.empty() || dataDirectory_.empty()) return;
    const std::string path = (std::filesystem::path(dataDirectory_) / fileName_).string();
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) return;

    loaded_ = false;
    ++fileReads_;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) throw Error("I/O error: cannot open " + path);
    ReadNamedDatesSection(in, sectionName, year, path, list_);
    if (in.bad()) throw Error("I/O error: cannot read " + path);
    loaded_ = list_.Complete;
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

} // namespace kalendo
