#pragma once
// gzip files read and written by zlib itself, independent of the program's
// GzStream, so that the tests check the program's files against zlib.

#include <string>
#include <string_view>
#include <vector>

namespace penwick::testing {

// Everything a gzip file holds, decompressed; "(cannot open)" when it cannot
// be opened and "(damaged)" when its data is damaged or ends inside the
// compressed stream, so a broken file never equals the expected content. A
// file that is not compressed reads as itself (as zlib reads it).
std::string gunzip(const std::string& path);

// Writes `content` as a gzip file; false when it could not.
bool writeGzipFile(const std::string& path, std::string_view content);

// Whether the bytes begin as a gzip file does (0x1F 0x8B).
bool isGzip(const std::vector<unsigned char>& bytes);

}  // namespace penwick::testing
