#pragma once

// ktVS: an abstract character sequence with positions, and its two
// implementations: ktTextView (a read-only view of bytes) and ktTextBuffer
// (an owned growable byte string, the result type of the formatter).
//
// Operations a sequence does not support throw their fixed failure text
// through throwFailure ("Append() not implemented").

#include <cstdint>
#include <string_view>
#include <vector>

namespace penwick {

class ktVS;

// A position in a sequence; what `value` means belongs to the sequence
// (a byte address for a view, an index for a buffer).
struct ktVSPosition {
    const ktVS* sequence = nullptr;
    intptr_t value = 0;

    friend bool operator==(const ktVSPosition&, const ktVSPosition&) = default;
};

class ktVS {
  public:
    virtual ~ktVS() = default;

    virtual ktVSPosition begin() const = 0;
    virtual ktVSPosition end() const = 0;
    virtual ktVSPosition normalize(ktVSPosition p) const { return p; }
    // Capability queries; every sequence so far answers 1 to both.
    virtual int isReadable() const { return 1; }
    virtual int isRandomAccess() const { return 1; }
    virtual intptr_t distance(ktVSPosition from, ktVSPosition to) const = 0;
    virtual ktVSPosition advance(ktVSPosition p, intptr_t n) const = 0;
    virtual char charAt(ktVSPosition p) const = 0;
    virtual intptr_t length() const { return distance(begin(), end()); }
    virtual void SetChar(ktVSPosition p, char c);
    virtual void Append(char c);
    // Appends the bytes of another sequence from `from` up to `to`.
    virtual void appendRange(ktVSPosition from, ktVSPosition to);
    virtual void Replace(ktVSPosition from, ktVSPosition to, std::string_view with);
    virtual void Empty();

    // Empty() followed by appending the text.
    void assign(std::string_view text);
};

class ktTextView : public ktVS {
  public:
    // A negative length means up to the terminating zero.
    ktTextView(const char* text, intptr_t length = -1);
    explicit ktTextView(std::string_view text) : ktTextView(text.data(), intptr_t(text.size())) {}

    ktVSPosition begin() const override { return at(text_); }
    ktVSPosition end() const override { return at(text_ + length_); }
    intptr_t distance(ktVSPosition from, ktVSPosition to) const override {
        return to.value - from.value;
    }
    ktVSPosition advance(ktVSPosition p, intptr_t n) const override { return {this, p.value + n}; }
    char charAt(ktVSPosition p) const override { return *reinterpret_cast<const char*>(p.value); }

    std::string_view view() const { return {text_, size_t(length_)}; }

  private:
    ktVSPosition at(const char* p) const { return {this, reinterpret_cast<intptr_t>(p)}; }

    const char* text_;
    intptr_t length_;
};

class ktTextBuffer : public ktVS {
  public:
    ktTextBuffer() = default;
    explicit ktTextBuffer(std::string_view text) { append(text); }

    ktVSPosition begin() const override { return {this, 0}; }
    ktVSPosition end() const override { return {this, intptr_t(bytes_.size())}; }
    intptr_t distance(ktVSPosition from, ktVSPosition to) const override {
        return to.value - from.value;
    }
    ktVSPosition advance(ktVSPosition p, intptr_t n) const override { return {this, p.value + n}; }
    // Outside the current length both throw std::out_of_range.
    char charAt(ktVSPosition p) const override;
    void SetChar(ktVSPosition p, char c) override;
    // Grows the capacity, when full, by half the current length, but at least
    // 256 and at most 65536 bytes.
    void Append(char c) override;
    void Empty() override { bytes_.clear(); }

    void append(std::string_view text);
    std::string_view view() const { return {bytes_.data(), bytes_.size()}; }
    size_t capacity() const { return bytes_.capacity(); }

  private:
    void growFor(size_t needed);

    std::vector<char> bytes_;
};

}  // namespace penwick
