#include "dates/DateFormat.h"

#include "dates/Error.h"

#include <cctype>
#include <cstdio>

namespace kalendo {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t RunLength(std::string_view format, std::size_t at, char letter) {
    std::size_t end = at;
    while (end < format.size() && Lower(format[end]) == letter)
        ++end;
    return end - at;
}

void AppendNumber(std::string& out, int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    out += buffer;
}

// Copies a quoted literal starting at format[at] (the opening quote); returns the index after it.
std::size_t CopyQuoted(std::string_view format, std::size_t at, std::string& out) {
    const char quote = format[at];
    std::size_t i = at + 1;
    while (i < format.size() && format[i] != quote)
        out += format[i++];
    return i < format.size() ? i + 1 : i;
}

bool StartsWithIgnoringCase(std::string_view text, std::size_t at, std::string_view word) {
    if (word.empty() || text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(text[at + i]) != Lower(word[i])) return false;
    return true;
}

void SkipBlanks(std::string_view text, std::size_t& at) {
    while (at < text.size() && text[at] == ' ')
        ++at;
}

// Reads up to nine digits; sets digits to how many were read (0 when none).
bool ReadNumber(std::string_view text, std::size_t& at, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (at < text.size() && IsDigit(text[at])) {
        if (digits == 9) return false;
        value = value * 10 + (text[at] - '0');
        ++digits;
        ++at;
    }
    return digits > 0;
}

bool ReadSeparator(std::string_view text, std::size_t& at, std::string_view separator) {
    if (separator.empty() || text.substr(at, separator.size()) != separator) return false;
    at += separator.size();
    return true;
}

bool FormatHasAmPm(std::string_view format) {
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '"' || format[i] == '\'') {
            std::string ignored;
            i = CopyQuoted(format, i, ignored) - 1;
            continue;
        }
        if (StartsWithIgnoringCase(format, i, "ampm") || StartsWithIgnoringCase(format, i, "am/pm") ||
            StartsWithIgnoringCase(format, i, "a/p"))
            return true;
    }
    return false;
}

} // namespace

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = Upper(c);
    return out;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

TDateOrder DateOrderOf(std::string_view format) {
    for (char c : format) {
        switch (Lower(c)) {
        case 'd':
            return doDayMonthYear;
        case 'm':
            return doMonthDayYear;
        case 'y':
            return doYearMonthDay;
        default:
            break;
        }
    }
    return doMonthDayYear;
}

