// Builds settings trees through the API from arbitrary bytes and saves and
// loads them; see fuzz/settings_checks.h for what must hold.
#include <cstdio>
#include <cstdlib>

#include "fuzz/settings_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem = penwick::checks::checkSettingsApi(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "settings: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
