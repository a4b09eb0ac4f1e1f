#include "dates/VorlanDecodeDate.h"

#include "dates/DateEnvironment.h"
#include "dates/DateFormat.h"
#include "dates/DateStringTranslater.h"
#include "dates/Error.h"
#include "dates/VorlanDates.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace kalendo {

namespace {

using FieldFlags = TVorlanDecodeDateDecodedFieldsFoundFlags;

DecoderMessageHook& MessageHookSlot() {
    static DecoderMessageHook hook;
    return hook;
}

void ShowMessage(const std::string& message) {
    if (const DecoderMessageHook& hook = MessageHookSlot()) hook(message);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSeparator(char c) { return c == ',' || c == '.' || c == '/'; }

bool IsAllDigits(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), IsDigit);
}

// The value of a word of digits if it fits in 32 signed bits; leading zeros are allowed.
bool TryDigitsValue(std::string_view digits, std::int64_t& value) {
    std::int64_t result = 0;
    for (const char c : digits) {
        result = result * 10 + (c - '0');
        if (result > 2147483647) return false;
    }
    value = result;
    return true;
}

constexpr std::array<std::string_view, 7> kNoiseWords = {"OF", "THE", "IN", "INTO", "THIS", "TIME", "AT"};

bool IsNoiseWord(std::string_view word) {
    return std::find(kNoiseWords.begin(), kNoiseWords.end(), word) != kNoiseWords.end();
}

constexpr std::string_view kSeparatorWord = "SEPERATOR";

struct SynonymRow {
    std::array<std::string_view, 5> spellings; // unused slots are empty
    std::string_view canonical;                // empty: the word stays as it is
    TVorlanDecodeDateFoundFlag flag;
};

// Applied top to bottom, so a word rewritten by one row can match a later one: START becomes
// FIRST this way.
constexpr SynonymRow kSynonymRows[] = {
    {{"NONE"}, {}, ddNone},
    {{"TODAY"}, {}, ddToday},
    {{"NOW"}, {}, ddNow},
    {{"TOMORROW"}, {}, ddTomorrow},
    {{"YESTERDAY"}, {}, ddYesterday},
    {{"DAY", "DAYS", "DAY'S"}, "DAY", ddDays},
    {{"MONTH", "MONTHS", "MONTH'S"}, "MONTH", ddMonths},
    {{"YEAR", "YEARS", "YEAR'S"}, "YEAR", ddYears},
    {{"WEEK", "WEEKS", "WEEK'S", "WKS", "WK'S"}, "WEEK", ddWeeks},
    {{"END", "ENDING"}, "END", ddEnd},
    {{"START", "STARTING", "BEGINNING"}, "START", ddStart},
    {{"AFTER", "FOLLOWING", "SINCE", "FROM"}, "AFTER", ddAfter},
    {{"BEFORE", "BEFOREHAND", "AGO"}, "BEFORE", ddBefore},
    {{"LAST"}, {}, ddLast},
    {{"START"}, "FIRST", ddFirst},
    {{"FIRST"}, {}, ddFirst},
    {{"NEXT"}, {}, ddNext},
    {{"PREV", "PREVIOUS", "PRIOR"}, "PREV", ddPrev},
};

// What the synonym rows make of one spelling, all rows applied in order: the final word and the
// flags of every row that matched on the way. Worked out once, so a word costs one lookup.
struct SynonymOutcome {
    std::string_view spelling;
    std::string_view word;
    TVorlanDecodeDateFoundFlags flags;
};

const SynonymOutcome* FindSynonym(std::string_view word) {
    static const std::vector<SynonymOutcome> outcomes = [] {
        std::vector<SynonymOutcome> table;
        for (const SynonymRow& spellingRow : kSynonymRows) {
            for (const std::string_view spelling : spellingRow.spellings) {
                if (spelling.empty() || std::any_of(table.begin(), table.end(), [&](const auto& known) {
                        return known.spelling == spelling;
                    }))
                    continue;
                SynonymOutcome outcome{spelling, spelling, {}};
                for (const SynonymRow& row : kSynonymRows) {
                    if (std::find(row.spellings.begin(), row.spellings.end(), outcome.word) ==
                        row.spellings.end())
                        continue;
                    if (!row.canonical.empty()) outcome.word = row.canonical;
                    outcome.flags.Include(row.flag);
                }
                table.push_back(outcome);
            }
        }
        std::sort(table.begin(), table.end(),
                  [](const auto& a, const auto& b) { return a.spelling < b.spelling; });
        return table;
    }();
    const auto it =
        std::lower_bound(outcomes.begin(), outcomes.end(), word,
                         [](const SynonymOutcome& row, std::string_view key) { return row.spelling < key; });
    return it != outcomes.end() && it->spelling == word ? &*it : nullptr;
}

struct NumberWord {
    std::string_view word;
    std::uint16_t value;
    bool combinable;
};

