#include "framework/text/tokenizer.h"

#include <cstring>

#include "framework/text/ascii.h"
#include "framework/text/numbers.h"

namespace penwick {

ktTokenizer::ktTokenizer(std::string_view text, std::string_view setA, std::string_view setB)
    : cursor_(text.data()), hasA_(!setA.empty()), hasB_(!setB.empty()) {
    for (size_t i = 0; i + 1 < setA.size(); i += 2) {
        for (int c = static_cast<unsigned char>(setA[i]);
             c <= static_cast<unsigned char>(setA[i + 1]); ++c) {
            inA_.set(size_t(c));
        }
    }
    for (char c : setB)
        inB_.set(static_cast<unsigned char>(c));
    const void* zero = std::memchr(text.data(), 0, text.size());
    end_ = zero ? static_cast<const char*>(zero) : text.data() + text.size();
}

bool ktTokenizer::inSetA(char c) const {
    return inA_.test(static_cast<unsigned char>(c));
}

bool ktTokenizer::isDelimiter(char c) const {
    return inB_.test(static_cast<unsigned char>(c));
}

bool ktTokenizer::skipSpace() {
    for (;;) {
        while (cursor_ < end_ && isTextSpace(*cursor_))
            ++cursor_;
        if (!hasB_ || cursor_ >= end_ || !inSetA(*cursor_)) break;
        const void* lineEnd = std::memchr(cursor_, '\n', size_t(end_ - cursor_));
        cursor_ = lineEnd ? static_cast<const char*>(lineEnd) + 1 : end_;
    }
    return cursor_ < end_;
}

int32_t ktTokenizer::tokenLength() const {
    const char* p = cursor_;
    if (p >= end_) return 0;
    if (hasB_) {
        if (isDelimiter(*p)) return 1;
        while (p < end_ && !isTextSpace(*p) && !isDelimiter(*p))
            ++p;
    } else if (hasA_) {
        if (!inSetA(*p)) return 1;
        while (p < end_ && inSetA(*p))
            ++p;
    } else {
        while (p < end_ && !isTextSpace(*p))
            ++p;
    }
    return int32_t(p - cursor_);
}

bool ktTokenizer::expect(std::string_view text) {
    skipSpace();
    int32_t n = tokenLength();
    if (size_t(n) != text.size() || std::memcmp(cursor_, text.data(), text.size()) != 0) {
        return false;
    }
    cursor_ += n;
    return true;
}

bool ktTokenizer::readToken(ktString& out) {
    if (!skipSpace()) return false;
    int32_t n = tokenLength();
    if (n == 0) return false;
    out.assign(cursor_, n);
    cursor_ += n;
    return true;
}

bool ktTokenizer::readQuoted(ktString& out) {
    if (!skipSpace()) return false;
    if (*cursor_ != '"') return readToken(out);
    const char* start = cursor_ + 1;
    const void* close = std::memchr(start, '"', size_t(end_ - start));
    const char* stop = close ? static_cast<const char*>(close) : end_;
    out.assign(start, int32_t(stop - start));
    cursor_ = close ? stop + 1 : end_;
    return true;
}

bool ktTokenizer::readNumber(int32_t& out) {
    int32_t used = readIntegerNumber(rest(), out);
    cursor_ += used;
    return used > 0;
}

bool ktTokenizer::readReal(double& out) {
    int32_t used = readRealNumber(rest(), out);
    cursor_ += used;
    return used > 0;
}

}  // namespace penwick
