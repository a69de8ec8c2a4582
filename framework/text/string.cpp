#include "framework/text/string.h"

#include <cstring>
#include <ostream>

#include "framework/text/ascii.h"
#include "framework/text/failure.h"
#include "framework/text/numbers.h"

namespace penwick {

char ktString::emptyBuffer_[1] = {0};

int64_t ktString::allocationSize(int64_t size) {
    if (size < 256) return size;
    // The block b is the largest power of two from 16 up with 16 * b below
    // the size, kept below 0xFFFFF.
    int64_t block = 16;
    while (16 * block < size && block * 2 < 0xFFFFF)
        block *= 2;
    return (size + block - 1) / block * block;
}

int32_t ktString::sizeLimit(size_t n) {
    if (n > size_t(INT32_MAX) - 1) throwFailure("ktString: text too long");
    return int32_t(n);
}

ktString::ktString(ktString&& other) noexcept : text_(other.text_), length_(other.length_) {
    other.text_ = emptyBuffer_;
    other.length_ = 0;
}

ktString& ktString::operator=(const ktString& other) {
    if (this != &other) assign(other);
    return *this;
}

ktString& ktString::operator=(ktString&& other) noexcept {
    if (this != &other) {
        freeBuffer();
        text_ = other.text_;
        length_ = other.length_;
        other.text_ = emptyBuffer_;
        other.length_ = 0;
    }
    return *this;
}

bool ktString::owns() const {
    return text_ != emptyBuffer_;
}

void ktString::freeBuffer() {
    if (owns()) delete[] text_;
    text_ = emptyBuffer_;
    length_ = 0;
}

void ktString::resizeTo(int32_t n, int32_t keep) {
    if (n == 0) {
        freeBuffer();
        return;
    }
    int64_t wanted = allocationSize(int64_t(n) + 1);
    if (wanted > INT32_MAX) throwFailure("ktString: text too long");
    // The buffer in hand holds at least allocationSize(length + 1) bytes:
    // strings shorten in place and never give memory back.
    if (!owns() || allocationSize(int64_t(length_) + 1) < wanted) {
        char* grown = new char[size_t(wanted)];
        if (keep > 0) std::memcpy(grown, text_, size_t(keep));
        if (owns()) delete[] text_;
        text_ = grown;
    }
    length_ = n;
    text_[n] = 0;
}

ktString& ktString::assign(const char* text) {
    return assign(text, text ? sizeLimit(std::strlen(text)) : 0);
}

ktString& ktString::assign(const char* text, int32_t n) {
    if (n <= 0 || !text) {
        freeBuffer();
        return *this;
    }
    // The source may lie inside this string's own buffer.
    if (owns() && text >= text_ && text <= text_ + length_) {
        ktString copy(text, n);
        *this = std::move(copy);
        return *this;
    }
    resizeTo(n, 0);
    std::memcpy(text_, text, size_t(n));
    return *this;
}

ktString& ktString::fill(int32_t n, char c) {
    if (n <= 0) {
        freeBuffer();
        return *this;
    }
    resizeTo(n, 0);
    std::memset(text_, c, size_t(n));
    return *this;
}

char* ktString::reserve(int32_t n) {
    if (length_ < n) fill(n, ' ');
    return text_;
}

ktString& ktString::append(const char* text) {
    return append(text, text ? sizeLimit(std::strlen(text)) : 0);
}

ktString& ktString::append(const char* text, int32_t n) {
    if (n <= 0 || !text) return *this;
    if (owns() && text >= text_ && text <= text_ + length_) {
        ktString copy(text, n);
        return append(copy);
    }
    int32_t old = length_;
    resizeTo(sizeLimit(size_t(old) + size_t(n)), old);
    std::memcpy(text_ + old, text, size_t(n));
    return *this;
}

ktString ktString::concat(std::string_view text) const {
    ktString joined(*this);
    joined.append(text);
    return joined;
}

ktString ktString::left(int32_t n) const {
    if (n <= 0) return {};
    return ktString(text_, n < length_ ? n : length_);
}

ktString ktString::mid(int32_t from) const {
    if (from < 0) from = 0;
    if (from >= length_) return {};
    return ktString(text_ + from, length_ - from);
}

ktString ktString::right(int32_t n) const {
    if (n <= 0) return {};
    if (n >= length_) return *this;
    return ktString(text_ + length_ - n, n);
}

void ktString::dropLast(int32_t n) {
    if (n <= 0) return;
    if (n >= length_) {
        freeBuffer();
        return;
    }
    length_ -= n;
    text_[length_] = 0;
}

void ktString::dropFirst(int32_t n) {
    if (n <= 0) return;
    if (n >= length_) {
        freeBuffer();
        return;
    }
    std::memmove(text_, text_ + n, size_t(length_ - n));
    length_ -= n;
    text_[length_] = 0;
}

int32_t ktString::find(char c, int32_t from) const {
    if (from < 0) from = 0;
    if (from >= length_) return -1;
    auto* hit = static_cast<const char*>(std::memchr(text_ + from, c, size_t(length_ - from)));
    return hit ? int32_t(hit - text_) : -1;
}

int32_t ktString::findLast(char c, int32_t before) const {
    int32_t i = before < 0 ? length_ + before : before;
    if (i >= length_) i = length_ - 1;
    for (; i >= 0; --i) {
        if (text_[i] == c) return i;
    }
    return -1;
}

int32_t ktString::replaceAll(std::string_view what, std::string_view with) {
    if (what.empty() || int64_t(what.size()) > length_) return 0;
    ktString result;
    int32_t count = 0;
    std::string_view rest = view();
    for (;;) {
        size_t hit = rest.find(what);
        if (hit == std::string_view::npos) break;
        result.append(rest.substr(0, hit));
        result.append(with);
        rest.remove_prefix(hit + what.size());
        ++count;
    }
    if (count > 0) {
        result.append(rest);
        *this = std::move(result);
    }
    return count;
}

bool ktString::equalsNoCase(std::string_view text) const {
    if (text.size() != size_t(length_)) return false;
    for (int32_t i = 0; i < length_; ++i) {
        if (asciiLower(text_[i]) != asciiLower(text[size_t(i)])) return false;
    }
    return true;
}

bool ktString::takeNumber(int32_t& out) {
    int32_t used = readIntegerNumber(view(), out);
    if (used == 0) return false;
    while (used < length_ && isTextSpace(text_[used]))
        ++used;
    dropFirst(used);
    return true;
}

std::unique_ptr<char[]> ktString::release() {
    if (!owns()) return nullptr;
    std::unique_ptr<char[]> buffer(text_);
    text_ = emptyBuffer_;
    length_ = 0;
    return buffer;
}

void ktString::toUpper() {
    for (int32_t i = 0; i < length_; ++i)
        text_[i] = asciiUpper(text_[i]);
}

void ktString::toLower() {
    for (int32_t i = 0; i < length_; ++i)
        text_[i] = asciiLower(text_[i]);
}

std::ostream& operator<<(std::ostream& out, const ktString& s) {
    return out << s.view();
}

}  // namespace penwick