// Cardinal before ordinals, the ordinal without a hyphen before the one with it.
// clang-format off
constexpr NumberWord kNumberWords[] = {
    {"ONE", 1, false},          {"FIRST", 1, false},
    {"TWO", 2, false},          {"SECOND", 2, false},
    {"THREE", 3, false},        {"THIRD", 3, false},
    {"FOUR", 4, false},         {"FOURTH", 4, false},
    {"FIVE", 5, false},         {"FIFTH", 5, false},
    {"SIX", 6, false},          {"SIXTH", 6, false},
    {"SEVEN", 7, false},        {"SEVENTH", 7, false},
    {"EIGHT", 8, false},        {"EIGHTH", 8, false},
    {"NINE", 9, false},         {"NINTH", 9, false},
    {"TEN", 10, false},         {"TENTH", 10, false},
    {"ELEVEN", 11, true},       {"ELEVENTH", 11, false},
    {"TWELVE", 12, true},       {"TWELVETH", 12, false},
    {"THIRTEEN", 13, true},     {"THIRTEENTH", 13, false},
    {"FOURTEEN", 14, true},     {"FOURTEENTH", 14, false},
    {"FIFTEEN", 15, true},      {"FIFTEENTH", 15, false},
    {"SIXTEEN", 16, true},      {"SIXTEENTH", 16, false},
    {"SEVENTEEN", 17, true},    {"SEVENTEENTH", 17, false},
    {"EIGHTEEN", 18, true},     {"EIGHTEENTH", 18, false},
    {"NINETEEN", 19, true},     {"NINETEENTH", 19, false},
    {"TWENTY", 20, true},       {"TWENTYTH", 20, false},
    {"TWENTYONE", 21, false},   {"TWENTYFIRST", 21, false},   {"TWENTY-FIRST", 21, false},
    {"TWENTYTWO", 22, false},   {"TWENTYSECOND", 22, false},  {"TWENTY-SECOND", 22, false},
    {"TWENTYTHREE", 23, false}, {"TWENTYTHIRD", 23, false},   {"TWENTY-THIRD", 23, false},
    {"TWENTYFOUR", 24, false},  {"TWENTYFOURTH", 24, false},  {"TWENTY-FOURTH", 24, false},
    {"TWENTYFIVE", 25, false},  {"TWENTYFIFTH", 25, false},   {"TWENTY-FIFTH", 25, false},
    {"TWENTYSIX", 26, false},   {"TWENTYSIXTH", 26, false},   {"TWENTY-SIXTH", 26, false},
    {"TWENTYSEVEN", 27, false}, {"TWENTYSEVENTH", 27, false}, {"TWENTY-SEVENTH", 27, false},
    {"TWENTYEIGHT", 28, false}, {"TWENTYEIGHTH", 28, false},  {"TWENTY-EIGHTH", 28, false},
    {"TWENTYNINE", 29, false},  {"TWENTYNINETH", 29, false},  {"TWENTY-NINETH", 29, false},
    {"THIRTY", 30, true},       {"THIRTYTH", 30, false},
    {"THIRTYONE", 31, false},   {"THIRTYFIRST", 31, false},   {"THIRTY-FIRST", 31, false},
    {"FORTY", 40, true},        {"FIFTY", 50, true},          {"SIXTY", 60, true},
    {"SEVENTY", 70, true},      {"EIGHTY", 80, true},         {"NINETY", 90, true},
};
// clang-format on
static_assert(std::size(kNumberWords) == 78);

const NumberWord* FindNumberWord(std::string_view word) {
    // Sorted once so that a lookup costs a handful of comparisons.
    static const auto sorted = [] {
        std::array<NumberWord, std::size(kNumberWords)> rows{};
        std::copy(std::begin(kNumberWords), std::end(kNumberWords), rows.begin());
        std::sort(rows.begin(), rows.end(),
                  [](const NumberWord& a, const NumberWord& b) { return a.word < b.word; });
        return rows;
    }();
    const auto it =
        std::lower_bound(sorted.begin(), sorted.end(), word,
                         [](const NumberWord& row, std::string_view key) { return row.word < key; });
    return it != sorted.end() && it->word == word ? &*it : nullptr;
}

// A value is combinable when any row with that value is (the cardinals 11 to 20 and the tens).
bool IsCombinable(std::int64_t value) {
    static constexpr auto combinable = [] {
        std::array<bool, 91> values{}; // index 0..90, the largest value of the table
        for (const NumberWord& row : kNumberWords)
            if (row.combinable) values[row.value] = true;
        return values;
    }();
    return value >= 0 && value < static_cast<std::int64_t>(combinable.size()) &&
           combinable[static_cast<std::size_t>(value)];
}

struct Keyword {
    std::string_view word;
    TVorlanDecodeDateDecodedFieldsFoundFlag flag;
};

// clang-format off
constexpr Keyword kKeywords[] = {
    {"PREV", dfoPrev},   {"NEXT", dfoNext},           {"LAST", dfoLast},        {kSeparatorWord, dfoSeperator},
    {"DAY", dfoDay},     {"WEEK", dfoWeek},           {"MONTH", dfoMonth},      {"YEAR", dfoYear},
    {"NOW", dfoNow},     {"TODAY", dfoToday},         {"YESTERDAY", dfoYesterday}, {"TOMORROW", dfoTomorrow},
    {"AT", dfoAt},       {"AFTER", dfoAfter},         {"BEFORE", dfoBefore},    {"START", dfoStart},
    {"END", dfoEnd},
};
// clang-format on

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

