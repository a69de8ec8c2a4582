#include "framework/value/xml_file.h"

#include "framework/text/path_names.h"
#include "framework/value/xml_reader.h"
#include "model/file_stream.h"
#include "model/gz_stream.h"

namespace penwick {

namespace {

bool readAll(ByteStream& stream, std::string& text) {
    constexpr int32_t kPiece = 1 << 16;
    text.clear();
    for (;;) {
        size_t had = text.size();
        if (int64_t(had) + kPiece > kMaxXmlFileSize + kPiece) return false;
        text.resize(had + kPiece);
        int32_t got = stream.read(text.data() + had, kPiece);
        if (got < 0) return false;  // damaged or cut-off compressed data
        text.resize(had + size_t(got));
        if (got == 0) return int64_t(text.size()) <= kMaxXmlFileSize;
    }
}

}  // namespace

bool readXmlFileText(const std::string& fileName, std::string& text) {
    if (hasExtension(fileName, "gz")) {
        GzStream gz;
        return gz.open(fileName.c_str(), "rb") && readAll(gz, text);
    }
    FileStream file;
    if (!file.open(fileName.c_str(), "rb")) return false;
    int64_t size = file.fileSize();
    if (size < 0 || size > kMaxXmlFileSize) return false;
    text.resize(size_t(size));
    // The read counts only when every byte arrived.
    return size == 0 || file.read(text.data(), int32_t(size)) == int32_t(size);
}

bool loadXmlDocument(const std::string& fileName, XmlElement& document) {
    std::string text;
    if (!readXmlFileText(fileName, text)) return false;
    XmlReader reader(text);
    reader.readDocument(document);
    return true;
}

SaveResult saveXmlDocument(const std::string& fileName, const XmlElement& document) {
    return saveXmlDocument(fileName, document, systemFileSystem());
}

SaveResult saveXmlDocument(const std::string& fileName, const XmlElement& document,
                           SaveFileSystem& files) {
    return safeSave(
        fileName, SaveCompression::None,
        [&document](ByteStream& stream) {
            XmlOutput out(stream);
            for (const XmlNodeRef& node : document.children())
                node->writeInto(out);
            return out.flush();
        },
        files);
}

}  // namespace penwick
