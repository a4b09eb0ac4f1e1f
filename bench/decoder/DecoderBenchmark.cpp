#include "dates/DateEnvironment.h"
#include "dates/DateStringTranslater.h"
#include "dates/NamedDatesLocation.h"
#include "dates/VorlanDates.h"
#include "dates/VorlanDecodeDate.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

// Every allocation of the program is counted, so a benchmark can report allocations per decode.
namespace {
std::atomic<std::int64_t> gAllocations{0};
}

// GCC takes the free() below for a mismatch with operator new, not seeing that this operator new
// is the malloc() it pairs with.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace kalendo {
namespace {

// The examples of the decoder's description and long dates as the main window writes them.
const std::vector<std::string> kTypicalPhrases = {
    "Monday 7 December 2026",
    "Tuesday 8 December 2026",
    "Wednesday 9 December 2026",
    "Thursday 10 December 2026",
    "Friday 11 December 2026",
    "Saturday 12 December 2026",
    "Sunday 13 December 2026",
    "Monday 1 January 1752",
    "Friday 31 December 3000",
    "Tuesday 29 February 2028",
    "21st December 2026",
    "the first of May",
    "31/12/2026",
    "15",
    "end May",
    "tomorrow",
    "day after tomorrow",
    "3 days ago",
    "3 days after today",
    "2 weeks",
    "next week",
    "last month",
    "December last year",
    "Friday",
    "Monday",
    "next Friday",
    "last Friday",
    "Friday week",
    "10:30",
    "10:30pm",
    "now",
    "none",
    "yesterday",
    "twenty first of June",
    "2 months ago",
    "5 years ago",
    "7/12/2026 10:30",
    "end of February 2028",
    "next year",
    "today",
};

// Texts that decode to nothing, of the same lengths and kinds.
const std::vector<std::string> kRejectedPhrases = {
    "Monday 7 Decembre 2026",
    "tomorrow 10:30",
    "12/31/2026",
    "next day",
    "3 days 2 weeks ago",
    "hello",
    "31 November 2026",
    "the first of Smarch",
    "10:30 please",
    "pm 10:30",
    "month",
    "Friday after all",
    "twenty twenty twenty",
    "soon last year",
    "25:00",
    "Monday 7 December 2026 and then",
};

// Phrases that GNU date -f accepts as well, for the peer comparison.
const std::vector<std::string> kCommonPhrases = {
    "Monday 7 December 2026",
    "Tuesday 8 December 2026",
    "21 December 2026",
    "31 December 2026",
    "tomorrow",
    "yesterday",
    "today",
    "now",
    "3 days ago",
    "2 weeks ago",
    "next week",
    "last month",
    "next Friday",
    "last Friday",
    "Friday",
    "Monday",
    "10:30",
    "10:30pm",
    "22:30",
    "1 May 2026",
    "15 May 2026",
    "3 days",
    "2 weeks",
    "next month",
    "next year",
    "last year",
    "December 25 2026",
    "25 Dec 2026",
    "Dec 24 2026",
    "2 days ago",
    "Wednesday 9 December 2026",
    "Thursday 10 December 2026",
    "Friday 11 December 2026",
    "Saturday 12 December 2026",
    "Sunday 13 December 2026",
    "Monday 14 December 2026",
    "1 month ago",
    "6 months ago",
    "5 years ago",
    "10 days ago",
};

struct Environment {
    FormatSettings settings = UnitedKingdomSettings();
    FixedClock clock{EncodeDate(2026, 12, 9) + EncodeTime(14, 25, 30)};
};

const Environment& TheEnvironment() {
    static const Environment environment;
    return environment;
}

// A fresh decoder per text, as DecodeDateText does.
void DecodeFresh(benchmark::State& state, const std::vector<std::string>& phrases) {
    const Environment& environment = TheEnvironment();
    std::size_t next = 0;
    std::int64_t valid = 0;
    const std::int64_t allocationsBefore = gAllocations.load();
    for (auto _ : state) {
        TVorlanDecodeDate decoder(environment.settings, environment.clock);
        decoder.SetDateToDecode(phrases[next]);
        valid += decoder.ValidDateTime() ? 1 : 0;
        benchmark::DoNotOptimize(decoder.DecodedDate());
        next = next + 1 == phrases.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["valid_share"] = static_cast<double>(valid) / static_cast<double>(state.iterations());
    state.counters["allocs_per_decode"] = static_cast<double>(gAllocations.load() - allocationsBefore) /
                                          static_cast<double>(state.iterations());
}

void TypicalPhrasesFreshDecoder(benchmark::State& state) { DecodeFresh(state, kTypicalPhrases); }
BENCHMARK(TypicalPhrasesFreshDecoder);

void RejectedPhrasesFreshDecoder(benchmark::State& state) { DecodeFresh(state, kRejectedPhrases); }
BENCHMARK(RejectedPhrasesFreshDecoder);

void CommonPhrasesFreshDecoder(benchmark::State& state) { DecodeFresh(state, kCommonPhrases); }
BENCHMARK(CommonPhrasesFreshDecoder);

// One decoder for every text: after the first round its buffers are warm.
void TypicalPhrasesReusedDecoder(benchmark::State& state) {
    const Environment& environment = TheEnvironment();
    TVorlanDecodeDate decoder(environment.settings, environment.clock);
    for (const std::string& phrase : kTypicalPhrases)
        decoder.SetDateToDecode(phrase);
    std::size_t next = 0;
    const std::int64_t allocationsBefore = gAllocations.load();
    for (auto _ : state) {
        decoder.SetDateToDecode(kTypicalPhrases[next]);
        benchmark::DoNotOptimize(decoder.DecodedDate());
        next = next + 1 == kTypicalPhrases.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["allocs_per_decode"] = static_cast<double>(gAllocations.load() - allocationsBefore) /
                                          static_cast<double>(state.iterations());
}
BENCHMARK(TypicalPhrasesReusedDecoder);

// The free function of the date services: shared service, fresh decoder, error on failure.
void DecodeDateTextOfTheLongDate(benchmark::State& state) {
    const Environment& environment = TheEnvironment();
    const ScopedDateEnvironment scope(environment.settings, std::make_shared<FixedClock>(environment.clock));
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeDateText("Monday 7 December 2026"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DecodeDateTextOfTheLongDate);

// The free function with free text: the long date form's reader turns it away before the decoder.
void DecodeDateTextOfFreeText(benchmark::State& state) {
    const Environment& environment = TheEnvironment();
    const ScopedDateEnvironment scope(environment.settings, std::make_shared<FixedClock>(environment.clock));
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeDateText("3 days after 25 December 2026"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(DecodeDateTextOfFreeText);

// Time against the length of the text: N copies of a short phrase.
void TextOfLength(benchmark::State& state, const std::string& unit) {
    const Environment& environment = TheEnvironment();
    std::string text;
    while (text.size() < static_cast<std::size_t>(state.range(0)))
        text += unit;
    TVorlanDecodeDate decoder(environment.settings, environment.clock);
    for (auto _ : state) {
        decoder.SetDateToDecode(text);
        benchmark::DoNotOptimize(decoder.DecodedDate());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.SetComplexityN(state.range(0));
}
void LengthScalingWords(benchmark::State& state) { TextOfLength(state, "next Friday 3 days ago "); }
BENCHMARK(LengthScalingWords)->RangeMultiplier(8)->Range(64, 1 << 20)->Complexity(benchmark::oN);
void LengthScalingNumberWords(benchmark::State& state) { TextOfLength(state, "twenty one "); }
BENCHMARK(LengthScalingNumberWords)->RangeMultiplier(8)->Range(64, 1 << 20)->Complexity(benchmark::oN);
void LengthScalingDashes(benchmark::State& state) { TextOfLength(state, "x-"); }
BENCHMARK(LengthScalingDashes)->RangeMultiplier(8)->Range(64, 1 << 20)->Complexity(benchmark::oN);

// A named date from a cached section: the file is read once, then never again.
void NamedDateFromACachedSection(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path directory = fs::temp_directory_path() / ("kalendo-bench-" + std::to_string(::getpid()));
    fs::create_directories(directory);
    std::ofstream(directory / kNamedDatesFileName) << "[New Zealand]\nChristmas Day, 2026/12/25\n"
                                                      "Waitangi Day, 2026/02/06\n[Other]\n";
    const Environment& environment = TheEnvironment();
    const ScopedDateEnvironment scope(environment.settings, std::make_shared<FixedClock>(environment.clock));
    SetNamedDatesSource(directory.string(), "New Zealand");
    const int readsBefore = SharedDateStringTranslater().FileReads();
    TVorlanDecodeDate decoder(environment.settings, environment.clock);
    for (auto _ : state) {
        decoder.SetDateToDecode("3 days after Christmas");
        benchmark::DoNotOptimize(decoder.DecodedDate());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["file_reads"] = SharedDateStringTranslater().FileReads() - readsBefore;
    SetNamedDatesSource("", "");
    fs::remove_all(directory);
}
BENCHMARK(NamedDateFromACachedSection);

// A named date of the shipped table, the last section of the file, once it is cached: the
// translator checks the file's size and time and searches the current year's rows.
void NamedDateFromTheShippedTable(benchmark::State& state) {
    const Environment& environment = TheEnvironment();
    const ScopedDateEnvironment scope(environment.settings, std::make_shared<FixedClock>(environment.clock));
    SetNamedDatesSource(SourceTreeDataDirectory().string(), "Japan");
    TVorlanDecodeDate decoder(environment.settings, environment.clock);
    decoder.SetDateToDecode("culture day");
    if (!decoder.ValidDateTime()) state.SkipWithError("the shipped table has no Culture Day");
    const int readsBefore = SharedDateStringTranslater().FileReads();
    for (auto _ : state) {
        decoder.SetDateToDecode("3 days after culture day");
        benchmark::DoNotOptimize(decoder.DecodedDate());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["file_reads"] = SharedDateStringTranslater().FileReads() - readsBefore;
    SetNamedDatesSource("", "");
}
BENCHMARK(NamedDateFromTheShippedTable);

// The peer: GNU date reading the common phrases from a file, timed as a whole process.
void GnuDateFile(benchmark::State& state) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kalendo-bench-gnu-" + std::to_string(::getpid()) + ".txt"))
                                 .string();
    constexpr int kRounds = 5000;
    {
        std::ofstream out(path);
        for (int round = 0; round < kRounds; ++round)
            for (const std::string& phrase : kCommonPhrases)
                out << phrase << '\n';
    }
    const std::int64_t lines =
        static_cast<std::int64_t>(kRounds) * static_cast<std::int64_t>(kCommonPhrases.size());
    const std::string command = "TZ=UTC LC_ALL=C date -f " + path + " > /dev/null 2>&1";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (status != 0) state.SkipWithError("date -f failed");
        state.SetIterationTime(elapsed);
    }
    state.SetItemsProcessed(state.iterations() * lines);
    std::filesystem::remove(path);
}
BENCHMARK(GnuDateFile)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace kalendo
