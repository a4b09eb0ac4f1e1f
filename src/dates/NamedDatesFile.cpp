#include "dates/NamedDatesFile.h"

#include "dates/DateFormat.h"
#include "dates/Error.h"

#include <algorithm>
#include <climits>
#include <istream>
#include <optional>

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

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A row of a section taken apart by position from its first comma.
struct RowFields {
    std::string_view name;
    int year = 0, month = 0, day = 0;
    std::string_view after; // the text after the day
};

// The fields of a row, or the problem that stops it being one (without the source and line).
std::optional<std::string> SplitRow(std::string_view line, RowFields& row) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return "'" + std::string(line) + "' has no comma before its date";
    row.name = line.substr(0, comma);
    const struct {
        std::size_t at, count;
        int* value;
    } fields[] = {{comma + 2, 4, &row.year}, {comma + 7, 2, &row.month}, {comma + 10, 2, &row.day}};
    for (const auto& field : fields) {
        const std::string_view text = FieldAt(line, field.at, field.count);
        if (!TryReadInteger(text, *field.value))
            return "'" + std::string(text) + "' is not a valid integer value";
    }
    row.after = FieldAt(line, comma + 12, std::string_view::npos);
    return std::nullopt;
}

std::string RowProblem(std::string_view sourceName, int lineNumber, const std::string& problem) {
    return std::string(sourceName) + " line " + std::to_string(lineNumber) + ": " + problem;
}

// Calls onRow(line, lineNumber) for each non-blank line of the wanted section; returns true when
// another section's header ended it.
template <typename OnRow>
bool ForEachSectionRow(std::istream& in, std::string_view sectionName, bool& found, OnRow&& onRow) {
    const std::string wantedHeader = "[" + std::string(sectionName) + "]";
    // Read whole and cut in memory: the shipped table is some 25,000 lines, most of them of
    // other sections, and a line-by-line stream read would be most of the start-up's cost.
    std::string text;
    const std::istream::pos_type start = in.tellg();
    if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
        const std::istream::pos_type end = in.tellg();
        if (end > start) text.reserve(static_cast<std::size_t>(end - start));
        in.seekg(start);
    }
    in.clear();
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0)
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    bool sectionStarted = false;
    int lineNumber = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line(text.data() + at, end - at);
        at = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);

        if (line.starts_with('[')) {
            const std::size_t close = line.find(']');
            const std::string_view header =
                close == std::string_view::npos ? line : line.substr(0, close + 1);
            if (SameTextIgnoringCase(header, wantedHeader)) {
                sectionStarted = found = true;
            } else if (sectionStarted) {
                return true;
            }
            continue;
        }
        if (sectionStarted && !IsBlank(line)) onRow(line, lineNumber);
    }
    return false;
}

} // namespace

void ReadNamedDatesSection(std::istream& in, std::string_view sectionName, int year,
                           std::string_view sourceName, TVorlanNamedDatesSection& into) {
    into.Dates.clear();
    into.Complete = false; // stays so when a bad row throws
    bool found = false;
    into.Complete = ForEachSectionRow(in, sectionName, found, [&](std::string_view line, int lineNumber) {
        RowFields row;
        if (const std::optional<std::string> problem = SplitRow(line, row))
            throw Error(RowProblem(sourceName, lineNumber, *problem));
        if (row.year != year) return;
        into.Dates.push_back({NamedDateSearchName(row.name), EncodeDate(row.year, row.month, row.day)});
    });
}

NamedDatesFileSection ReadNamedDatesFileSection(std::istream& in, std::string_view sectionName,
                                                std::string_view sourceName) {
    NamedDatesFileSection section;
    ForEachSectionRow(in, sectionName, section.Found, [&](std::string_view line, int lineNumber) {
        RowFields row;
        if (const std::optional<std::string> problem = SplitRow(line, row)) {
            section.Problems.push_back(RowProblem(sourceName, lineNumber, *problem));
            return;
        }
        const std::optional<DateTime> date = TryEncodeDate(row.year, row.month, row.day);
        if (!date) {
            section.Problems.push_back(
                RowProblem(sourceName, lineNumber,
                           "'" + std::string(FieldAt(line, row.name.size() + 2, 10)) + "' is no date"));
            return;
        }
        section.Rows.push_back({*date, std::string(row.name),
                                SameTextIgnoringCase(Trimmed(row.after), "observance"), lineNumber});
    });
    return section;
}

std::string NamedDatesSectionName(std::string_view countryName) {
    if (SameTextIgnoringCase(countryName, "Australia")) return "Austrailia";
    return std::string(countryName);
}

std::string NamedDateSearchName(std::string_view nameText) {
    std::string name(nameText);
    for (std::size_t i = 0; i + 1 < name.size(); ++i) {
        if (name[i] == '\'' && (name[i + 1] == 's' || name[i + 1] == 'S')) {
            name.erase(i, 2);
            break;
        }
    }
    return name;
}

} // namespace kalendo