// The word (upper case already) equals the locale's name upper-cased; ASCII folding, like UpperCase.
bool EqualsName(std::string_view word, std::string_view name) {
    if (name.empty() || word.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (word[i] != AsciiUpper(name[i])) return false;
    return true;
}

// The word is the name followed by the given upper-case suffix ("S", "'S").
bool EqualsNameWithSuffix(std::string_view word, std::string_view name, std::string_view suffix) {
    return word.size() == name.size() + suffix.size() && word.ends_with(suffix) &&
           EqualsName(word.substr(0, name.size()), name);
}

// The first day on or after (forward) or before (backward) an anchor with weekday h, strictly
// away from it, that has weekday d: a day offset of 1..7 or -7..-1.
int StepsToWeekdayAfter(int h, int d) {
    const int steps = ((d - h) % 7 + 7) % 7;
    return steps == 0 ? 7 : steps;
}
int StepsToWeekdayBefore(int h, int d) {
    const int steps = ((h - d) % 7 + 7) % 7;
    return -(steps == 0 ? 7 : steps);
}

const std::int64_t kFirstEncodableSerial = DaysFromCivil(1, 1, 1);
const std::int64_t kLastEncodableSerial = DaysFromCivil(9999, 12, 31);

constexpr FieldFlags kUnitOrDirectionFlags{dfoDay, dfoWeek, dfoMonth, dfoYear, dfoAfter, dfoBefore};
constexpr FieldFlags kTimeStartFlags{dfoTime, dfoAt};

} // namespace

DecoderMessageHook SetDecoderMessageHook(DecoderMessageHook hook) {
    return std::exchange(MessageHookSlot(), std::move(hook));
}

TVorlanDecodeDate::TVorlanDecodeDate() : fields_(this) { SharedDateStringTranslater(); }

TVorlanDecodeDate::TVorlanDecodeDate(const FormatSettings& settings, const Clock& clock)
    : settings_(&settings), clock_(&clock), fields_(this) {
    SharedDateStringTranslater();
}

const FormatSettings& TVorlanDecodeDate::Settings() const {
    return settings_ != nullptr ? *settings_ : CurrentFormatSettings();
}

const Clock& TVorlanDecodeDate::CurrentClockOrOwn() const {
    return clock_ != nullptr ? *clock_ : CurrentClock();
}

bool TVorlanDecodeDate::IsTimeSeparatorChar(char c) const {
    const std::string& separator = active_->timeSeparator;
    return !separator.empty() && separator.find(c) != std::string::npos;
}

bool TVorlanDecodeDate::ContainsTimeSeparator(std::string_view word) const {
    const std::string& separator = active_->timeSeparator;
    return !separator.empty() && word.find(separator) != std::string_view::npos;
}

void TVorlanDecodeDate::SetDateToDecode(std::string_view text) {
    active_ = &Settings();
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        dateToDecode_.clear();
    } else {
        const std::size_t last = text.find_last_not_of(' ');
        dateToDecode_.assign(text.substr(first, last - first + 1));
    }
    tokens_.clear();
    fields_.Clear();
    foundFlags_ = {};
    noneWords_ = 0;
    if (!dateToDecode_.empty()) {
        SplitIntoTokens();
        for (std::string& word : tokens_)
            if (word.find("'S") != std::string::npos) word.resize(word.size() - 2);
        ApplySynonyms();
        BuildFields();
    }
    Resolve();
}

void TVorlanDecodeDate::SplitIntoTokens() {
    const std::string_view text = dateToDecode_;
    const TVorlanDates dates(*active_);
    std::size_t at = 0;
    for (;;) {
        std::string_view word;
        if (at < text.size() && IsSeparator(text[at])) {
            word = kSeparatorWord;
            ++at;
        } else {
            while (at < text.size() && (text[at] == ' ' || IsSeparator(text[at]) || text[at] == '-'))
                ++at;
            if (at == text.size()) return;
            const std::size_t start = at;
            // The first character is neither blank, separator nor dash, so text[at - 1] below
            // always belongs to the word.
            while (at < text.size() && text[at] != ' ' && !IsSeparator(text[at])) {
                if (text[at] == '-' &&
                    (IsDigit(text[at - 1]) || dates.IsMonthName(text.substr(start, at - start))))
                    break;
                ++at;
            }
            word = text.substr(start, at - start);
        }
        std::string upper = UpperCase(word);
        if (!IsNoiseWord(upper)) tokens_.push_back(std::move(upper));
    }
}

void TVorlanDecodeDate::ApplySynonyms() {
    const FormatSettings& settings = *active_;
    for (std::string& word : tokens_) {
        if (const SynonymOutcome* synonym = FindSynonym(word)) {
            word.assign(synonym->word);
            foundFlags_ = TVorlanDecodeDateFoundFlags::FromBits(foundFlags_.Bits() | synonym->flags.Bits());
        }
        for (std::size_t m = 0; m < 12; ++m)
            if (EqualsName(word, settings.longMonthNames[m])) word = UpperCase(settings.shortMonthNames[m]);
        for (std::size_t d = 0; d < 7; ++d)
            if (EqualsName(word, settings.longDayNames[d])) word = UpperCase(settings.shortDayNames[d]);
        for (std::size_t d = 0; d < 7; ++d)
            if (EqualsNameWithSuffix(word, settings.longDayNames[d], "S"))
                word = UpperCase(settings.shortDayNames[d]);
        for (std::size_t d = 0; d < 7; ++d)
            if (EqualsNameWithSuffix(word, settings.longDayNames[d], "'S"))
                word = UpperCase(settings.shortDayNames[d]);
    }
}

