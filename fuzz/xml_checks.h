// The properties every input to the XML reader and the number readers must
// keep, shared by the fuzz targets and the test suite (which replays the
// stored corpora):
// - the XML reader reads any bytes; what it read writes out to bytes that
//   read and write back to the very same bytes;
// - a value tree loaded from any bytes saves to a settings text that loads
//   back to a tree saving to the same text;
// - the number readers never use more bytes than they are given, leave their
//   output alone when they find no number, and agree with a plain reading of
//   the digits they used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace penwick::checks {

// Each returns "" when the properties held, otherwise what went wrong.
std::string checkXml(const uint8_t* data, size_t size);
std::string checkNumbers(const uint8_t* data, size_t size);

}  // namespace penwick::checks
