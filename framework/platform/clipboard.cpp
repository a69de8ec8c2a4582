#include "framework/platform/clipboard.h"

#include <cstring>

#include "host/host.h"
#include "model/byte_stream.h"

namespace penwick {

namespace {

// Closes the clipboard on every way out.
class OpenClipboard {
  public:
    OpenClipboard() : open_(host::instance().openClipboard(host::kNoWindow)) {}
    ~OpenClipboard() {
        if (open_) host::instance().closeClipboard();
    }
    explicit operator bool() const { return open_; }

  private:
    bool open_;
};

}  // namespace

std::vector<std::uint8_t> binaryPayload(const void* bytes, std::int32_t n) {
    std::vector<std::uint8_t> payload(4 + std::size_t(n > 0 ? n : 0));
    std::uint32_t count = std::uint32_t(n > 0 ? n : 0);
    for (int i = 0; i < 4; ++i)
        payload[std::size_t(i)] = std::uint8_t(count >> (8 * i));
    if (count > 0) std::memcpy(payload.data() + 4, bytes, count);
    return payload;
}

bool payloadBytes(const std::vector<std::uint8_t>& payload, const std::uint8_t*& bytes,
                  std::int32_t& n) {
    if (payload.size() < 4) return false;
    std::uint32_t count = 0;
    for (int i = 0; i < 4; ++i)
        count |= std::uint32_t(payload[std::size_t(i)]) << (8 * i);
    // Data from another program may claim more than it holds.
    if (count > 0x7FFFFFFF || count > payload.size() - 4) return false;
    bytes = payload.data() + 4;
    n = std::int32_t(count);
    return true;
}

bool putBinary(const void* bytes, std::int32_t n) {
    if (n < 0 || (n > 0 && !bytes)) return false;
    OpenClipboard clipboard;
    if (!clipboard) return false;
    return host::instance().setClipboardData(host::kBinaryClipboardFormat, binaryPayload(bytes, n));
}

bool getBinary(ByteStream& stream) {
    host::Host& h = host::instance();
    if (!h.isClipboardFormatAvailable(host::kBinaryClipboardFormat)) return false;
    OpenClipboard clipboard;
    if (!clipboard) return false;
    auto payload = h.clipboardData(host::kBinaryClipboardFormat);
    const std::uint8_t* bytes = nullptr;
    std::int32_t n = 0;
    if (!payload || !payloadBytes(*payload, bytes, n)) return false;
    return n == 0 || stream.write(bytes, n) == n;
}

bool putText(std::string_view text, std::string_view format) {
    OpenClipboard clipboard;
    if (!clipboard) return false;
    host::Host& h = host::instance();
    if (format.empty()) return h.emptyClipboard() && h.setClipboardText(text);
    std::vector<std::uint8_t> block(text.begin(), text.end());
    block.push_back(0);
    return h.setClipboardData(format, std::move(block));
}

}  // namespace penwick