bool TVorlanDecodeDate::NormaliseNumber(std::string& word) {
    if (word.empty()) return false;
    if (IsDigit(word.front()) && !IsDigit(word.back()) && !IsTimeSeparatorChar(word.back())) {
        std::string numeric;
        for (const char c : word)
            if (IsDigit(c) || IsTimeSeparatorChar(c)) numeric += c;
        // The suffix starts after as many characters as the numeric part has; the last character
        // is never part of the numeric part, so the suffix is never empty.
        const std::string_view suffix = std::string_view(word).substr(numeric.size());
        if (ContainsTimeSeparator(word)) {
            // A designator written onto the time ("10:30pm") becomes a word of its own at the end.
            for (const std::string* designator : {&active_->amDesignator, &active_->pmDesignator}) {
                if (!EqualsName(suffix, *designator)) continue;
                std::string appended = UpperCase(*designator);
                if (appended == "NONE") ++noneWords_;
                tokens_.push_back(std::move(appended));
            }
        }
        word = std::move(numeric);
        return true;
    }
    if (const NumberWord* row = FindNumberWord(word)) {
        word = std::to_string(row->value);
        return true;
    }
    return false;
}

void TVorlanDecodeDate::BuildFields() {
    const FormatSettings& settings = *active_;
    noneWords_ = static_cast<int>(std::count(tokens_.begin(), tokens_.end(), "NONE"));
    fields_.Reserve(static_cast<int>(tokens_.size()) + 2);
    // tokens_ may grow while this runs: a designator split off a time word is appended. So the
    // loop goes by index, as an iterator would not survive the growth.
    // NOLINTNEXTLINE(modernize-loop-convert)
    for (std::size_t index = 0; index < tokens_.size(); ++index) {
        std::string word = tokens_[index];
        FieldFlags flags;
        if (NormaliseNumber(word)) {
            if (tokens_[index] == "NONE") --noneWords_;
            tokens_[index] = word;
            flags = {dfoWordNumber};
        }
        if (noneWords_ > 0) {
            flags = {dfoNone};
        } else {
            const auto keyword = std::find_if(std::begin(kKeywords), std::end(kKeywords),
                                              [&](const Keyword& row) { return row.word == word; });
            if (keyword != std::end(kKeywords))
                flags = {keyword->flag};
            else if (EqualsName(word, settings.amDesignator))
                flags = {dfoAM};
            else if (EqualsName(word, settings.pmDesignator))
                flags = {dfoPM};
            else if (ContainsTimeSeparator(word))
                flags = {dfoTime};
        }

        std::int64_t value = 0;
        for (std::size_t d = 0; d < 7; ++d) {
            if (EqualsName(word, settings.shortDayNames[d])) {
                flags.Include(dfoDayName);
                value = static_cast<std::int64_t>(d) + 1;
                break;
            }
        }
        for (std::size_t m = 0; m < 12; ++m) {
            if (EqualsName(word, settings.shortMonthNames[m])) {
                flags.Include(dfoMonthName);
                value = static_cast<std::int64_t>(m) + 1;
                break;
            }
        }
        if (IsAllDigits(word)) {
            flags.Include(dfoNumber);
            TryDigitsValue(word, value);
        }
        fields_.AddField(std::move(word), flags, static_cast<std::int32_t>(value & 0xFFFF));
    }
}

int TVorlanDecodeDate::CombineNumberWords(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, fields_.Count());
    if (first >= last) return 0;
    const bool anyNumber =
        std::any_of(fields_.begin() + first, fields_.begin() + last, [](const auto& field) {
            return field.FoundFlags.ContainsAny({dfoNumber, dfoMonthName});
        });
    if (!anyNumber) return 0;

    // Merged-away fields lose their classes at once, so later walks step over them as if they
    // were gone, and are removed together at the end: one pass, however many runs there are.
    std::vector<int>& mergedAway = mergedAway_;
    mergedAway.clear();
    int from = first;
    for (;;) {
        std::array<int, 4> run{};
        std::size_t runSize = 0;
        for (int i = from; i < last && runSize < run.size(); ++i) {
            const TVorlanDecodeDateDecodedFields& field = fields_[i];
            if (field.FoundFlags.Contains(dfoWordNumber)) {
                run[runSize++] = i;
                if (!IsCombinable(field.Extra)) break;
            } else if (field.FoundFlags.ContainsAny({dfoSeperator, dfoMonthName}) && runSize > 0) {
                break;
            }
        }
        if (runSize == 0) break;
        if (runSize > 3) {
            // Left uncombined; looking at the same run again would only repeat the message.
            ShowMessage(kTooManyWordsMessage);
            break;
        }
        std::int64_t value = fields_[run[0]].Extra;
        if (runSize == 2) value += fields_[run[1]].Extra;
        if (runSize == 3) value = value * 100 + fields_[run[1]].Extra + fields_[run[2]].Extra;
        for (std::size_t k = 1; k < runSize; ++k) {
            fields_[run[k]].FoundFlags = {};
            mergedAway.push_back(run[k]);
        }
        TVorlanDecodeDateDecodedFields& merged = fields_[run[0]];
        merged.Item = std::to_string(value);
        merged.Extra = static_cast<std::int32_t>(value);
        merged.FoundFlags = {dfoNumber};
        from = run[0] + 1;
    }
    fields_.DeleteSorted(mergedAway);
    return static_cast<int>(mergedAway.size());
}

