// The long runs of render/pixel_runs.h in 32-byte stores, for processors
// that have AVX2; chosen at run time, so the program still runs on every
// x86-64 processor.

#include "render/pixel_runs.h"

#ifdef __x86_64__
#include <immintrin.h>
#endif

namespace penwick {

#ifdef __x86_64__

// Static initialisers may run before the compiler's own processor check has.
const bool longRunsUseAvx2 = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
}();

__attribute__((target("avx2"))) void fillLongRun32(uint8_t* at, int n, uint32_t pixel) {
    const __m256i eight = _mm256_set1_epi32(int(pixel));
    int i = 0;
    for (; i + 8 <= n; i += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(at + 4 * i), eight);
    // The last, partial group overlaps the one before it.
    if (i < n) _mm256_storeu_si256(reinterpret_cast<__m256i*>(at + 4 * (n - 8)), eight);
}

#else

const bool longRunsUseAvx2 = false;
void fillLongRun32(uint8_t*, int, uint32_t) {}

#endif

}  // namespace penwick
