#include "render/save_to_file.h"

#include <cstdint>
#include <limits>

#include "model/sketch_file.h"

namespace penwick {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string_view extensionAfterLastDot(std::string_view name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    return name.substr(dot + 1);
}

// The SVG text goes to the stream in one write.
SaveWriter svgWriter(const std::string& text) {
    return [&text](ByteStream& out) {
        if (text.size() > size_t(std::numeric_limits<int32_t>::max())) return false;
        const auto size = static_cast<int32_t>(text.size());
        return out.write(text.data(), size) == size || size == 0;
    };
}

}  // namespace

SaveFormat saveFormatOf(std::string_view fileName) {
    const std::string_view ext = extensionAfterLastDot(fileName);
    if (equalsIgnoringCase(ext, "svg")) return SaveFormat::Svg;
    if (equalsIgnoringCase(ext, "svgz")) return SaveFormat::CompressedSvg;
    return SaveFormat::Sketch;
}

SaveResult saveToFile(const std::string& fileName, const Sketch& sketch, const ClientRect& client) {
    return saveToFile(fileName, sketch, client, systemFileSystem());
}

SaveResult saveToFile(const std::string& fileName, const Sketch& sketch, const ClientRect& client,
                      SaveFileSystem& files) {
    switch (saveFormatOf(fileName)) {
        case SaveFormat::Svg: {
            const std::string text = svgText(sketch, client);
            return safeSave(fileName, SaveCompression::None, svgWriter(text), files);
        }
        case SaveFormat::CompressedSvg: {
            const std::string text = svgText(sketch, client);
            return safeSave(fileName, SaveCompression::Gzip, svgWriter(text), files);
        }
        case SaveFormat::Sketch:
            break;
    }
    return safeSave(
        fileName, SaveCompression::Gzip,
        [&sketch](ByteStream& out) {
            writeSketch(out, sketch);
            return true;
        },
        files);
}

}  // namespace penwick