int TVorlanDecodeDate::FindUnused(TVorlanDecodeDateDecodedFieldsFoundFlag flag, int first, int last) const {
    for (int i = std::max(first, 0); i < last && i < fields_.Count(); ++i)
        if (!fields_[i].Used && fields_[i].FoundFlags.Contains(flag)) return i;
    return -1;
}

bool TVorlanDecodeDate::DatePartFullyUsed() const {
    for (int i = datePartStart_; i < timePartStart_; ++i)
        if (!fields_[i].Used && !fields_[i].FoundFlags.Contains(dfoSeperator)) return false;
    return true;
}

void TVorlanDecodeDate::Resolve() {
    now_ = CurrentClockOrOwn().Now();
    today_ = DateOf(now_);
    const CivilDate today = DecodeDate(today_);
    year_ = static_cast<std::uint16_t>(today.year);
    month_ = static_cast<std::uint16_t>(today.month);
    day_ = static_cast<std::uint16_t>(today.day);
    monthSet_ = yearSet_ = timeSeen_ = false;

    const int count = fields_.Count();
    datePartStart_ = 0;
    for (int i = 0; i < count && !fields_[i].FoundFlags.Empty(); ++i)
        if (fields_[i].FoundFlags.ContainsAny(kUnitOrDirectionFlags)) datePartStart_ = i + 1;
    timePartStart_ = count;
    for (int i = datePartStart_; i < count; ++i) {
        if (fields_[i].FoundFlags.ContainsAny(kTimeStartFlags)) {
            timePartStart_ = i;
            break;
        }
    }

    decodedOk_ = true;
    timeValid_ = dateFound_ = timeFound_ = false;
    if (count > 0) ResolveDatePart();

    decodedDate_ = 0.0;
    LookUpNamedDate();
    if (const auto working = TryEncodeDate(year_, month_, day_)) {
        decodedDate_ = *working;
        ApplyRelativeRule();
    }
    FinalDateCheck();

    if (decodedOk_) {
        if (timeFound_) {
            timeValid_ = true;
            decodedDate_ = ComposeDateTime(decodedDate_, TimeOf(now_));
        } else {
            DateTime time = 0.0;
            timeValid_ = ReadTimePart(time);
            // An unreadable time makes the whole text fail, so its date is not reported either.
            decodedDate_ = timeValid_ ? ComposeDateTime(decodedDate_, time) : 0.0;
        }
    }

    for (const TVorlanDecodeDateDecodedFields& field : fields_) {
        if (!field.Used && !field.FoundFlags.Contains(dfoSeperator)) {
            decodedDate_ = 0.0;
            decodedOk_ = false;
            break;
        }
    }
}

void TVorlanDecodeDate::ResolveDatePart() {
    const int count = fields_.Count();
    if (count == 1 && fields_[0].FoundFlags == FieldFlags{dfoNone}) {
        fields_[0].Used = true;
        year_ = month_ = day_ = 0;
        dateFound_ = true;
        return;
    }
    if (datePartStart_ == count - 1 && !fields_[datePartStart_].Used) {
        TVorlanDecodeDateDecodedFields& field = fields_[datePartStart_];
        const auto moveWorkingDate = [&](DateTime day) {
            const CivilDate civil = DecodeDate(day);
            year_ = static_cast<std::uint16_t>(civil.year);
            month_ = static_cast<std::uint16_t>(civil.month);
            day_ = static_cast<std::uint16_t>(civil.day);
        };
        if (field.FoundFlags.Contains(dfoToday)) {
            field.Used = dateFound_ = true;
            return;
        }
        if (field.FoundFlags.Contains(dfoNow)) {
            field.Used = dateFound_ = timeFound_ = true;
            return;
        }
        if (field.FoundFlags.Contains(dfoYesterday)) {
            field.Used = dateFound_ = true;
            moveWorkingDate(today_ - 1);
            return;
        }
        if (field.FoundFlags.Contains(dfoTomorrow)) {
            field.Used = dateFound_ = true;
            moveWorkingDate(today_ + 1);
            return;
        }
    }

    timePartStart_ -= CombineNumberWords(datePartStart_, timePartStart_);
    const TVorlanDates dates(*active_);
    if (const int name = FindUnused(dfoMonthName, datePartStart_, timePartStart_); name >= 0) {
        month_ = static_cast<std::uint16_t>(fields_[name].Extra);
        fields_[name].Used = monthSet_ = dateFound_ = true;
    }
    const bool loneSmallNumber = timePartStart_ - datePartStart_ == 1 && !fields_[datePartStart_].Used &&
                                 fields_[datePartStart_].IsNumber() && fields_[datePartStart_].Extra < 32;
    if (loneSmallNumber) {
        PickDay();
    } else {
        switch (dates.ShortDateOrder()) {
        case doDayMonthYear:
            PickDay();
            if (!monthSet_) PickMonth();
            PickYear();
            break;
        case doYearMonthDay:
            PickYear();
            if (!monthSet_) PickMonth();
            PickDay();
            break;
        case doMonthDayYear:
            if (!monthSet_) PickMonth();
            PickDay();
            PickYear();
            break;
        }
        year_ = dates.ExpandYear(year_);
    }
    if (const int end = FindUnused(dfoEnd, datePartStart_, timePartStart_); end >= 0) {
        day_ = dates.DaysInMonth(month_, year_);
        fields_[end].Used = dateFound_ = true;
    }
}

