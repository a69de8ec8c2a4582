#include "framework/value/xml_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "model/memory_stream.h"

using namespace penwick;
using Close = XmlElement::CloseState;

namespace {

std::string written(const XmlNode& node) {
    MemoryStream stream;
    EXPECT_EQ(node.write(stream), 1);
    return std::string(reinterpret_cast<const char*>(stream.data()), size_t(stream.size()));
}

// Every top-level node of the text, written back one after another.
std::string roundTrip(std::string_view text) {
    XmlElement document("");
    XmlReader reader(text);
    reader.readDocument(document);
    std::string out;
    for (const XmlNodeRef& node : document.children())
        out += written(*node);
    return out;
}

XmlNodeRef readOne(std::string_view text) {
    XmlReader reader(text);
    return reader.readNode();
}

}  // namespace

TEST(XmlReader, WellFormedDocumentsWriteBackUnchanged) {
    for (std::string_view text : {
             "<a/>",
             "<a></a>",
             "<a x=\"1\" y=\"two\">text<b/>more<c></c></a>",
             "<?xml version=\"1.0\"?>\n<!DOCTYPE a>\n<a>\n  <!-- note -->\n</a>\n",
             "<a><![CDATA[<raw> & ]]></a>",
             "<a>&lt;&gt;&amp;&quot;&foo;</a>",
             "<a>it's</a>",
             "<ns:a xml:lang=\"en\" b-c.d=\"x\"/>",
         }) {
        EXPECT_EQ(roundTrip(text), text);
    }
}

TEST(XmlReader, NormalisesQuotesSpacesAndNamedCharacters) {
    EXPECT_EQ(roundTrip("<a x='1' y = \"2\" z=bare  />"), "<a x=\"1\" y=\"2\" z=\"bare\"/>");
    EXPECT_EQ(roundTrip("<a x='say \"hi\"'/>"), "<a x=\"say &quot;hi&quot;\"/>");
    EXPECT_EQ(roundTrip("<a flag/>"), "<a flag=\"\"/>");
    EXPECT_EQ(roundTrip("<a>&apos;&#65;&nbsp;</a>"), "<a>'A\xC2\xA0</a>");
    EXPECT_EQ(roundTrip("<a x=\"1\" x=\"2\"/>"), "<a x=\"2\"/>");  // the last value wins in place
}

TEST(XmlReader, UnclosedElementsLendTheirContentToTheirParent) {
    XmlNodeRef node = readOne("<a><b>text</a>");
    ASSERT_TRUE(node && node->asElement());
    const XmlElement& a = *node->asElement();
    EXPECT_EQ(a.closeState(), Close::Closed);
    ASSERT_EQ(a.childCount(), 2);
    const XmlElement* b = a.child(0)->asElement();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->name(), "b");
    EXPECT_EQ(b->closeState(), Close::Unclosed);
    EXPECT_EQ(b->childCount(), 0);
    EXPECT_EQ(b->parent(), &a);
    ASSERT_NE(a.child(1)->asText(), nullptr);
    EXPECT_EQ(a.child(1)->asText()->text(), "text");
    EXPECT_EQ(a.child(1)->parent(), &a);
    EXPECT_EQ(written(a), "<a><b>text</a>");
    // Several levels left open at once keep document order.
    EXPECT_EQ(roundTrip("<a><b>1<c>2<d>3</a>tail"), "<a><b>1<c>2<d>3</a>tail");
    XmlNodeRef flat = readOne("<a><b>1<c>2<d>3</a>");
    EXPECT_EQ(flat->asElement()->childCount(), 6);
}

