#include "dates/HolidayDataFile.h"

#include "dates/DateFormat.h"

#include <algorithm>
#include <charconv>
#include <istream>
#include <iterator>
#include <optional>
#include <tuple>

namespace kalendo {

namespace {

// Calls onLine(line, number) for every line of text that is neither blank nor a comment.
template <typename OnLine> void ForEachLine(std::string_view text, OnLine onLine) {
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == ';') continue;
        onLine(line, number);
    }
}

// The whole stream: a country's file is a few hundred kilobytes at most, read in one pass.
std::string WholeText(std::istream& in) {
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Problem(std::string_view source, int line, std::string_view what) {
    return std::string(source) + " line " + std::to_string(line) + ": " + std::string(what);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

template <typename Number> std::optional<Number> ReadNumber(std::string_view text) {
    Number value{};
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// "MMDD:N" of the year into day; false when it is no such thing.
bool ReadDay(std::string_view token, int year, std::size_t names, CountryHolidayFile::Day& day) {
    if (token.size() < 6 || token[4] != ':') return false;
    const std::optional<int> month = ReadNumber<int>(token.substr(0, 2));
    const std::optional<int> dayOfMonth = ReadNumber<int>(token.substr(2, 2));
    const std::optional<std::uint16_t> name = ReadNumber<std::uint16_t>(token.substr(5));
    if (!month || !dayOfMonth || !name || *name >= names) return false;
    const std::optional<DateTime> date = TryEncodeDate(year, *month, *dayOfMonth);
    if (!date) return false;
    day.date = static_cast<std::int32_t>(*date);
    day.name = *name;
    return true;
}

// One year's line of a place into days: the country's own days, or a subdivision's changes
// ("+MMDD:N", "-MMDD:N"). The problem when the line is damaged; the days before it are kept.
std::optional<std::string> ReadYearLine(std::string_view line, bool country, std::size_t names,
                                        std::vector<CountryHolidayFile::Day>& days) {
    const std::vector<std::string_view> tokens = Split(line, ' ');
    const std::optional<int> year = ReadNumber<int>(tokens.front());
    if (!year) return "'" + std::string(tokens.front()) + "' is no year";
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        std::string_view token = tokens[i];
        CountryHolidayFile::Day day;
        if (!country) {
            if (token.empty() || (token.front() != '+' && token.front() != '-'))
                return "'" + std::string(token) + "' is neither added (+) nor taken (-)";
            day.added = token.front() == '+';
            token.remove_prefix(1);
        }
        if (!ReadDay(token, *year, names, day))
            return "'" + std::string(tokens[i]) + "' is no day of a known name";
        days.push_back(day);
    }
    return std::nullopt;
}

} // namespace

HolidayPlacesIndex ReadHolidayPlaces(std::istream& in, std::string_view sourceName) {
    HolidayPlacesIndex index;
    const std::string text = WholeText(in);
    ForEachLine(text, [&](std::string_view line, int number) {
        const std::vector<std::string_view> fields = Split(line, '\t');
        if (fields.size() < 2 || fields[0].empty() || fields[1].empty()) {
            index.problems.push_back(Problem(sourceName, number, "'" + std::string(line) + "' is no place"));
            return;
        }
        if (fields[0] == "partial") {
            // The note follows its place, the last one read.
            HolidayPlaceEntry* last = nullptr;
            if (!index.countries.empty())
                last = index.countries.back().regions.empty() ? &index.countries.back()
                                                              : &index.countries.back().regions.back();
            if (last != nullptr && last->code == fields[1] && fields.size() > 2)
                last->partialNote = fields[2];
            return;
        }
        HolidayPlaceEntry place{std::string(fields[0]), std::string(fields[1]), {}, {}};
        for (std::size_t i = 2; i < fields.size(); ++i)
            place.otherNames.emplace_back(fields[i]);
        const std::size_t dash = place.code.find('-');
        if (dash == std::string::npos) {
            index.countries.push_back({place, {}});
        } else if (!index.countries.empty() && index.countries.back().code == place.code.substr(0, dash)) {
            index.countries.back().regions.push_back(std::move(place));
        } else {
            index.problems.push_back(
                Problem(sourceName, number, "'" + place.code + "' does not follow its country"));
        }
    });
    return index;
}

bool CountryHolidayFile::HasPlace(std::string_view code) const { return places.contains(UpperCase(code)); }

CountryHolidayFile ReadCountryHolidayFile(std::istream& in, std::string_view sourceName) {
    CountryHolidayFile file;
    file.source = sourceName;
    file.text = WholeText(in);
    // A subdivision's lines are only found here, and read when the place is asked for: most of a
    // file is the other subdivisions'.
    std::vector<CountryHolidayFile::Line>* place = nullptr;
    bool country = false; // whether the place being read is the country itself
    ForEachLine(file.text, [&](std::string_view line, int number) {
        const auto bad = [&](std::string_view what) {
            file.problems.push_back(Problem(sourceName, number, what));
        };
        if (line.starts_with("name ")) {
            const std::vector<std::string_view> fields = Split(line, ' ');
            const std::optional<std::size_t> index =
                fields.size() >= 4 ? ReadNumber<std::size_t>(fields[1]) : std::nullopt;
            if (!index || *index != file.names.size() || (fields[2] != "h" && fields[2] != "o"))
                return bad("'" + std::string(line) + "' is no name of the list");
            const std::size_t textStart = fields[0].size() + fields[1].size() + fields[2].size() + 3;
            file.names.push_back({std::string(line.substr(textStart)), fields[2] == "h"});
            return;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) return bad("'" + std::string(line) + "' has no ']'");
            const std::string code = UpperCase(line.substr(1, close - 1));
            country = code.find('-') == std::string::npos;
            place = country ? nullptr : &file.places[code];
            if (!country) return;
        }
        if (country) {
            if (line.front() == '[') return;
            if (std::optional<std::string> problem = ReadYearLine(line, true, file.names.size(), file.days))
                return bad(*problem);
            return;
        }
        if (place == nullptr) return bad("'" + std::string(line) + "' comes before any place");
        place->push_back({number, static_cast<std::size_t>(line.data() - file.text.data()), line.size()});
    });
    return file;
}

