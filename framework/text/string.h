#pragma once

// ktString: the framework's 8-bit byte string.
//
// A pointer to a zero-terminated buffer and a 32-bit length. Every empty
// string shares one static empty buffer, so an empty string never allocates.
// A buffer for n bytes plus the terminator has the rounded size
// allocationSize(n + 1): exact below 256 bytes, larger ones rounded up so that
// repeated appends reallocate rarely. Positions are byte indices; letters are
// the ASCII letters only.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string_view>

namespace penwick {

class ktString {
  public:
    ktString() = default;
    ktString(const char* text) { assign(text); }  // NOLINT: plain text converts
    ktString(const char* text, int32_t n) { assign(text, n); }
    explicit ktString(std::string_view text) { assign(text.data(), sizeLimit(text.size())); }
    ktString(const ktString& other) { assign(other); }
    ktString(ktString&& other) noexcept;
    ktString& operator=(const ktString& other);
    ktString& operator=(ktString&& other) noexcept;
    ktString& operator=(const char* text) { return assign(text); }
    ~ktString() { freeBuffer(); }

    // The bytes allocated for a buffer that must hold `size` bytes.
    static int64_t allocationSize(int64_t size);

    const char* c_str() const { return text_; }
    int32_t length() const { return length_; }
    bool isEmpty() const { return length_ == 0; }
    std::string_view view() const { return {text_, size_t(length_)}; }
    char operator[](int32_t i) const { return text_[i]; }

    ktString& assign(const char* text);
    ktString& assign(const char* text, int32_t n);
    ktString& assign(const ktString& other) { return assign(other.text_, other.length_); }
    ktString& fill(int32_t n, char c);
    // When shorter than n, becomes n spaces; returns the buffer for writing.
    char* reserve(int32_t n);

    ktString& append(const char* text);
    ktString& append(const char* text, int32_t n);
    ktString& append(std::string_view text) { return append(text.data(), sizeLimit(text.size())); }
    ktString& append(const ktString& text) { return append(text.text_, text.length_); }
    ktString& append(char c) { return append(&c, 1); }
    ktString concat(std::string_view text) const;

    ktString left(int32_t n) const;
    ktString mid(int32_t from) const;
    ktString right(int32_t n) const;
    void dropLast(int32_t n);
    void dropFirst(int32_t n);

    // First index of c at or after `from`, -1 when none.
    int32_t find(char c, int32_t from = 0) const;
    // Last index of c at or before `before`; a negative `before` counts from
    // the end (-1 is the last byte). -1 when none.
    int32_t findLast(char c, int32_t before = -1) const;
    // Replaces every occurrence left to right without rescanning replaced
    // text; returns the count.
    int32_t replaceAll(std::string_view what, std::string_view with);

    bool equals(std::string_view text) const { return view() == text; }
    bool equalsNoCase(std::string_view text) const;

    // Reads a number at the start (as the tokenizer's readNumber) and keeps
    // only what follows it, leading whitespace removed. False, and nothing
    // changed, when no number is there.
    bool takeNumber(int32_t& out);

    // Hands the buffer to the caller (null for the empty string) and leaves
    // the string empty.
    std::unique_ptr<char[]> release();

    void toUpper();
    void toLower();

    friend bool operator==(const ktString& a, const ktString& b) { return a.view() == b.view(); }
    friend bool operator==(const ktString& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const ktString& a, const char* b) { return a.view() == b; }
    friend std::ostream& operator<<(std::ostream& out, const ktString& s);

  private:
    static int32_t sizeLimit(size_t n);
    bool owns() const;
    void freeBuffer();
    // Makes room for n bytes plus the terminator, keeping the first `keep`
    // bytes; length becomes n (terminator written).
    void resizeTo(int32_t n, int32_t keep);

    char* text_ = emptyBuffer_;
    int32_t length_ = 0;
    static char emptyBuffer_[1];
};

}  // namespace penwick