std::string FormatDateTime(std::string_view format, DateTime value, const FormatSettings& settings) {
    const CivilDate date = DecodeDate(value);
    const int weekday = DayOfWeek(value); // 1..7, Sunday first
    std::string out;
    out.reserve(format.size() + 16);
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        const char letter = Lower(c);
        if (c == '"' || c == '\'') {
            i = CopyQuoted(format, i, out);
        } else if (c == '/') {
            out += settings.dateSeparator;
            ++i;
        } else if (letter == 'd') {
            const std::size_t n = RunLength(format, i, 'd');
            if (n == 1)
                AppendNumber(out, date.day, 1);
            else if (n == 2)
                AppendNumber(out, date.day, 2);
            else if (n == 3)
                out += settings.shortDayNames[weekday - 1];
            else
                out += settings.longDayNames[weekday - 1];
            i += n;
        } else if (letter == 'm') {
            const std::size_t n = RunLength(format, i, 'm');
            if (n == 1)
                AppendNumber(out, date.month, 1);
            else if (n == 2)
                AppendNumber(out, date.month, 2);
            else if (n == 3)
                out += settings.shortMonthNames[date.month - 1];
            else
                out += settings.longMonthNames[date.month - 1];
            i += n;
        } else if (letter == 'y') {
            const std::size_t n = RunLength(format, i, 'y');
            if (n <= 2)
                AppendNumber(out, date.year % 100, 2);
            else
                AppendNumber(out, date.year, 4);
            i += n;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string FormatTime(std::string_view format, DateTime value, const FormatSettings& settings) {
    const TimeOfDay t = DecodeTime(value);
    const bool twelveHour = FormatHasAmPm(format);
    std::string out;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        const char letter = Lower(c);
        if (c == '"' || c == '\'') {
            i = CopyQuoted(format, i, out);
        } else if (c == ':') {
            out += settings.timeSeparator;
            ++i;
        } else if (StartsWithIgnoringCase(format, i, "ampm")) {
            out += t.hour < 12 ? settings.amDesignator : settings.pmDesignator;
            i += 4;
        } else if (StartsWithIgnoringCase(format, i, "am/pm")) {
            // As written: "am/pm" gives lower case, "AM/PM" upper case.
            const bool lower = format[i] == 'a';
            out += t.hour < 12 ? (lower ? "am" : "AM") : (lower ? "pm" : "PM");
            i += 5;
        } else if (StartsWithIgnoringCase(format, i, "a/p")) {
            const bool lower = format[i] == 'a';
            out += t.hour < 12 ? (lower ? 'a' : 'A') : (lower ? 'p' : 'P');
            i += 3;
        } else if (letter == 'h') {
            const std::size_t n = RunLength(format, i, 'h');
            int hour = t.hour;
            if (twelveHour) {
                hour %= 12;
                if (hour == 0) hour = 12;
            }
            AppendNumber(out, hour, n >= 2 ? 2 : 1);
            i += n;
        } else if (letter == 'n' || letter == 'm') {
            const std::size_t n = RunLength(format, i, letter);
            AppendNumber(out, t.minute, n >= 2 ? 2 : 1);
            i += n;
        } else if (letter == 's') {
            const std::size_t n = RunLength(format, i, 's');
            AppendNumber(out, t.second, n >= 2 ? 2 : 1);
            i += n;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string DateToStr(DateTime value, const FormatSettings& settings) {
    return FormatDateTime(settings.shortDateFormat, value, settings);
}

namespace {

std::optional<DateTime> TryThreeNumberDate(std::string_view text, const FormatSettings& settings) {
    int values[3] = {};
    int digits[3] = {};
    std::size_t at = 0;
    for (int field = 0; field < 3; ++field) {
        SkipBlanks(text, at);
        if (field > 0) {
            if (!ReadSeparator(text, at, settings.dateSeparator)) return std::nullopt;
            SkipBlanks(text, at);
        }
        if (!ReadNumber(text, at, values[field], digits[field])) return std::nullopt;
    }
    SkipBlanks(text, at);
    if (at != text.size()) return std::nullopt;

    int year = 0, month = 0, day = 0, yearDigits = 0;
    switch (DateOrderOf(settings.shortDateFormat)) {
    case doMonthDayYear:
        month = values[0];
        day = values[1];
        year = values[2];
        yearDigits = digits[2];
        break;
    case doDayMonthYear:
        day = values[0];
        month = values[1];
        year = values[2];
        yearDigits = digits[2];
        break;
    case doYearMonthDay:
        year = values[0];
        yearDigits = digits[0];
        month = values[1];
        day = values[2];
        break;
    }
    if (yearDigits <= 2) year += year <= kTwoDigitYearPivot ? 2000 : 1900;
    return TryEncodeDate(year, month, day);
}

// The text as the format lays it out: a number where the format has a day, month or year field,
// the separator for "/", quoted text and every other character as they stand, blanks allowed
// before each number and at the end. Formats that name the day or month are not read.
std::optional<DateTime> TryDateAsFormatted(std::string_view text, const FormatSettings& settings) {
    const std::string_view format = settings.shortDateFormat;
    int day = -1, month = -1, year = -1, yearDigits = 0;
    std::size_t at = 0;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        const char letter = Lower(c);
        if (c == '"' || c == '\'') {
            std::string literal;
            i = CopyQuoted(format, i, literal);
            if (text.substr(at, literal.size()) != literal) return std::nullopt;
            at += literal.size();
        } else if (c == '/') {
            if (!ReadSeparator(text, at, settings.dateSeparator)) return std::nullopt;
            ++i;
        } else if (letter == 'd' || letter == 'm' || letter == 'y') {
            const std::size_t n = RunLength(format, i, letter);
            int& field = letter == 'd' ? day : letter == 'm' ? month : year;
            if ((letter != 'y' && n > 2) || field >= 0) return std::nullopt;
            int digits = 0;
            SkipBlanks(text, at);
            if (!ReadNumber(text, at, field, digits)) return std::nullopt;
            if (letter == 'y') yearDigits = digits;
            i += n;
        } else {
            if (at >= text.size() || text[at] != c) return std::nullopt;
            ++at;
            ++i;
        }
    }
    SkipBlanks(text, at);
    if (at != text.size() || day < 0 || month < 0 || year < 0) return std::nullopt;
    if (yearDigits <= 2) year += year <= kTwoDigitYearPivot ? 2000 : 1900;
    return TryEncodeDate(year, month, day);
}

} // namespace

std::optional<DateTime> TryStrToDate(std::string_view text, const FormatSettings& settings) {
    if (const std::optional<DateTime> date = TryThreeNumberDate(text, settings)) return date;
    return TryDateAsFormatted(text, settings);
}

DateTime StrToDate(std::string_view text, const FormatSettings& settings) {
    if (auto value = TryStrToDate(text, settings)) return *value;
    throw Error("'" + std::string(text) + "' is not a valid date");
}

std::optional<DateTime> TryReadLongDateForm(std::string_view text, const FormatSettings& settings) {
    // The year is the last four characters, after a blank; what precedes it is
    // "<day name> <day> <month name>", tried with every day name that begins it.
    if (text.size() < 5 || text[text.size() - 5] != ' ') return std::nullopt;
    int year = 0;
    for (const char c : text.substr(text.size() - 4)) {
        if (!IsDigit(c)) return std::nullopt;
        year = year * 10 + (c - '0');
    }
    if (year < 100) return std::nullopt;
    const std::string_view head = text.substr(0, text.size() - 5);

    std::optional<DateTime> found;
    for (int weekday = 1; weekday <= 7; ++weekday) {
        const std::string& dayName = settings.longDayNames[static_cast<std::size_t>(weekday - 1)];
        if (!head.starts_with(dayName) || head.size() < dayName.size() + 3 || head[dayName.size()] != ' ')
            continue;
        std::size_t at = dayName.size() + 1;
        if (head[at] < '1' || head[at] > '9') continue;
        int day = head[at++] - '0';
        if (IsDigit(head[at])) day = day * 10 + (head[at++] - '0');
        if (at >= head.size() || head[at] != ' ') continue;
        const std::string_view monthName = head.substr(at + 1);
        for (int month = 1; month <= 12; ++month) {
            if (settings.longMonthNames[static_cast<std::size_t>(month - 1)] != monthName) continue;
            const std::optional<DateTime> date = TryEncodeDate(year, month, day);
            if (!date || DayOfWeek(*date) != weekday) continue;
            if (found && *found != *date) return std::nullopt;
            found = date;
        }
    }
    return found;
}

std::optional<DateTime> TryStrToTime(std::string_view text, const FormatSettings& settings) {
    std::size_t at = 0;
    int hour = 0, minute = 0, second = 0, digits = 0;
    SkipBlanks(text, at);
    if (!ReadNumber(text, at, hour, digits)) return std::nullopt;
    if (!ReadSeparator(text, at, settings.timeSeparator)) return std::nullopt;
    if (!ReadNumber(text, at, minute, digits)) return std::nullopt;
    if (ReadSeparator(text, at, settings.timeSeparator) && !ReadNumber(text, at, second, digits))
        return std::nullopt;
    SkipBlanks(text, at);
    if (at < text.size()) {
        const std::string_view rest = text.substr(at);
        const auto trimmed = rest.substr(0, rest.find_last_not_of(' ') + 1);
        const bool am =
            SameTextIgnoringCase(trimmed, settings.amDesignator) || SameTextIgnoringCase(trimmed, "AM");
        const bool pm =
            SameTextIgnoringCase(trimmed, settings.pmDesignator) || SameTextIgnoringCase(trimmed, "PM");
        if (!am && !pm) return std::nullopt;
        if (hour > 12) return std::nullopt;
        if (am && hour == 12) hour = 0;
        if (pm && hour < 12) hour += 12;
    }
    return TryEncodeTime(hour, minute, second, 0);
}

DateTime StrToTime(std::string_view text, const FormatSettings& settings) {
    if (auto value = TryStrToTime(text, settings)) return *value;
    throw Error("'" + std::string(text) + "' is not a valid time");
}

} // namespace kalendo
