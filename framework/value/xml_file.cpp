#include "framework/value/xml_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "framework/text/path_names.h"
#include "framework/value/xml_reader.h"
#include "model/gz_stream.h"
#include "model/regular_file.h"

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

// Reads a descriptor it owns.
class DescriptorStream final : public ByteStream {
  public:
    explicit DescriptorStream(int fd) : fd_(fd) {}
    ~DescriptorStream() override { ::close(fd_); }
    int32_t read(void* buffer, int32_t length) override {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, size_t(length));
            if (got >= 0 || errno != EINTR) return int32_t(got);
        }
    }
    int32_t write(const void*, int32_t) override { return -1; }

  private:
    int fd_;
};

bool readFully(ByteStream& stream, std::string& text) {
    size_t had = 0;
    while (had < text.size()) {
        const size_t ask = std::min(text.size() - had, size_t{1} << 30);
        const int32_t got = stream.read(text.data() + had, int32_t(ask));
        if (got <= 0) return false;
        had += size_t(got);
    }
    return true;
}

}  // namespace

bool readXmlFileText(const std::string& fileName, std::string& text) {
    // Only a regular file: a FIFO or a device named as a settings file would
    // make the program wait for ever at its start.
    RegularFile file = openRegularFile(fileName);
    if (file.fd < 0) return false;
    if (hasExtension(fileName, "gz")) {
        GzStream gz;
        if (!gz.openDescriptor(file.fd, "rb")) {
            ::close(file.fd);
            return false;
        }
        return readAll(gz, text);
    }
    DescriptorStream plain(file.fd);
    if (file.size < 0 || file.size > kMaxXmlFileSize) return false;
    text.resize(size_t(file.size));
    // The read counts only when every byte arrived.
    return file.size == 0 || readFully(plain, text);
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
