#include "framework/value/xml_node.h"

#include <gtest/gtest.h>

#include "model/memory_stream.h"

using namespace penwick;
using Close = XmlElement::CloseState;

namespace {

std::string written(const XmlNode& node) {
    MemoryStream stream;
    EXPECT_EQ(node.write(stream), 1);
    return std::string(reinterpret_cast<const char*>(stream.data()), size_t(stream.size()));
}

// A stream that takes nothing.
class RefusingStream final : public ByteStream {
  public:
    int32_t read(void*, int32_t) override { return 0; }
    int32_t write(const void*, int32_t) override { return 0; }
};

}  // namespace

TEST(XmlNode, KindsAndVirtualAnswers) {
    XmlComment comment("c");
    XmlDeclaration declaration("?xml version=\"1.0\"?");
    XmlText text("t");
    XmlElement element;
    EXPECT_EQ(comment.kind(), 1);
    EXPECT_EQ(element.kind(), 2);
    EXPECT_EQ(text.kind(), 3);
    EXPECT_EQ(declaration.kind(), 4);
    EXPECT_EQ(element.name(), "element");  // the name of new elements
    EXPECT_EQ(comment.asElement(), nullptr);
    EXPECT_EQ(text.asText(), &text);
    EXPECT_EQ(element.asText(), nullptr);
    EXPECT_FALSE(comment.isContent());
    EXPECT_TRUE(text.isContent());
    EXPECT_TRUE(element.isContent());
    element.setCloseState(Close::EndTag);
    EXPECT_FALSE(element.isContent());
    EXPECT_FALSE(comment.setFromText("x"));
    EXPECT_TRUE(text.setFromText("new"));
    EXPECT_EQ(text.innerText(), "new");
    EXPECT_EQ(comment.innerText(), "");
    EXPECT_EQ(written(declaration), "<?xml version=\"1.0\"?>");
    EXPECT_EQ(written(XmlDeclaration("DOCTYPE a")), "<!DOCTYPE a>");
    EXPECT_EQ(written(comment), "<!--c-->");
}

TEST(XmlNode, CloseStatesDecideTheWrittenForm) {
    XmlElement e("a");
    e.setAttribute("x", "1");
    EXPECT_EQ(written(e), "<a x=\"1\"/>");
    e.setCloseState(Close::Unclosed);
    EXPECT_EQ(written(e), "<a x=\"1\">");
    e.setCloseState(Close::EndTag);
    EXPECT_EQ(written(e), "</a>");
    e.setCloseState(Close::Closed);
    EXPECT_EQ(written(e), "<a x=\"1\"></a>");
    e.setCloseState(Close::SelfClosed);
    e.addText("t");
    EXPECT_EQ(written(e), "<a x=\"1\">t</a>");
    EXPECT_EQ(e.openingText(), "<a x=\"1\">");
}

TEST(XmlNode, AttributesAndChildren) {
    XmlElement e("e");
    e.setAttribute("b", "1");
    e.setAttribute("a", "<&>");
    e.setAttribute("b", "2");
    ASSERT_EQ(e.attributes().count(), 2);
    EXPECT_EQ(e.attributes()[0].name, "b");
    EXPECT_EQ(e.attribute("b"), "2");
    EXPECT_EQ(e.attribute("B"), "");  // case-sensitive
    EXPECT_FALSE(e.hasAttribute("c"));
    EXPECT_EQ(e.openingText(), "<e b=\"2\" a=\"&lt;&amp;&gt;\">");
    auto inner = std::make_shared<XmlElement>("i");
    inner->addText("x");
    e.insertChild(inner);
    e.insertChild(std::make_shared<XmlText>("first"), 0);
    e.insertChild(std::make_shared<XmlText>("last"), 99);
    EXPECT_EQ(inner->parent(), &e);
    EXPECT_EQ(e.innerText(), "firstxlast");
    EXPECT_EQ(written(e), "<e b=\"2\" a=\"&lt;&amp;&gt;\">first<i>x</i>last</e>");
    // A copy shares the children; a clone does not.
    XmlElement copy(e);
    EXPECT_EQ(copy.child(1).get(), inner.get());
    XmlNodeRef clone = e.clone();
    EXPECT_NE(clone->asElement()->child(1).get(), inner.get());
    EXPECT_EQ(clone->asElement()->child(1)->parent(), clone->asElement());
    EXPECT_EQ(written(*clone), written(e));
    e.setText("only");
    EXPECT_EQ(e.childCount(), 1);
    EXPECT_EQ(written(copy), "<e b=\"2\" a=\"&lt;&amp;&gt;\">first<i>x</i>last</e>");
    e.reset("r");
    EXPECT_EQ(written(e), "<r/>");
}

TEST(XmlNode, AFailingStreamFailsTheWrite) {
    RefusingStream stream;
    XmlElement e("a");
    EXPECT_EQ(e.write(stream), 0);
}

TEST(XmlNode, LongNamesAndValuesAreWrittenWhole) {
    std::string longValue(10000, 'v');
    XmlElement e("a");
    e.setAttribute("name", longValue);
    std::string out = written(e);
    EXPECT_EQ(out, "<a name=\"" + longValue + "\"/>");
}
