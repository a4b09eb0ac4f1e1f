#include "dates/NamedDatesFile.h"

#include "dates/DateFormat.h"
#include "dates/Error.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <istream>
#include <optional>
#include <vector>

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

// The row as a message quotes it: its first kMaxQuotedRowCharacters characters, control
// characters as blanks, "..." when there is more; a character is never cut in half.
std::string QuotedRow(std::string_view row) {
    std::string quoted = "'";
    std::size_t characters = 0;
    std::size_t at = 0;
    for (; at < row.size(); ++at) {
        const auto byte = static_cast<unsigned char>(row[at]);
        const bool continuation = (byte & 0xC0) == 0x80;
        if (!continuation && characters++ == kMaxQuotedRowCharacters) break;
        quoted += byte < 0x20 || byte == 0x7F ? ' ' : row[at];
    }
    if (at < row.size()) quoted += "...";
    return quoted + "'";
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
    if (comma == std::string_view::npos) return QuotedRow(line) + " has no comma before its date";
    row.name = line.substr(0, comma);
    const struct {
        std::size_t at, count;
        int* value;
    } fields[] = {{comma + 2, 4, &row.year}, {comma + 7, 2, &row.month}, {comma + 10, 2, &row.day}};
    for (const auto& field : fields) {
        const std::string_view text = FieldAt(line, field.at, field.count);
        if (!TryReadInteger(text, *field.value)) return QuotedRow(text) + " is not a valid integer value";
    }
    row.after = FieldAt(line, comma + 12, std::string_view::npos);
    return std::nullopt;
}

std::string RowProblem(std::string_view sourceName, int lineNumber, const std::string& problem) {
    return std::string(sourceName) + " line " + std::to_string(lineNumber) + ": " + problem;
}

// Calls onLine(line, overlong, lineNumber) for each line of the stream until it returns false.
// The stream is read a chunk at a time, so memory stays the same whatever the file's size; a line
// longer than kMaxNamedDatesRowLength comes as its first kMaxNamedDatesRowLength bytes with
// overlong set.
template <typename OnLine> void ForEachLine(std::istream& in, OnLine&& onLine) {
    constexpr std::size_t kChunkSize = 1 << 16;
    std::vector<char> chunk(kChunkSize);
    std::string carried; // the start of a line that runs on into the next chunk
    bool carriedOverlong = false;
    const auto carry = [&](const char* from, std::size_t count) {
        const std::size_t room = kMaxNamedDatesRowLength - carried.size();
        if (count > room) carriedOverlong = true;
        carried.append(from, std::min(count, room));
    };
    int lineNumber = 0;
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        const char* at = chunk.data();
        const char* const end = at + in.gcount();
        while (at < end) {
            const auto* newline =
                static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
            if (newline == nullptr) {
                carry(at, static_cast<std::size_t>(end - at));
                break;
            }
            std::string_view line(at, static_cast<std::size_t>(newline - at));
            bool overlong = line.size() > kMaxNamedDatesRowLength;
            if (!carried.empty() || carriedOverlong) {
                carry(at, line.size());
                line = carried;
                overlong = carriedOverlong;
            } else if (overlong) {
                line = line.substr(0, kMaxNamedDatesRowLength);
            }
            at = newline + 1;
            if (!onLine(line, overlong, ++lineNumber)) return;
            carried.clear();
            carriedOverlong = false;
        }
    }
    if (!carried.empty() || carriedOverlong) onLine(std::string_view(carried), carriedOverlong, ++lineNumber);
}

// Calls onRow(line, overlong, lineNumber) for each non-blank line of the wanted section; returns
// true when another section's header ended it.
template <typename OnRow>
bool ForEachSectionRow(std::istream& in, std::string_view sectionName, bool& found, OnRow&& onRow) {
    const std::string wantedHeader = "[" + std::string(sectionName) + "]";
    bool sectionStarted = false;
    bool ended = false;
    ForEachLine(in, [&](std::string_view line, bool overlong, int lineNumber) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);

        if (line.starts_with('[')) {
            // A header too long to keep whole is still read up to its "]", when that is kept.
            const std::size_t close = line.find(']');
            const std::string_view header =
                close == std::string_view::npos ? line : line.substr(0, close + 1);
            if (SameTextIgnoringCase(header, wantedHeader)) {
                sectionStarted = found = true;
            } else if (sectionStarted) {
                ended = true;
                return false;
            }
            return true;
        }
        if (sectionStarted && (overlong || !IsBlank(line))) onRow(line, overlong, lineNumber);
        return true;
    });
    return ended;
}

std::string OverlongRowProblem(std::string_view line) {
    return QuotedRow(line) + " is longer than " + std::to_string(kMaxNamedDatesRowLength) + " characters";
}

} // namespace

void ReadNamedDatesSection(std::istream& in, std::string_view sectionName, int year,
                           std::string_view sourceName, TVorlanNamedDatesSection& into) {
    into.Dates.clear();
    into.Complete = false; // stays so when a bad row throws
    bool found = false;
    into.Complete =
        ForEachSectionRow(in, sectionName, found, [&](std::string_view line, bool overlong, int lineNumber) {
            if (overlong) throw Error(RowProblem(sourceName, lineNumber, OverlongRowProblem(line)));
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
    // Every bad row is counted, but only the first few are kept: a file of nothing but bad rows
    // must not cost memory in proportion to its size.
    const auto skip = [&](int lineNumber, const std::string& problem) {
        if (section.Problems.size() < kMaxKeptNamedDatesProblems)
            section.Problems.push_back(RowProblem(sourceName, lineNumber, problem));
        else
            ++section.MoreProblems;
    };
    ForEachSectionRow(
        in, sectionName, section.Found, [&](std::string_view line, bool overlong, int lineNumber) {
            if (overlong) return skip(lineNumber, OverlongRowProblem(line));
            RowFields row;
            if (const std::optional<std::string> problem = SplitRow(line, row))
                return skip(lineNumber, *problem);
            const std::optional<DateTime> date = TryEncodeDate(row.year, row.month, row.day);
            if (!date)
                return skip(lineNumber,
                            "'" + std::string(FieldAt(line, row.name.size() + 2, 10)) + "' is no date");
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
