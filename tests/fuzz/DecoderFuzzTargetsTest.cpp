#include "DecoderFuzzTargets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kalendo::fuzz {
namespace {

namespace fs = std::filesystem;

using Harness = std::string (*)(const std::uint8_t*, std::size_t);

// Feeds every file of one corpus folder through a harness; returns how many it read.
int Replay(const std::string& corpus, Harness harness) {
    int files = 0;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(KALENDO_FUZZ_CORPUS_DIR) / corpus)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_EQ(harness(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), "");
        ++files;
    }
    return files;
}

TEST(DecoderFuzzTargets, decodeCorpus_keepsEveryInvariant) {
    EXPECT_GE(Replay("decode", &DecodeOneInput), 40);
}

TEST(DecoderFuzzTargets, datescanCorpus_keepsEveryInvariant) {
    EXPECT_GE(Replay("datescan", &LoadNamedDatesOneInput), 10);
}

TEST(DecoderFuzzTargets, harnesses_answerAnEmptyInput) {
    EXPECT_EQ(DecodeOneInput(nullptr, 0), "");
    EXPECT_EQ(LoadNamedDatesOneInput(nullptr, 0), "");
}

} // namespace
} // namespace kalendo::fuzz
