#pragma once
// The clipboard: the program's private binary format and plain text.
//
// A "KT_BINARY" payload is a 32-bit little-endian byte count n followed by
// the n bytes; what the bytes mean is the caller's business.

#include <cstdint>
#include <string_view>
#include <vector>

namespace penwick {

class ByteStream;

// The payload for n bytes, and the n bytes of a payload (false when the
// payload is shorter than its count says, or has no count).
std::vector<std::uint8_t> binaryPayload(const void* bytes, std::int32_t n);
bool payloadBytes(const std::vector<std::uint8_t>& payload, const std::uint8_t*& bytes,
                  std::int32_t& n);

// Adds the payload of `bytes` to the clipboard, leaving other formats in
// place; false when the clipboard cannot be opened or n is negative.
bool putBinary(const void* bytes, std::int32_t n);
// When the clipboard holds a well-formed payload, writes its bytes to
// `stream` and answers true.
bool getBinary(ByteStream& stream);
// With an empty format the clipboard is emptied and holds the text alone;
// otherwise the text and its terminating zero go in under that format.
bool putText(std::string_view text, std::string_view format = {});

}  // namespace penwick
