#pragma once

// What must hold for any path the rasterizer is given, shared by the
// rasterizer fuzz target and the test that replays its corpus.

#include <cstddef>
#include <cstdint>
#include <string>

namespace penwick::checks {

// Decodes bytes into a target size, format, opacity and path (raw float
// coordinates, so NaN, infinities and huge values come up), fills it into a
// buffer surrounded by guard bytes and returns a description of the first
// problem: a write outside the buffer, or, for moderate finite coordinates,
// pixels that differ from the straightforward rasterizer. Empty when all is
// well.
std::string checkRasterInput(const uint8_t* data, size_t size);

}  // namespace penwick::checks
