// Replays the rasterizer fuzz target's stored inputs (fuzz/corpus/
// rasterizer_fuzzer/) through the same checks.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/raster_checks.h"

namespace penwick {
namespace {

TEST(RasterizerCorpus, StoredInputsPassTheFuzzChecks) {
    const std::filesystem::path folder =
        std::filesystem::path(PENWICK_SOURCE_DIR) / "fuzz/corpus/rasterizer_fuzzer";
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        EXPECT_EQ(checks::checkRasterInput(bytes.data(), bytes.size()), "")
            << entry.path().filename();
        ++replayed;
    }
    EXPECT_GE(replayed, 6);
}

}  // namespace
}  // namespace penwick
