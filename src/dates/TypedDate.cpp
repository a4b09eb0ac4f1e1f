#include "dates/TypedDate.h"

#include "dates/VorlanDecodeDate.h"

#include <charconv>
#include <chrono>
#include <exception>
#include <optional>
#include <system_error>
#include <utility>

namespace kalendo {

namespace {

// Keeps the decoder quiet for one reading and puts the program's message box back after it.
class SilentDecoderMessages {
public:
    SilentDecoderMessages() : saved_(SetDecoderMessageHook({})) {}
    ~SilentDecoderMessages() { SetDecoderMessageHook(std::move(saved_)); }
    SilentDecoderMessages(const SilentDecoderMessages&) = delete;
    SilentDecoderMessages& operator=(const SilentDecoderMessages&) = delete;

private:
    DecoderMessageHook saved_;
};

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// "YYYY-MM-DD" as ISO 8601 writes it: the one all-number form that means the same everywhere, so
// it comes before the decoder, which would read it in the locale's order. None for other text;
// a day that does not exist gives none in date.
struct IsoReading {
    bool isIsoForm = false;
    std::optional<DateTime> date;
};
IsoReading ReadIsoDate(std::string_view text) {
    text = Trimmed(text);
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return {};
    int fields[3] = {};
    const std::pair<std::size_t, std::size_t> spans[3] = {{0, 4}, {5, 2}, {8, 2}};
    for (int i = 0; i < 3; ++i) {
        const std::string_view digits = text.substr(spans[i].first, spans[i].second);
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), fields[i]);
        if (error != std::errc() || end != digits.data() + digits.size() || digits.front() == '-' ||
            digits.front() == '+')
            return {};
    }
    const std::chrono::year_month_day day{std::chrono::year(fields[0]),
                                          std::chrono::month(static_cast<unsigned>(fields[1])),
                                          std::chrono::day(static_cast<unsigned>(fields[2]))};
    if (!day.ok() || fields[0] == 0) return {true, std::nullopt};
    return {true, EncodeDate(fields[0], fields[1], fields[2])};
}

} // namespace

TypedDateReading ReadTypedDate(std::string_view text, DateTime minDate, DateTime maxDate) {
    if (IsBlank(text)) return {};
    if (const IsoReading iso = ReadIsoDate(text); iso.isIsoForm) {
        if (!iso.date) return {TypedDateReading::kNoDate, 0.0};
        const bool inRange = *iso.date >= minDate && *iso.date <= maxDate;
        return {inRange ? TypedDateReading::kDate : TypedDateReading::kOutOfRange, *iso.date};
    }
    SilentDecoderMessages silent;
    try {
        TVorlanDecodeDate decoder;
        decoder.SetDateToDecode(text);
        // "none" decodes validly to the serial 0; it names no day.
        if (!decoder.ValidDateTime() || decoder.DecodedDate() == 0.0) return {TypedDateReading::kNoDate, 0.0};
        const DateTime day = DateOf(decoder.DecodedDate());
        const bool inRange = day >= minDate && day <= maxDate;
        return {inRange ? TypedDateReading::kDate : TypedDateReading::kOutOfRange, day};
    } catch (const std::exception&) {
        // A date the decoder cannot re-encode is as unreadable as any other text.
        return {TypedDateReading::kNoDate, 0.0};
    }
}

} // namespace kalendo
