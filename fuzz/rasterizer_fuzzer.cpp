// Feeds arbitrary paths to the rasterizer; see fuzz/raster_checks.h for what
// must hold.
#include <cstdio>
#include <cstdlib>

#include "fuzz/raster_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem = penwick::checks::checkRasterInput(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "rasterizer: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