NamedDatesFileSection PlaceHolidaySection(const CountryHolidayFile& file, std::string_view placeCode,
                                          const HolidayChanges& changes) {
    using Day = CountryHolidayFile::Day;
    NamedDatesFileSection section;
    std::vector<Day> days = file.days;
    const auto own = file.places.find(UpperCase(placeCode));
    if (own != file.places.end()) {
        std::vector<Day> differences;
        for (const CountryHolidayFile::Line& line : own->second) {
            const std::string_view text = std::string_view(file.text).substr(line.offset, line.length);
            if (std::optional<std::string> problem =
                    ReadYearLine(text, false, file.names.size(), differences))
                section.Problems.push_back(Problem(file.source, line.number, *problem));
        }
        for (const Day& change : differences) {
            if (change.added) {
                days.push_back(change);
                continue;
            }
            const auto taken = std::find_if(days.begin(), days.end(), [&](const Day& day) {
                return day.date == change.date && day.name == change.name;
            });
            if (taken != days.end()) days.erase(taken);
        }
    }
    // Within a year by name number, then date: the order a typed name is looked for in. Own days
    // off come after the listed days of their year. The year is worked out once per day.
    struct Keyed {
        int year;
        std::uint32_t order; // name number; past every name for an own day off
        std::int32_t date;
        std::size_t index; // into days, or past them into ownDaysOff
    };
    std::vector<Keyed> keyed;
    keyed.reserve(days.size() + changes.ownDaysOff.size());
    for (std::size_t i = 0; i < days.size(); ++i)
        keyed.push_back({DecodeDate(days[i].date).year, days[i].name, days[i].date, i});
    for (std::size_t i = 0; i < changes.ownDaysOff.size(); ++i) {
        const auto date = static_cast<std::int32_t>(DateOf(changes.ownDaysOff[i].date));
        keyed.push_back({DecodeDate(date).year, static_cast<std::uint32_t>(file.names.size() + i), date,
                         days.size() + i});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return std::tie(a.year, a.order, a.date) < std::tie(b.year, b.order, b.date);
    });

    section.Found = true;
    section.Rows.reserve(keyed.size());
    const auto worked = [&](DateTime date) {
        return std::find(changes.workedDays.begin(), changes.workedDays.end(), date) !=
               changes.workedDays.end();
    };
    for (const Keyed& key : keyed) {
        const DateTime date = key.date;
        if (key.index >= days.size()) {
            section.Rows.push_back({date, changes.ownDaysOff[key.index - days.size()].name, false, 0});
            continue;
        }
        const CountryHolidayFile::Name& name = file.names[days[key.index].name];
        section.Rows.push_back({date, name.text, !name.dayOff || worked(date), 0});
    }
    int line = 0;
    for (NamedDay& row : section.Rows)
        row.Line = ++line;
    return section;
}

} // namespace kalendo
