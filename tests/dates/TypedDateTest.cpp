#include "dates/TypedDate.h"

#include "dates/DateEnvironment.h"
#include "dates/VorlanDecodeDate.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kalendo {
namespace {

class TypedDateTest : public ::testing::Test {
protected:
    // Wednesday 9 December 2026, 14:00, United Kingdom.
    ScopedDateEnvironment environment_{
        UnitedKingdomSettings(),
        std::make_shared<FixedClock>(EncodeDate(2026, 12, 9) + EncodeTime(14, 0, 0))};
    DateTime first_ = EncodeDate(1752, 1, 1);
    DateTime last_ = EncodeDate(3000, 12, 31);
};

TEST_F(TypedDateTest, readsWhatTheDecoderReadsAsAWholeDay) {
    struct Row {
        const char* meaning;
        const char* text;
        TypedDateReading::Kind kind;
        DateTime date;
    };
    const Row rows[] = {
        {"nothing typed", "   ", TypedDateReading::kEmpty, 0},
        {"a relative phrase", "3 days ago", TypedDateReading::kDate, EncodeDate(2026, 12, 6)},
        {"a day name", "next Friday", TypedDateReading::kDate, EncodeDate(2026, 12, 18)},
        {"a time of day is today", "10:30pm", TypedDateReading::kDate, EncodeDate(2026, 12, 9)},
        {"an absolute date", "21st December 2026", TypedDateReading::kDate, EncodeDate(2026, 12, 21)},
        {"the first calendar day", "1 January 1752", TypedDateReading::kDate, EncodeDate(1752, 1, 1)},
        {"before the calendars", "31 December 1751", TypedDateReading::kOutOfRange, EncodeDate(1751, 12, 31)},
        {"after the calendars", "1 January 3001", TypedDateReading::kOutOfRange, EncodeDate(3001, 1, 1)},
        {"words the decoder does not know", "hello", TypedDateReading::kNoDate, 0},
        {"none names no day", "none", TypedDateReading::kNoDate, 0},
        {"an impossible date", "31 February 2026", TypedDateReading::kNoDate, 0},
        {"ISO 8601 first, not as no date", "2027-01-15", TypedDateReading::kDate, EncodeDate(2027, 1, 15)},
        {"ISO 8601 first, not as 12 July", " 2026-12-07 ", TypedDateReading::kDate, EncodeDate(2026, 12, 7)},
        {"ISO 8601 out of range", "3001-01-01", TypedDateReading::kOutOfRange, EncodeDate(3001, 1, 1)},
        {"ISO 8601 of a day that is not", "2026-02-29", TypedDateReading::kNoDate, 0},
        {"ISO 8601 leap day", "2024-02-29", TypedDateReading::kDate, EncodeDate(2024, 2, 29)},
    };
    for (const Row& row : rows) {
        const TypedDateReading reading = ReadTypedDate(row.text, first_, last_);
        EXPECT_EQ(reading.kind, row.kind) << row.meaning;
        EXPECT_EQ(reading.date, row.date) << row.meaning;
    }
}

TEST_F(TypedDateTest, keepsTheDecodersMessageBoxQuietAndPutsItBack) {
    int messages = 0;
    SetDecoderMessageHook([&](const std::string&) { ++messages; });
    // Four number words in a row are more than the decoder combines; it says so in a box.
    const std::string text = "twenty twenty twenty twenty December twenty one";
    EXPECT_EQ(ReadTypedDate(text, first_, last_).kind, TypedDateReading::kNoDate);
    EXPECT_EQ(messages, 0) << "typing must not raise a box at every key";
    TVorlanDecodeDate decoder;
    decoder.SetDateToDecode(text);
    EXPECT_EQ(messages, 1) << "the program's own hook is back";
    SetDecoderMessageHook({});
}

} // namespace
} // namespace kalendo