TEST(XmlReader, StrayEndTagsAndTheEndOfTheText) {
    XmlNodeRef node = readOne("<a></b></a>");
    const XmlElement& a = *node->asElement();
    ASSERT_EQ(a.childCount(), 1);
    EXPECT_EQ(a.child(0)->asElement()->closeState(), Close::EndTag);
    EXPECT_FALSE(a.child(0)->isContent());
    EXPECT_EQ(written(a), "<a></b></a>");
    EXPECT_EQ(roundTrip("</x>"), "</x>");
    EXPECT_EQ(readOne("</x>"), nullptr);  // at the top level an end tag ends the reading
    // The text ends inside the content: the element is Unclosed.
    XmlNodeRef open = readOne("<a>text");
    EXPECT_EQ(open->asElement()->closeState(), Close::Unclosed);
    EXPECT_EQ(written(*open), "<a>text</a>");  // with children it gains its end tag
    EXPECT_EQ(written(*readOne("<a>")), "<a>");
}

TEST(XmlReader, EndTagsMatchWithoutCase) {
    XmlNodeRef node = readOne("<A></a>");
    EXPECT_EQ(node->asElement()->closeState(), Close::Closed);
    EXPECT_EQ(written(*node), "<A></A>");
    EXPECT_EQ(roundTrip("<Config><Item></ITEM></CONFIG>"), "<Config><Item></Item></Config>");
}

TEST(XmlReader, CommentsDeclarationsAndCdata) {
    EXPECT_EQ(roundTrip("<!---->"), "<!---->");
    EXPECT_EQ(roundTrip("<!-- a -- b -->"), "<!-- a -- b -->");
    // Without "-->", the comment ends two bytes before the next ">".
    XmlNodeRef cut = readOne("<!-- abc ->rest");
    EXPECT_EQ(cut->kind(), XmlNode::kComment);
    EXPECT_EQ(static_cast<XmlComment&>(*cut).text(), " abc");
    EXPECT_EQ(static_cast<XmlComment&>(*readOne("<!--x>")).text(), "");
    EXPECT_EQ(static_cast<XmlComment&>(*readOne("<!--abcdef")).text(), "abc");
    EXPECT_EQ(static_cast<XmlComment&>(*readOne("<!--ab")).text(), "");
    XmlNodeRef cdata = readOne("<![cdata[x]]>");
    ASSERT_NE(cdata->asText(), nullptr);
    EXPECT_TRUE(cdata->asText()->isCdata());
    EXPECT_EQ(written(*cdata), "<![CDATA[x]]>");
    EXPECT_EQ(written(*readOne("<![CDATA[open")), "<![CDATA[open]]>");
    XmlNodeRef decl = readOne("<!DOCTYPE x>");
    EXPECT_EQ(decl->kind(), XmlNode::kDeclaration);
    EXPECT_EQ(static_cast<XmlDeclaration&>(*decl).text(), "DOCTYPE x");
    EXPECT_EQ(written(*readOne("<?pi data")), "<?pi data>");
    // A document type with an internal subset is one declaration.
    std::string_view subset =
        "<!DOCTYPE a [\n<!ELEMENT a (b)*>\n<!ATTLIST a x CDATA \"]>\">\n<!-- ]> -->\n]>";
    XmlNodeRef doctype = readOne(subset);
    EXPECT_EQ(doctype->kind(), XmlNode::kDeclaration);
    EXPECT_EQ(written(*doctype), subset);
    EXPECT_EQ(roundTrip(std::string(subset) + "<a/>"), std::string(subset) + "<a/>");
    EXPECT_EQ(written(*readOne("<!DOCTYPE a [ <!ELEMENT a ANY>")),
              "<!DOCTYPE a [ <!ELEMENT a ANY>");  // no end to the subset: the first ">"
}

