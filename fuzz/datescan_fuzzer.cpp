#include "DecoderFuzzTargets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem = kalendo::fuzz::LoadNamedDatesOneInput(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "named-dates invariant broken: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
