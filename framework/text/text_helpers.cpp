#include "framework/text/text_helpers.h"

#include <algorithm>
#include <cstring>

namespace penwick {

int32_t findText(std::string_view haystack, std::string_view needle, int32_t from) {
    int64_t start = from < 0 ? int64_t(haystack.size()) + from : from;
    if (start < 0) start = 0;
    if (start > int64_t(haystack.size())) return -1;
    size_t hit = haystack.find(needle, size_t(start));
    return hit == std::string_view::npos ? -1 : int32_t(hit);
}

int32_t countText(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return 0;
    int32_t count = 0;
    for (size_t at = haystack.find(needle); at != std::string_view::npos;
         at = haystack.find(needle, at + needle.size())) {
        ++count;
    }
    return count;
}

int32_t replaceChar(ktString& text, char a, char b) {
    if (text.isEmpty()) return 0;
    char* bytes = text.reserve(text.length());
    int32_t count = 0;
    for (int32_t i = 0; i < text.length(); ++i) {
        if (bytes[i] == a) {
            bytes[i] = b;
            ++count;
        }
    }
    return count;
}

int32_t copyText(char* dest, std::string_view src, int32_t n) {
    if (n <= 0 || !dest) return 0;
    size_t count = std::min(src.size(), size_t(n - 1));
    std::memcpy(dest, src.data(), count);
    dest[count] = 0;
    return int32_t(count);
}

std::unique_ptr<char[]> duplicate(std::string_view text, int32_t minSize) {
    size_t size = std::max(text.size() + 1, size_t(std::max(minSize, 0)));
    auto copy = std::make_unique<char[]>(size);
    std::memcpy(copy.get(), text.data(), text.size());
    return copy;
}

namespace {

bool isBreak(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

ktString wordWrap(std::string_view text, int32_t width, bool hard) {
    if (width <= 0) return ktString(text);
    ktString out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t lineEnd = text.find('\n', start);
        bool lastLine = lineEnd == std::string_view::npos;
        std::string_view line =
            text.substr(start, lastLine ? std::string_view::npos : lineEnd - start);
        while (line.size() > size_t(width)) {
            size_t cut = std::string_view::npos;
            if (hard) {
                cut = size_t(width);
            } else {
                // A break point at index `width` still leaves `width` bytes before it.
                for (size_t i = std::min(line.size() - 1, size_t(width)) + 1; i-- > 0;) {
                    if (isBreak(line[i])) {
                        cut = i;
                        break;
                    }
                }
            }
            if (cut == std::string_view::npos) break;
            size_t next = cut;
            while (next < line.size() && isBreak(line[next]))
                ++next;
            size_t keep = cut;
            while (keep > 0 && isBreak(line[keep - 1]))
                --keep;
            out.append(line.substr(0, keep));
            if (next >= line.size()) {
                line = {};
                break;
            }
            out.append('\n');
            line.remove_prefix(next);
        }
        out.append(line);
        if (lastLine) break;
        out.append('\n');
        start = lineEnd + 1;
    }
    return out;
}

bool lineOf(std::string_view text, size_t& position, ktString& line) {
    size_t p = position;
    for (;;) {
        if (p < text.size() && text[p] == '\n') {
            ++p;
        } else if (p + 1 < text.size() && text[p] == '\r' && text[p + 1] == '\n') {
            p += 2;
        } else {
            break;
        }
    }
    if (p >= text.size()) {
        position = p;
        return false;
    }
    size_t lineEnd = text.find('\n', p);
    std::string_view taken =
        text.substr(p, lineEnd == std::string_view::npos ? std::string_view::npos : lineEnd - p);
    line.assign("");
    size_t from = 0;
    for (size_t cr = taken.find('\r'); cr != std::string_view::npos; cr = taken.find('\r', from)) {
        line.append(taken.substr(from, cr - from));
        from = cr + 1;
    }
    line.append(taken.substr(from));
    position = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
    return true;
}

}  // namespace penwick
