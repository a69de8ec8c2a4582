#include "tests/support/gzip.h"

#include <zlib.h>

namespace penwick::testing {

std::string gunzip(const std::string& path) {
    gzFile in = gzopen(path.c_str(), "rb");
    if (in == nullptr) return "(cannot open)";
    std::string out;
    char block[4096];
    int n;
    while ((n = gzread(in, block, sizeof block)) > 0)
        out.append(block, size_t(n));
    // Z_BUF_ERROR: the input ended in the middle of a gzip stream.
    int error = Z_OK;
    gzerror(in, &error);
    const bool damaged = n < 0 || (error != Z_OK && error != Z_STREAM_END);
    const bool closed = gzclose(in) == Z_OK;
    return damaged || !closed ? "(damaged)" : out;
}

bool writeGzipFile(const std::string& path, std::string_view content) {
    gzFile out = gzopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool written =
        content.empty() ||
        gzwrite(out, content.data(), unsigned(content.size())) == int(content.size());
    return gzclose(out) == Z_OK && written;
}

bool isGzip(const std::vector<unsigned char>& bytes) {
    return bytes.size() >= 2 && bytes[0] == 0x1F && bytes[1] == 0x8B;
}

}  // namespace penwick::testing
