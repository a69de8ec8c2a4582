// The properties every input to the sketch readers must keep, shared by the
// fuzz targets and the test suite (which replays the stored corpora):
// - an accepted input, written again and read back, gives the same sketch;
// - a rejected input leaves the target sketch exactly as it was and says why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace penwick::checks {

// Each returns "" when the property held, otherwise what went wrong.

// The bytes as a decompressed sketch file (through a memory stream) and, when
// they look like gzip, as a file on disk through the gzip reader and through
// the page loader, which must answer exactly as the gzip reader does.
std::string checkSketchFile(const uint8_t* data, size_t size);
// The bytes as a clipboard payload pasted into a sketch with shapes.
std::string checkClipboard(const uint8_t* data, size_t size);

// The bytes as a decompressed sketch file, read with the limits below while
// the memory meter (fuzz/memory_meter.h) watches: reading may take at most
// kReadMemoryLimits.memoryPerByte bytes per byte of input plus its headroom.
// The headroom is far smaller than a real reading's, so that small inputs
// show any amplification. "" without an installed meter.
std::string checkReadMemory(const uint8_t* data, size_t size);
inline constexpr size_t kReadMemoryHeadroom = size_t{2} << 20;

}  // namespace penwick::checks
