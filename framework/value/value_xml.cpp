// The XML form of a value tree: the exact bytes of a settings file.
//
//   <OBJECT>CR LF
//   <INT val="1" name="autoSave"/>CR LF
//   <STRING name="lastFile">C:\pages\a.wnk</STRING>CR LF
//   </OBJECT>
//
// A container at depth d writes CR LF and d spaces before each child and once
// more before its end tag; there is no declaration and nothing after the
// root's end tag. Values and member names are plain text: what the reader
// marks (kept references, the character U+FFFF) is turned into plain
// characters on the way in and escaped on the way out, so no value can be
// written as markup.

#include <locale.h>
#include <clocale>
#include <cstdlib>

#include "framework/text/format.h"
#include "framework/value/value_node.h"
#include "framework/value/xml_entities.h"
#include "framework/value/xml_file.h"
#include "framework/value/xml_reader.h"
#include "model/safe_save.h"

namespace penwick {

namespace {

// How deep a tree read from XML may nest, counting the levels that dotted
// member names add: deeper members are dropped, so that no recursive walk
// over a loaded tree can exhaust the stack, and so that the file the tree
// saves to nests no deeper than the reader reads.
constexpr int32_t kMaxLoadedDepth = XmlReader::kMaxDepth - 1;

int32_t pathDepth(std::string_view path) {
    int32_t depth = 1;
    for (size_t dot = path.find('.'); dot != std::string_view::npos && dot != 0;
         dot = path.find('.')) {
        path.remove_prefix(dot + 1);
        ++depth;
    }
    return depth;
}

int32_t attributeInt(const XmlElement& element) {
    ValueNode text;
    text.setString(element.attribute("val").view());
    return text.asInt();
}

double attributeDouble(const XmlElement& element) {
    ValueNode text;
    text.setString(element.attribute("val").view());
    return text.asDouble();
}

// The element's text as a value holds it: references the reader kept are
// their characters, and a CDATA section's bytes are taken as they are.
std::string plainInnerText(const XmlElement& element) {
    std::string text;
    for (const XmlNodeRef& node : element.children()) {
        if (const XmlText* piece = node->asText()) {
            if (piece->isCdata()) {
                text.append(piece->text().view());
            } else {
                text.append(plainText(piece->text().view()));
            }
        } else if (const XmlElement* inner = node->asElement()) {
            text.append(plainInnerText(*inner));
        }
    }
    return text;
}

}  // namespace

void ValueNode::toXml(XmlElement& element, int32_t depth) const {
    element.reset("");
    switch (kind_) {
        case Kind::String:
            element.setName("STRING");
            element.setText(escapedText(string_.view()));
            return;
        case Kind::Int:
            element.setName("INT");
            element.setAttribute("val", format("%d", int_).view());
            return;
        case Kind::Double:
            element.setName("DOUBLE");
            element.setAttribute("val", formatReal(double_).view());
            return;
        case Kind::Object:
        case Kind::Array: {
            bool object = kind_ == Kind::Object;
            element.setName(object ? "OBJECT" : "ARRAY");
            std::string separator = "\r\n" + std::string(size_t(depth), ' ');
            element.addText(separator);
            int32_t n = count();
            for (int32_t i = 0; i < n; ++i) {
                auto child = std::make_shared<XmlElement>();
                entryAt(i).toXml(*child, depth + 1);
                // Set after the fill, so a scalar's attributes read "val", "name".
                if (object) child->setAttribute("name", escapedText(key(i)->view()));
                element.insertChild(child);
                element.addText(separator);
            }
            return;
        }
        case Kind::Null:
            element.setName("NULL");
            return;
    }
}

bool ValueNode::fromXml(const XmlElement& element) {
    return fromXmlAt(element, 0);
}

bool ValueNode::fromXmlAt(const XmlElement& xml, int32_t depth) {
    const ktString& name = xml.name();
    if (name.equalsNoCase("OBJECT")) {
        makeObject();
        for (const XmlNodeRef& node : xml.children()) {
            const XmlElement* child = node->asElement();
            if (!child) continue;
            std::string key = plainText(child->attribute("name").view());
            int32_t childDepth = depth + pathDepth(key);
            if (childDepth > kMaxLoadedDepth) continue;
            member(key).fromXmlAt(*child, childDepth);
        }
        return true;
    }
    if (name.equalsNoCase("ARRAY")) {
        makeArray(0);
        int32_t k = 0;
        for (const XmlNodeRef& node : xml.children()) {
            const XmlElement* child = node->asElement();
            if (!child) continue;
            if (depth + 1 <= kMaxLoadedDepth) element(k).fromXmlAt(*child, depth + 1);
            ++k;
        }
        return true;
    }
    if (name.equalsNoCase("DOUBLE")) {
        setDouble(attributeDouble(xml));
        return true;
    }
    if (name.equalsNoCase("INT")) {
        setInt(attributeInt(xml));
        return true;
    }
    if (name.equalsNoCase("STRING")) {
        if (xml.hasAttribute("val")) {
            setString(plainText(xml.attribute("val").view()));
        } else {
            setString(plainInnerText(xml));
        }
        return true;
    }
    if (name.equalsNoCase("NULL")) {
        clear();
        return true;
    }
    return false;
}

bool ValueNode::saveXml(const std::string& fileName) const {
    return saveXml(fileName, systemFileSystem()).ok;
}

SaveResult ValueNode::saveXml(const std::string& fileName, SaveFileSystem& files) const {
    XmlElement root;
    toXml(root, 0);
    return safeSave(
        fileName, SaveCompression::None,
        [&root](ByteStream& stream) { return root.write(stream) > 0; }, files);
}

bool ValueNode::loadXml(const std::string& fileName) {
    std::string text;
    return readXmlFileText(fileName, text) && loadXmlText(text);
}

bool ValueNode::loadXmlText(std::string_view text) {
    XmlReader reader(text);
    XmlNodeRef node = reader.readNode();
    if (!node || !node->asElement()) return false;
    // The conversion's own answer does not matter: an element was read. An
    // element name the mapping does not know leaves the node as it was.
    fromXml(*node->asElement());
    return true;
}

}  // namespace penwick
