// Writes the seed corpora of the sketch fuzz targets with the project's own
// writer: make_sketch_corpus <fuzz/corpus folder>.
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/sketch_samples.h"

using penwick::samples::Bytes;

namespace {

void save(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes) {
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    namespace samples = penwick::samples;
    const std::filesystem::path root = argv[1];
    const auto files = root / "sketch_file_fuzzer";
    const auto clipboard = root / "clipboard_fuzzer";

    const Bytes empty = samples::payloadOf(penwick::Sketch{});
    const Bytes varied = samples::payloadOf(samples::varied());
    const Bytes onePoint = samples::payloadOf(samples::onePoint());
    save(files, "empty-107.raw", empty);
    save(files, "varied-107.raw", varied);
    save(files, "one-point-107.raw", onePoint);
    save(files, "varied-107.gz", samples::gzipOf(varied));
    save(files, "empty-107.gz", samples::gzipOf(empty));
    save(files, "old-106.raw", samples::version106());
    save(files, "old-105.raw", samples::version105());
    save(files, "old-105.gz", samples::gzipOf(samples::version105()));

    penwick::Sketch selected = samples::varied();
    selected.shapes[1].selected = 1;
    save(clipboard, "all-shapes.clip", samples::clipboardOf(samples::varied()));
    save(clipboard, "one-shape.clip", samples::clipboardOf(selected));
    save(clipboard, "one-point.clip", samples::clipboardOf(samples::onePoint()));
    save(clipboard, "no-shapes.clip", samples::clipboardOf(penwick::Sketch{}));
    return 0;
}
