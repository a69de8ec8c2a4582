#pragma once

// ktTokenizer: a cursor over a text, cutting it into tokens.
//
// Two optional character sets shape the tokens:
// - with set B (delimiters): a token is the bytes up to the first delimiter
//   or whitespace; a token that starts with a delimiter is that one byte.
//   Set A then names the bytes that start a comment running to the end of
//   the line, which skipSpace() passes over.
// - without set B, with set A (inclusive byte ranges written as pairs,
//   "AZaz09__"): a run of bytes inside the ranges, or one byte when the first
//   is outside them.
// - with neither: the bytes up to the next whitespace.
// Set A is always written as range pairs, so comments starting with # are "##".
//
// The text ends at its end or at its first zero byte, whichever comes first;
// no operation reads beyond it.

#include <bitset>
#include <cstdint>
#include <string_view>

#include "framework/text/string.h"

namespace penwick {

class ktTokenizer {
  public:
    explicit ktTokenizer(std::string_view text, std::string_view setA = {},
                         std::string_view setB = {});

    // Skips whitespace (and comments); true when not at the end.
    bool skipSpace();
    // Length of the next token at the cursor (whitespace not skipped).
    int32_t tokenLength() const;
    // True, and the token consumed, when the next token equals `text`.
    bool expect(std::string_view text);
    bool readToken(ktString& out);
    // A token starting with a double quote runs to the closing quote (the
    // quotes dropped; without one, to the end); else an ordinary token.
    bool readQuoted(ktString& out);
    bool readNumber(int32_t& out);
    bool readReal(double& out);

    bool atEnd() const { return cursor_ >= end_; }
    const char* cursor() const { return cursor_; }
    void setCursor(const char* p) { cursor_ = p; }
    // The text not read yet.
    std::string_view rest() const { return {cursor_, size_t(end_ - cursor_)}; }
    void skip(int32_t n) { cursor_ += n < end_ - cursor_ ? n : end_ - cursor_; }

  private:
    bool inSetA(char c) const;
    bool isDelimiter(char c) const;

    const char* cursor_;
    const char* end_;
    // Membership of every byte value, filled once from the sets.
    std::bitset<256> inA_;
    std::bitset<256> inB_;
    bool hasA_;
    bool hasB_;
};

}  // namespace penwick
