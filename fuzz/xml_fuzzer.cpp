// Feeds arbitrary bytes to the XML reader, the writer and the value mapping
// of settings files; see fuzz/xml_checks.h for what must hold.
#include <cstdio>
#include <cstdlib>

#include "fuzz/xml_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem = penwick::checks::checkXml(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "XML reader: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