TEST(XmlReader, TruncatedInputIsCutShort) {
    const std::string whole =
        "<root a=\"v&amp;\" b='w'><!-- c --><x>t&#65;\xEF\xBF\xBFz\xC3\xA9</x><![CDATA[d]]></root>";
    for (size_t n = 0; n <= whole.size(); ++n) {
        std::string prefix = whole.substr(0, n);
        XmlElement document("");
        XmlReader reader(prefix);
        reader.readDocument(document);
        EXPECT_TRUE(reader.atEnd()) << n;
        std::string out;
        for (const XmlNodeRef& node : document.children())
            out += written(*node);
        // Whatever was read writes out and reads back to the same bytes.
        EXPECT_EQ(roundTrip(out), out) << n;
    }
    XmlNodeRef quoted = readOne("<a x=\"unterminated");
    EXPECT_EQ(quoted->asElement()->attribute("x"), "unterminated");
    XmlNodeRef marker = readOne("<a x=\"\xEF\xBF\xBF");
    EXPECT_EQ(marker->asElement()->attribute("x"), "");
}

TEST(XmlReader, ALessThanSignBeforeNoNameIsText) {
    EXPECT_EQ(roundTrip("if x <= y, x < (y)"), "if x &lt;= y, x &lt; (y)");
    EXPECT_EQ(roundTrip("<"), "&lt;");
    EXPECT_EQ(roundTrip("<a>x <</a>"), "<a>x &lt;</a>");
    // Whitespace may stand between "<" and the name.
    EXPECT_EQ(roundTrip("< b/>"), "<b/>");
}

TEST(XmlReader, StopsAtTheFirstZeroByte) {
    std::string text("<a>b\0<c/></a>", 13);
    XmlNodeRef node = readOne(text);
    EXPECT_EQ(written(*node), "<a>b</a>");
}

TEST(XmlReader, DeepNestingIsCappedNotRecursive) {
    const int depth = 100000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<d>";
    for (int i = 0; i < depth; ++i)
        text += "</d>";
    XmlNodeRef node = readOne(text);
    ASSERT_TRUE(node);
    int levels = 0;
    for (const XmlElement* e = node->asElement(); e && e->childCount() > 0;
         e = e->child(0)->asElement()) {
        ++levels;
    }
    EXPECT_LE(levels, XmlReader::kMaxDepth);
    // Beyond the cap the start tags are Unclosed siblings; the bytes come
    // back up to the root's own end tag.
    std::string out = written(*node);
    EXPECT_EQ(out, text.substr(0, out.size()));
    EXPECT_EQ(out.substr(out.size() - 8), "</d></d>");
    // Destroying the tree is no deeper than reading it.
}

TEST(XmlReader, ManyUnclosedElementsBecomeSiblings) {
    std::string text = "<r>";
    for (int i = 0; i < 20000; ++i)
        text += "<p>x";
    text += "</r>";
    XmlNodeRef node = readOne(text);
    const XmlElement& r = *node->asElement();
    EXPECT_EQ(r.closeState(), Close::Closed);
    EXPECT_EQ(r.childCount(), 40000);
    EXPECT_EQ(written(r), text);
}

TEST(XmlReader, ManyAttributesKeepTheLastValue) {
    std::string text = "<a";
    for (int i = 0; i < 2000; ++i)
        text += " k" + std::to_string(i % 1000) + "=\"" + std::to_string(i) + "\"";
    text += "/>";
    XmlNodeRef node = readOne(text);
    const XmlElement& a = *node->asElement();
    ASSERT_EQ(a.attributes().count(), 1000);
    EXPECT_EQ(a.attribute("k5"), "1005");
    EXPECT_EQ(a.attributes()[5].name, "k5");
}

TEST(XmlReader, StartTagsFromText) {
    XmlElement e;
    EXPECT_TRUE(e.setFromText("<item a=\"1\" b='2'>"));
    EXPECT_EQ(e.name(), "item");
    EXPECT_EQ(e.attribute("b"), "2");
    EXPECT_TRUE(e.setFromText("other c=3"));
    EXPECT_EQ(e.name(), "other");
    EXPECT_FALSE(e.hasAttribute("a"));  // cleared first
    EXPECT_EQ(e.attribute("c"), "3");
    EXPECT_FALSE(e.setFromText(">"));
    EXPECT_FALSE(e.setFromText(""));
    EXPECT_EQ(e.name(), "other");
}
