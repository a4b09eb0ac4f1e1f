#include "cli/CliArguments.h"

#include "cli/NamedDatesOptions.h"
#include "dates/DateFormat.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace kalendo::cli {

namespace {

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

int Digits(std::string_view text) {
    int value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

// Length of the UTF-8 sequence starting at text[at], or 0 when it is not well formed.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        else if (lead == 0xED)
            high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() - at < length) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return length;
}

} // namespace

CommandResult Success(std::string output) { return {0, std::move(output), {}, {}}; }
CommandResult BadArgument(std::string message) { return {2, {}, std::move(message), {}}; }
CommandResult Failure(std::string message) { return {1, {}, std::move(message), {}}; }

std::optional<std::string> CountryOfLocaleName(std::string_view localeName) {
    // The countries of the named-dates table by ISO 3166 code, named as Qt names territories.
    static constexpr std::pair<std::string_view, std::string_view> kCountries[] = {
        {"GB", "United Kingdom"}, {"IE", "Ireland"},     {"US", "United States"}, {"CA", "Canada"},
        {"AU", "Australia"},      {"NZ", "New Zealand"}, {"ZA", "South Africa"},  {"IN", "India"},
        {"DE", "Germany"},        {"FR", "France"},      {"NL", "Netherlands"},   {"SE", "Sweden"},
        {"JP", "Japan"},
    };
    // "ll_CC", "ll-CC", with ".codeset" or "@modifier" after it.
    const std::size_t separator = localeName.find_first_of("_-");
    if (separator == std::string_view::npos) return std::nullopt;
    std::string_view territory = localeName.substr(separator + 1);
    territory = territory.substr(0, territory.find_first_of(".@"));
    for (const auto& [code, country] : kCountries)
        if (SameTextIgnoringCase(territory, code)) return std::string(country);
    // Every other country the shipped holiday data knows goes by its code, which is a PLACE.
    if (territory.size() != 2) return std::nullopt;
    std::string code(territory);
    for (char& c : code)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!IsHolidayDataCountry(code)) return std::nullopt;
    return code;
}

std::optional<FormatSettings> SettingsForLocaleName(std::string_view localeName) {
    if (std::optional<FormatSettings> table = BuiltInSettings(localeName)) return table;
    const std::optional<std::string> country = CountryOfLocaleName(localeName);
    if (!country) return std::nullopt;
    FormatSettings settings = UnitedKingdomSettings();
    settings.countryName = *country;
    return settings;
}

FormatSettings SettingsForEnvironmentLocale(std::string_view localeName) {
    const std::optional<FormatSettings> table = SettingsForLocaleName(localeName);
    return table ? *table : UnitedKingdomSettings();
}

std::string EnvironmentLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return value;
    }
    return {};
}

std::optional<DateTime> ParseDateArgument(std::string_view text, const Clock& clock) {
    if (text == "today") return clock.Today();
    if (text.size() != 10 && text.size() != 19) return std::nullopt;
    if (text[4] != '-' || text[7] != '-') return std::nullopt;
    const std::string_view year = text.substr(0, 4), month = text.substr(5, 2), day = text.substr(8, 2);
    if (!AllDigits(year) || !AllDigits(month) || !AllDigits(day)) return std::nullopt;
    const std::optional<DateTime> date = TryEncodeDate(Digits(year), Digits(month), Digits(day));
    if (!date || text.size() == 10) return date;

    if (text[10] != 'T' || text[13] != ':' || text[16] != ':') return std::nullopt;
    const std::string_view hour = text.substr(11, 2), minute = text.substr(14, 2),
                           second = text.substr(17, 2);
    if (!AllDigits(hour) || !AllDigits(minute) || !AllDigits(second)) return std::nullopt;
    const std::optional<DateTime> time = TryEncodeTime(Digits(hour), Digits(minute), Digits(second));
    if (!time) return std::nullopt;
    return ComposeDateTime(*date, *time);
}

std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t min, std::int64_t max) {
    const bool plus = !text.empty() && text.front() == '+';
    if (plus) text.remove_prefix(1);
    if (text.empty() || text.front() == '+' || (plus && text.front() == '-')) return std::nullopt;
    std::int64_t value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (value < min || value > max) return std::nullopt;
    return value;
}

bool IsEncodableDay(DateTime value) {
    static const DateTime first = EncodeDate(1, 1, 1);
    static const DateTime last = EncodeDate(9999, 12, 31);
    const DateTime day = DateOf(value);
    return day >= first && day <= last; // false for NaN as well
}

std::string IsoText(DateTime value) {
    const CivilDate date = DecodeDate(value);
    const TimeOfDay time = DecodeTime(value);
    char buffer[64]; // room for any three ints and a time, so nothing is cut
    int length = std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    if (time.hour != 0 || time.minute != 0 || time.second != 0)
        length += std::snprintf(buffer + length, sizeof buffer - static_cast<std::size_t>(length),
                                "T%02d:%02d:%02d", time.hour, time.minute, time.second);
    return {buffer, static_cast<std::size_t>(length)};
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    std::size_t at = 0;
    while (at < text.size()) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else if (c >= 0x80) {
            const std::size_t length = Utf8SequenceLength(text, at);
            if (length == 0) {
                out += "\\ufffd";
                ++at;
                continue;
            }
            out += text.substr(at, length);
            at += length;
            continue;
        } else {
            out += static_cast<char>(c);
        }
        ++at;
    }
    out += '"';
    return out;
}

std::string JsonNumber(double value) {
    char buffer[64];
    const auto [end, status] = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0);
    return status == std::errc{} ? std::string(buffer, end) : std::string("null");
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kLongest = 40;
    std::string out = "'";
    for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        out += c < 0x20 || c == 0x7F ? '?' : static_cast<char>(c);
    }
    if (text.size() > kLongest) out += "...";
    out += '\'';
    return out;
}

SplitArguments SplitCommandArguments(std::span<const std::string> args,
                                     std::span<const std::string_view> flags,
                                     std::span<const std::string_view> valuedFlags) {
    SplitArguments split;
    const auto contains = [](std::span<const std::string_view> names, std::string_view arg) {
        for (const std::string_view name : names)
            if (name == arg) return true;
        return false;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (contains(flags, args[i])) {
            split.flags.push_back(args[i]);
        } else if (contains(valuedFlags, args[i])) {
            if (i + 1 == args.size()) {
                split.error = args[i] + " needs a value";
                return split;
            }
            split.valued.emplace_back(args[i], args[i + 1]);
            ++i;
        } else {
            split.positional.push_back(args[i]);
        }
    }
    return split;
}

} // namespace kalendo::cli
