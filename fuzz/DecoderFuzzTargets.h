#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kalendo::fuzz {

// The bodies of the decoder's fuzz harnesses, shared with the test that replays their corpora.
// Each returns an empty text when every invariant held, else what went wrong.

// The bytes as typed text, decoded on Wednesday 9 December 2026 with a small named-dates file in
// one of three locales (day-month-year, month-day-year, year-month-day, chosen by the length),
// directly and through DecodeDateText, which may only raise its own message.
std::string DecodeOneInput(const std::uint8_t* data, std::size_t size);

// The bytes as a named-dates file "DateScan.DAT": read for three sections and 2026, then
// searched. Malformed rows may raise kalendo::Error; nothing else may escape. The holiday
// engine's every-year reader never raises, and agrees with the first reader on 2026.
std::string LoadNamedDatesOneInput(const std::uint8_t* data, std::size_t size);

} // namespace kalendo::fuzz