void TVorlanDecodeDate::PickDay() {
    for (int i = datePartStart_; i < timePartStart_; ++i) {
        TVorlanDecodeDateDecodedFields& field = fields_[i];
        if (field.Used || !field.IsNumber() || field.Extra > 31) continue;
        day_ = static_cast<std::uint16_t>(field.Extra);
        field.Used = dateFound_ = true;
        return;
    }
}

void TVorlanDecodeDate::PickMonth() {
    for (int i = datePartStart_; i < timePartStart_; ++i) {
        TVorlanDecodeDateDecodedFields& field = fields_[i];
        if (field.Used || !field.IsNumber() || field.Extra > 12) continue;
        month_ = static_cast<std::uint16_t>(field.Extra);
        field.Used = monthSet_ = dateFound_ = true;
        return;
    }
}

void TVorlanDecodeDate::PickYear() {
    if (yearSet_) return;
    for (int i = datePartStart_; i < timePartStart_; ++i) {
        TVorlanDecodeDateDecodedFields& field = fields_[i];
        if (field.Used || !field.IsNumber()) continue;
        // The working year has 16 bits, like the date services' years. A merged number beyond
        // them ("twenty twenty 65535th") must not wrap into a plausible year: the top value
        // is no calendar year, so the final check rejects it.
        year_ = static_cast<std::uint16_t>(std::min<std::int32_t>(field.Extra, 0xFFFF));
        field.Used = yearSet_ = dateFound_ = true;
        return;
    }
}

void TVorlanDecodeDate::LookUpNamedDate() {
    std::string leftover;
    int words = 0;
    bool onlyDayNames = true;
    for (int i = datePartStart_; i < timePartStart_; ++i) {
        const TVorlanDecodeDateDecodedFields& field = fields_[i];
        if (field.Used || field.FoundFlags.Contains(dfoSeperator)) continue;
        if (words++ > 0) leftover += ' ';
        leftover += field.Item;
        onlyDayNames = onlyDayNames && field.FoundFlags.Contains(dfoDayName);
    }
    // Nothing left over names nothing (an entry with an empty name must not match every date).
    if (words == 0) return;
    // A day name beside a date already read is still unused only because the day-name rule comes
    // later; it names that date's weekday, not a table entry ("Monday 7 December 2026" must not
    // become a row spelt "Mon"). A day name alone is still looked up.
    if (dateFound_ && onlyDayNames) return;

    TVorlanDateStringTranslater& translater = SharedDateStringTranslater();
    translater.SetFileName(kNamedDatesFileName);
    translater.SetCountry(coAuto);
    translater.SetSearch(leftover);
    if (!translater.Found()) return;
    year_ = translater.FoundYear();
    month_ = translater.FoundMonth();
    day_ = translater.FoundDay();
    decodedOk_ = dateFound_ = true;
    for (int i = datePartStart_; i < timePartStart_; ++i)
        fields_[i].Used = true;
}

void TVorlanDecodeDate::ApplyRelativeRule() {
    RuleResult result = RuleResult::Unchanged;
    if (const int q = FindUnused(dfoMonth, 0, timePartStart_); q >= 0)
        result = ApplyCountRule(q, dfoMonth);
    else if (const int y = FindUnused(dfoYear, 0, timePartStart_); y >= 0)
        result = ApplyCountRule(y, dfoYear);
    else if (const int n = FindUnused(dfoDayName, 0, timePartStart_); n >= 0)
        result = ApplyDayNameRule(n);
    else if (const int w = FindUnused(dfoWeek, 0, timePartStart_); w >= 0)
        result = ApplyCountRule(w, dfoWeek);
    else if (const int d = FindUnused(dfoDay, 0, timePartStart_); d >= 0)
        result = ApplyCountRule(d, dfoDay);
    if (result == RuleResult::Failed) decodedOk_ = false;
}

namespace {

// The rule's new date becomes the working date; a date outside years 1 to 9999 fails the rule.
bool AcceptRuleDate(DateTime date, DateTime& decodedDate, std::uint16_t& year, std::uint16_t& month,
                    std::uint16_t& day) {
    if (!(date >= static_cast<double>(kFirstEncodableSerial) &&
          date <= static_cast<double>(kLastEncodableSerial)))
        return false;
    decodedDate = date;
    const CivilDate civil = DecodeDate(date);
    year = static_cast<std::uint16_t>(civil.year);
    month = static_cast<std::uint16_t>(civil.month);
    day = static_cast<std::uint16_t>(civil.day);
    return true;
}

} // namespace

