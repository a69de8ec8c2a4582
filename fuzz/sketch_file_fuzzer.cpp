// Feeds arbitrary bytes to the sketch file reader, raw and (for gzip input)
// through the gzip layer, and measures the memory reading takes through the
// sanitizer's allocation hooks; see fuzz/sketch_checks.h for what must hold.
#include <sanitizer/allocator_interface.h>

#include <cstdio>
#include <cstdlib>

#include "fuzz/memory_meter.h"
#include "fuzz/sketch_checks.h"

namespace {

void onAllocated(const volatile void*, size_t size) {
    penwick::checks::noteAllocated(size);
}

void onFreed(const volatile void* block) {
    penwick::checks::noteFreed(__sanitizer_get_allocated_size(const_cast<const void*>(block)));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (__sanitizer_install_malloc_and_free_hooks(onAllocated, onFreed) != 0)
        penwick::checks::setMeterInstalled();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string problem = penwick::checks::checkSketchFile(data, size);
    if (problem.empty()) problem = penwick::checks::checkReadMemory(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "sketch file reader: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
