#pragma once

// Entity encoding and decoding of XML text and attribute values.
//
// Decoding: a name runs from "&" to ";" and holds no blank, control byte,
// quote, markup byte or U+FFFF (else the "&" is literal); &name; from the decoding table and
// &#digits; become their UTF-8 bytes; an unknown &name; is kept as the escape marker U+FFFF
// followed by
// "&name;", which the encoder writes back unchanged. Encoding writes < > & "
// as &lt; &gt; &amp; &quot;, drops each U+FFFF marker and writes the byte
// sequence after it as it is; every other well-formed UTF-8 sequence is
// copied, and bytes that are not (a stray continuation byte, a sequence cut
// short, 0xFE, 0xFF) become "?", so the output is always UTF-8. The decoder
// reads such bytes as "?" already, so that a text reads as it will be written.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/text/string.h"

namespace penwick {

// The escape marker U+FFFF as UTF-8.
inline constexpr std::string_view kEscapeMarker = "\xEF\xBF\xBF";

void decodeEntities(std::string_view text, ktString& out);
// The text with every escape marker taken out: where a decoded text is used
// as a name rather than written back, "&name;" is just those characters.
std::string withoutEscapeMarkers(std::string_view text);
// In attribute values (`attribute` set) tab, line feed and carriage return
// are written as &#9; &#10; &#13;, which a parser keeps, where it would turn
// the plain bytes into spaces.
void encodeEntities(std::string_view text, std::string& out, bool attribute = false);

// Appends the UTF-8 form of a code point (up to six bytes, the long forms
// for values above U+10FFFF); values below 1 append "?".
void appendUtf8(int64_t codePoint, std::string& out);

}  // namespace penwick
