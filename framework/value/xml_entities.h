#pragma once

// Entity encoding and decoding of XML text and attribute values.
//
// The decoded form of a text marks what plain characters cannot say with the
// escape marker U+FFFF, and only in two ways:
//   marker + "&name;"   an unknown reference, kept so that it writes back
//                       unchanged (the name is not one the decoder knows);
//   marker + marker     the character U+FFFF itself (&#65535; in a file).
// Any other marker (set through the API, say) stands for the character too.
// So no text, wherever it came from, can make the encoder write markup: the
// encoder writes a kept reference as "&name;", the character U+FFFF as
// "&#65535;", < > & " as &lt; &gt; &amp; &quot;, copies every other
// well-formed UTF-8 sequence and writes "?" for bytes that are not (a stray
// continuation byte, a sequence cut short, 0xFE, 0xFF) and for a zero byte,
// so the output is always UTF-8 that a reader reads to its end.
//
// Decoding: a name runs from "&" to ";" and holds no blank, control byte,
// quote, markup byte or U+FFFF (else the "&" is literal); &name; from the
// decoding table and &#digits; become their UTF-8 bytes. A U+FFFF in the
// file's own bytes is dropped and the character after it taken literally.
// Bytes that are not UTF-8 read as "?" already, so that a text reads as it
// will be written.
//
// Plain text (a settings value, a member name) holds no markers at all: any
// U+FFFF in it is the character. plainText and escapedText convert.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/text/string.h"

namespace penwick {

// The escape marker U+FFFF as UTF-8.
inline constexpr std::string_view kEscapeMarker = "\xEF\xBF\xBF";

void decodeEntities(std::string_view text, ktString& out);
// The plain text a decoded text stands for: a kept reference becomes the
// characters "&name;", a doubled marker one U+FFFF.
std::string plainText(std::string_view decoded);
// The decoded form of a plain text: each U+FFFF doubled.
std::string escapedText(std::string_view plain);
// In attribute values (`attribute` set) tab, line feed and carriage return
// are written as &#9; &#10; &#13;, which a parser keeps, where it would turn
// the plain bytes into spaces.
void encodeEntities(std::string_view text, std::string& out, bool attribute = false);

// Appends the UTF-8 form of a code point (up to six bytes, the long forms
// for values above U+10FFFF); values below 1 append "?".
void appendUtf8(int64_t codePoint, std::string& out);

}  // namespace penwick
