#pragma once

#include "dates/Clock.h"
#include "dates/DateTime.h"
#include "dates/FormatSettings.h"
#include "dates/VorlanDecodedFields.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kalendo {

inline constexpr const char* kTooManyWordsMessage = "Too many words - can't decode";
inline constexpr const char* kUnableToDecodeMessage = "Unable to decode the date time : ";

// Where the decoder's one user-facing message goes; the program connects a modal message box.
// An empty hook (the default) shows nothing. Returns the hook it replaces.
using DecoderMessageHook = std::function<void(const std::string&)>;
DecoderMessageHook SetDecoderMessageHook(DecoderMessageHook hook);

// TVorlanDecodeDate: turns a line of English free text ("3 days ago", "next Friday",
// "21st December 2026", "10:30pm", a named date) into a DateTime. Assigning DateToDecode splits
// the text into classified words and resolves them against today; the result and its validity
// are then read from the properties. Bad text never throws: it fails through the validity flags.
// A damaged named-dates file does not throw either: its bad rows are skipped and reported once
// through SetNamedDatesMessageHook (HolidayTable.h).
class TVorlanDecodeDate {
public:
    // Uses the current locale settings and clock of DateEnvironment, looked up at each decode.
    TVorlanDecodeDate();
    // Uses the given settings and clock; both must outlive the decoder.
    TVorlanDecodeDate(const FormatSettings& settings, const Clock& clock);
    // The decoder keeps references: temporaries would be gone before the first decode.
    TVorlanDecodeDate(FormatSettings&&, const Clock&) = delete;
    TVorlanDecodeDate(const FormatSettings&, Clock&&) = delete;
    TVorlanDecodeDate(FormatSettings&&, Clock&&) = delete;
    TVorlanDecodeDate(const TVorlanDecodeDate&) = delete;
    TVorlanDecodeDate& operator=(const TVorlanDecodeDate&) = delete;

    const std::string& DateToDecode() const { return dateToDecode_; }
    // Stores the text without its leading and trailing spaces and decodes it.
    void SetDateToDecode(std::string_view text);

    DateTime DecodedDate() const { return decodedDate_; }
    TVorlanDecodeDateFoundFlags FoundFlags() const { return foundFlags_; }
    const std::vector<std::string>& Tokens() const { return tokens_; }
    void SetTokens(const std::vector<std::string>& tokens) { tokens_ = tokens; }
    const TVorlanDecodeDateDecodedFieldsCollection& DecodedFields() const { return fields_; }
    TVorlanDecodeDateDecodedFieldsCollection& DecodedFields() { return fields_; }
    void SetDecodedFields(const TVorlanDecodeDateDecodedFieldsCollection& fields) { fields_.Assign(fields); }

    bool ValidDate() const { return decodedOk_ && dateFound_ && !timeFound_; }
    bool ValidTime() const { return timeValid_ && timeFound_ && decodedOk_ && !dateFound_; }
    bool ValidDateTime() const { return decodedOk_ && timeValid_ && (dateFound_ || timeFound_); }

    // Merges runs of number words among the fields first to last - 1 ("TWENTY ONE" into 21,
    // "NINETEEN NINETY NINE" into 1999); returns how many fields it deleted.
    int CombineNumberWords(int first, int last);

private:
    enum class RuleResult { Applied, Unchanged, Failed };

    const FormatSettings& Settings() const;
    const Clock& CurrentClockOrOwn() const;

    void SplitIntoTokens();
    void ApplySynonyms();
    void BuildFields();
    bool NormaliseNumber(std::string& word);
    bool IsTimeSeparatorChar(char c) const;
    bool ContainsTimeSeparator(std::string_view word) const;

    void Resolve();
    void ResolveDatePart();
    void PickDay();
    void PickMonth();
    void PickYear();
    void LookUpNamedDate();
    void ApplyRelativeRule();
    RuleResult ApplyCountRule(int q, TVorlanDecodeDateDecodedFieldsFoundFlag unit);
    RuleResult ApplyDayNameRule(int q);
    void FinalDateCheck();
    bool ReadTimePart(DateTime& time);

    bool Exists(int index) const { return index >= 0 && index < fields_.Count(); }
    bool DatePartFullyUsed() const;
    int FindUnused(TVorlanDecodeDateDecodedFieldsFoundFlag flag, int first, int last) const;

    const FormatSettings* settings_ = nullptr;
    const Clock* clock_ = nullptr;
    // The settings in use during one decode.
    const FormatSettings* active_ = nullptr;

    std::string dateToDecode_;
    std::vector<std::string> tokens_;
    TVorlanDecodeDateDecodedFieldsCollection fields_;
    TVorlanDecodeDateFoundFlags foundFlags_;
    DateTime decodedDate_ = 0.0;

    DateTime now_ = 0.0;
    DateTime today_ = 0.0;
    std::uint16_t year_ = 0;
    std::uint16_t month_ = 0;
    std::uint16_t day_ = 0;
    bool decodedOk_ = false;
    bool dateFound_ = false;
    bool timeFound_ = false;
    bool timeValid_ = false;
    bool monthSet_ = false;
    bool yearSet_ = false;
    bool timeSeen_ = false;
    int datePartStart_ = 0;
    int timePartStart_ = 0;
    int noneWords_ = 0;
    std::vector<int> mergedAway_; // kept between decodes so that a warm decoder allocates nothing
};

} // namespace kalendo