TVorlanDecodeDate::RuleResult
TVorlanDecodeDate::ApplyCountRule(int q, TVorlanDecodeDateDecodedFieldsFoundFlag unit) {
    const TVorlanDates dates(*active_);
    const auto moveBy = [&](std::int64_t count) {
        DateTime moved = 0.0;
        try {
            switch (unit) {
            case dfoMonth:
                moved = dates.AddMonths(static_cast<std::int32_t>(count), decodedDate_);
                break;
            case dfoYear:
                moved = dates.AddYears(static_cast<std::int32_t>(count), decodedDate_);
                break;
            case dfoWeek:
                moved = decodedDate_ + 7.0 * static_cast<double>(count);
                break;
            default:
                moved = decodedDate_ + static_cast<double>(count);
                break;
            }
        } catch (const Error&) {
            return RuleResult::Failed; // the count leaves the years 1 to 9999
        }
        if (!AcceptRuleDate(moved, decodedDate_, year_, month_, day_)) return RuleResult::Failed;
        dateFound_ = true;
        return RuleResult::Applied;
    };

    TVorlanDecodeDateDecodedFields& unitField = fields_[q];
    const bool afterIsDirection =
        Exists(q + 1) && !fields_[q + 1].Used && fields_[q + 1].FoundFlags.ContainsAny({dfoAfter, dfoBefore});
    if (q == 0) {
        if (!Exists(q + 1) || fields_[q + 1].Used || !afterIsDirection) return RuleResult::Failed;
        unitField.Used = fields_[q + 1].Used = true;
        return moveBy(fields_[q + 1].FoundFlags.Contains(dfoAfter) ? 1 : -1);
    }

    TVorlanDecodeDateDecodedFields& before = fields_[q - 1];
    if (afterIsDirection) {
        if (before.Used) return RuleResult::Unchanged;
        if (!before.IsNumber()) return RuleResult::Failed;
        TVorlanDecodeDateDecodedFields& direction = fields_[q + 1];
        before.Used = unitField.Used = direction.Used = true;
        const std::int64_t count = before.Extra;
        return moveBy(direction.FoundFlags.Contains(dfoAfter) ? count : -count);
    }
    if (!before.Used && before.IsNumber()) {
        before.Used = unitField.Used = true;
        return moveBy(before.Extra);
    }
    const bool backward = before.FoundFlags.ContainsAny({dfoPrev, dfoLast});
    const bool forward = before.FoundFlags.Contains(dfoNext);
    if (unit != dfoDay && (backward || forward)) {
        // "December last year": a month name before the pair sets the month of the moved year.
        int monthField = -1;
        if (unit == dfoYear && q >= 2 && !fields_[q - 2].Used) {
            if (!dates.IsMonthName(fields_[q - 2].Item)) return RuleResult::Failed;
            monthField = q - 2;
        }
        before.Used = unitField.Used = true;
        const RuleResult result = moveBy(backward ? -1 : 1);
        if (result == RuleResult::Applied && monthField >= 0) {
            month_ = static_cast<std::uint16_t>(fields_[monthField].Extra);
            fields_[monthField].Used = true;
        }
        return result;
    }
    return before.Used ? RuleResult::Unchanged : RuleResult::Failed;
}

