// Feeds arbitrary bytes to the sketch file reader, raw and (for gzip input)
// through the gzip layer; see fuzz/sketch_checks.h for what must hold.
#include <cstdio>
#include <cstdlib>

#include "fuzz/sketch_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem = penwick::checks::checkSketchFile(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "sketch file reader: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
