// Feeds arbitrary bytes to the number readers and the tokenizer; see
// fuzz/xml_checks.h for what must hold.
#include <cstdio>
#include <cstdlib>

#include "fuzz/xml_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem = penwick::checks::checkNumbers(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "number readers: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