TVorlanDecodeDate::RuleResult TVorlanDecodeDate::ApplyDayNameRule(int q) {
    const int d = fields_[q].Extra;
    const int h = DayOfWeek(decodedDate_);
    const bool afterUsable = Exists(q + 1) && !fields_[q + 1].Used;
    const FieldFlags afterFlags = afterUsable ? fields_[q + 1].FoundFlags : FieldFlags{};
    const auto after2Is = [&](TVorlanDecodeDateDecodedFieldsFoundFlag flag) {
        return Exists(q + 2) && !fields_[q + 2].Used && fields_[q + 2].FoundFlags.Contains(flag);
    };

    std::int64_t offset = 0;
    if (afterFlags.ContainsAny({dfoAfter, dfoBefore})) {
        const bool forward = afterFlags.Contains(dfoAfter);
        const std::int64_t firstStep = forward ? StepsToWeekdayAfter(h, d) : StepsToWeekdayBefore(h, d);
        if (q == 0 || fields_[q - 1].Used) {
            fields_[q].Used = fields_[q + 1].Used = true;
            offset = firstStep;
        } else if (fields_[q - 1].IsNumber()) {
            const std::int64_t count = fields_[q - 1].Extra;
            fields_[q - 1].Used = fields_[q].Used = fields_[q + 1].Used = true;
            const std::int64_t extraWeeks = count > 1 ? 7 * (count - 1) : 0;
            offset = forward ? firstStep + extraWeeks : firstStep - extraWeeks;
        } else {
            return RuleResult::Failed;
        }
    } else if (afterFlags.Contains(dfoNext) || afterFlags.ContainsAny({dfoLast, dfoPrev})) {
        const bool forward = afterFlags.Contains(dfoNext);
        fields_[q].Used = fields_[q + 1].Used = true;
        offset = forward ? StepsToWeekdayAfter(h, d) + 7 : StepsToWeekdayBefore(h, d) - 7;
        if (after2Is(dfoWeek)) fields_[q + 2].Used = true;
    } else if (afterFlags.Contains(dfoWeek)) {
        if (after2Is(dfoAfter)) {
            fields_[q].Used = fields_[q + 1].Used = fields_[q + 2].Used = true;
            offset = StepsToWeekdayAfter(h, d) + 7;
        } else if (after2Is(dfoBefore)) {
            fields_[q].Used = fields_[q + 1].Used = fields_[q + 2].Used = true;
            offset = StepsToWeekdayBefore(h, d) - 7;
        } else {
            fields_[q].Used = fields_[q + 1].Used = true;
            offset = StepsToWeekdayAfter(h, d) + 7;
        }
    } else if (const int last = FindUnused(dfoLast, 0, timePartStart_); last >= 0) {
        // That weekday in the Sunday-to-Saturday week before the anchor's.
        fields_[last].Used = fields_[q].Used = true;
        offset = d - h - 7;
    } else if (const int next = FindUnused(dfoNext, 0, timePartStart_); next >= 0) {
        // That weekday in the Monday-to-Sunday week after the anchor's.
        fields_[next].Used = fields_[q].Used = true;
        const int daysToSunday = (8 - h) % 7; // 0..6
        offset = d == 1 ? daysToSunday + 7 : daysToSunday + d - 1;
    } else {
        fields_[q].Used = true;
        offset = d < h ? d - h + 7 : d - h;
    }
    if (!AcceptRuleDate(decodedDate_ + static_cast<double>(offset), decodedDate_, year_, month_, day_))
        return RuleResult::Failed;
    dateFound_ = true;
    return RuleResult::Applied;
}

void TVorlanDecodeDate::FinalDateCheck() {
    const bool datePartUsed = DatePartFullyUsed();
    if (decodedOk_ && datePartUsed) {
        const TVorlanDates dates(*active_);
        if (year_ == 0 && month_ == 0 && day_ == 0) {
            decodedDate_ = 0.0; // how NONE decodes
        } else if (year_ == 0 || month_ == 0 || day_ == 0 || month_ > 12 ||
                   day_ > dates.DaysInMonth(month_, year_)) {
            decodedOk_ = false;
        } else {
            const auto encoded = TryEncodeDate(year_, month_, day_);
            decodedOk_ = encoded.has_value();
            if (encoded) decodedDate_ = *encoded;
        }
    }
    if (!decodedOk_ || !datePartUsed) {
        decodedDate_ = 0.0;
        decodedOk_ = false;
    }
}

bool TVorlanDecodeDate::ReadTimePart(DateTime& time) {
    time = 0.0;
    const int count = fields_.Count();
    bool anyTimeWord = false;
    for (int i = timePartStart_; i < count && !anyTimeWord; ++i)
        anyTimeWord = fields_[i].FoundFlags.Contains(dfoTime);
    if (!anyTimeWord) return true;

    timeFound_ = true;
    bool result = false;
    TimeOfDay timeOfDay;
    const std::string& separator = active_->timeSeparator;
    for (int i = timePartStart_; i < count; ++i) {
        TVorlanDecodeDateDecodedFields& field = fields_[i];
        if (field.Used) continue;
        if (field.FoundFlags.Contains(dfoTime)) {
            const std::size_t at = field.Item.find(separator);
            if (at == 0 || at == std::string::npos || at + separator.size() >= field.Item.size())
                return false;
            const std::optional<DateTime> parsed = TryStrToTime(field.Item, *active_);
            if (!parsed) return false;
            timeOfDay = DecodeTime(*parsed);
            timeSeen_ = true;
            result = true;
            field.Used = true;
        } else if (field.FoundFlags.Contains(dfoAM) && timeSeen_) {
            if (timeOfDay.hour > 11) timeOfDay.hour -= 12;
            field.Used = result = true;
        } else if (field.FoundFlags.Contains(dfoPM) && timeSeen_) {
            if (timeOfDay.hour > 12) return false;
            if (timeOfDay.hour < 12) timeOfDay.hour += 12;
            field.Used = result = true;
        }
    }
    if (timeSeen_) time = EncodeTime(timeOfDay.hour, timeOfDay.minute, timeOfDay.second);
    return result;
}

DateTime TVorlanDates::DecodeDateText(std::string_view text) const {
    // The long date form has a reader of its own, tried first: in a year-first locale the decoder
    // takes its day for the year, and it cannot split day and month names with blanks or dots, or
    // tell them from its own words. In day-first and month-first English both answer alike.
    if (const std::optional<DateTime> longDate = TryReadLongDateForm(text, Settings())) return *longDate;
    TVorlanDecodeDate decoder(Settings(), CurrentClock());
    decoder.SetDateToDecode(text);
    if (!decoder.ValidDateTime()) throw Error(kUnableToDecodeMessage + std::string(text));
    return decoder.DecodedDate();
}

DateTime DecodeDateText(std::string_view text) { return SharedVorlanDates().DecodeDateText(text); }

} // namespace kalendo
