#include "framework/value/xml_entities.h"

#include <gtest/gtest.h>

using namespace penwick;

namespace {

std::string decoded(std::string_view text) {
    ktString out;
    decodeEntities(text, out);
    return std::string(out.view());
}

std::string encoded(std::string_view text) {
    std::string out;
    encodeEntities(text, out);
    return out;
}

}  // namespace

TEST(XmlEntities, Decoding) {
    EXPECT_EQ(decoded("&#65;"), "A");
    EXPECT_EQ(decoded("&#x41;"), "?");  // hexadecimal references are not read
    EXPECT_EQ(decoded("&#;"), "?");
    EXPECT_EQ(decoded("&#-5;"), "?");
    EXPECT_EQ(decoded("&#0;"), "?");  // never a zero byte inside a text
    EXPECT_EQ(decoded("&#233;"), "\xC3\xA9");
    EXPECT_EQ(decoded("&lt;&gt;&amp;&apos;&quot;"), "<>&'\"");
    EXPECT_EQ(decoded("&nbsp;&copy;&reg;&para;&trade;"),
              "\xC2\xA0\xC2\xA9\xC2\xAE\xC2\xB6\xE2\x84\xA2");
    EXPECT_EQ(decoded("&LT;"), "\xEF\xBF\xBF&LT;");  // names are case-sensitive
    EXPECT_EQ(decoded("&foo;"), "\xEF\xBF\xBF&foo;");
    EXPECT_EQ(decoded("a & b"), "a & b");    // no ";" after it
    EXPECT_EQ(decoded("a & b;"), "a & b;");  // a blank ends the name: no entity
    EXPECT_EQ(decoded("&a\"b; &lt;"), "&a\"b; <");
    EXPECT_EQ(decoded("&&amp;"), "&&");
    // A U+FFFF inside the name: no reference, or it would write back as "&reg;".
    EXPECT_EQ(decoded("&\xEF\xBF\xBFreg;"), "&reg;");
    EXPECT_EQ(encoded(decoded("&\xEF\xBF\xBFreg;")), "&amp;reg;");
    EXPECT_EQ(decoded("x\xEF\xBF\xBF&amp;y"), "x&amp;y");  // the marker keeps the next byte
    EXPECT_EQ(decoded("end\xEF\xBF\xBF"), "end");
    EXPECT_EQ(decoded("x\xEF\xBF\xBF\xEF\xBF\xBF&amp;"),
              "x&");  // two markers: both go              // a marker at the very end
    EXPECT_EQ(decoded("end\xEF\xBF"), "end??");                      // half a marker is not UTF-8
    EXPECT_EQ(decoded("\xEF\xBF\xBF\xC3\xA9x"), "\xC3\xA9x");        // a whole character after it
    EXPECT_EQ(decoded("caf\xE9 \x80 \xC3\xA9"), "caf? ? \xC3\xA9");  // Latin-1 is not UTF-8
    EXPECT_EQ(decoded("&#2147483647;"), "\xFD\xBF\xBF\xBF\xBF\xBF");
}

TEST(XmlEntities, Encoding) {
    EXPECT_EQ(encoded("a<b & \"c\""), "a&lt;b &amp; &quot;c&quot;");
    EXPECT_EQ(encoded("it's >"), "it's &gt;");
    EXPECT_EQ(encoded("\xEF\xBF\xBF&foo;"), "&foo;");
    // A marker before anything but a kept reference is the character U+FFFF.
    EXPECT_EQ(encoded("\xEF\xBF\xBF\xC3\xA9<"), "&#65535;\xC3\xA9&lt;");
    EXPECT_EQ(encoded("\xEF\xBF\xBF"), "&#65535;");
    EXPECT_EQ(encoded("\xEF\xBF\xBF\xFFx"), "&#65535;?x");
    // Well-formed UTF-8 passes unchanged, also the characters the reader
    // knows by name, so that the output stays well-formed XML.
    EXPECT_EQ(encoded("\xC2\xA0\xC2\xA9 \xE2\x82\xAC \xF0\x9F\x96\x8A"),
              "\xC2\xA0\xC2\xA9 \xE2\x82\xAC \xF0\x9F\x96\x8A");
    // Bytes that are not UTF-8 become "?".
    EXPECT_EQ(encoded("\x80x"), "?x");
    EXPECT_EQ(encoded("\xC3"), "?");         // cut short by the end
    EXPECT_EQ(encoded("\xE2\x82x"), "??x");  // cut short by an ASCII byte
    EXPECT_EQ(encoded("\xFE\xFF"), "??");
    // Whitespace other than the blank survives a parser only as a reference
    // inside attribute values; in text it stays as it is.
    EXPECT_EQ(encoded("a\tb\nc\r"), "a\tb\nc\r");
    std::string attribute;
    encodeEntities("a\tb\nc\r d", attribute, true);
    EXPECT_EQ(attribute, "a&#9;b&#10;c&#13; d");
    EXPECT_EQ(decoded(attribute), "a\tb\nc\r d");
}

TEST(XmlEntities, DecodingThenEncodingKeepsUnknownEntities) {
    for (std::string_view text : {"&foo;", "a&b", "&#65;&amp;", "x &unknown; y", "&#x41;"}) {
        std::string again = encoded(decoded(text));
        EXPECT_EQ(decoded(again), decoded(text)) << text;
    }
    EXPECT_EQ(encoded(decoded("&foo; &bar;")), "&foo; &bar;");
    // A kept reference cut before its ";": the marker left alone is the
    // character, and the "&" a literal one.
    std::string cut = decoded("nm&.q1;");
    cut.resize(cut.find('.'));
    EXPECT_EQ(encoded(cut), "nm&#65535;&amp;");
    EXPECT_EQ(decoded(encoded(cut)), "nm\xEF\xBF\xBF\xEF\xBF\xBF&");
}

TEST(XmlEntities, Utf8LongForms) {
    std::string out;
    appendUtf8(0x7F, out);
    appendUtf8(0x80, out);
    appendUtf8(0xFFFF, out);
    appendUtf8(0x10000, out);
    appendUtf8(0x200000, out);
    EXPECT_EQ(out, "\x7F\xC2\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF8\x88\x80\x80\x80");
}
