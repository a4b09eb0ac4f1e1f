#include "dates/TypedDate.h"

#include "dates/VorlanDecodeDate.h"

#include <exception>
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

} // namespace

TypedDateReading ReadTypedDate(std::string_view text, DateTime minDate, DateTime maxDate) {
    if (IsBlank(text)) return {};
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
