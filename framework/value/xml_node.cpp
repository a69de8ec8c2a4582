#include "framework/value/xml_node.h"

#include "framework/value/xml_entities.h"
#include "framework/value/xml_reader.h"

namespace penwick {

// --- XmlOutput ---------------------------------------------------------------

namespace {
constexpr size_t kOutputChunk = 65536;
}

void XmlOutput::append(std::string_view bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= kOutputChunk) flush();
}

void XmlOutput::appendEncoded(std::string_view text, bool attribute) {
    encodeEntities(text, buffer_, attribute);
    if (buffer_.size() >= kOutputChunk) flush();
}

bool XmlOutput::flush() {
    size_t at = 0;
    while (ok_ && at < buffer_.size()) {
        auto piece = int32_t(std::min<size_t>(buffer_.size() - at, 1 << 30));
        int32_t written = stream_.write(buffer_.data() + at, piece);
        if (written != piece) ok_ = false;
        at += size_t(piece);
    }
    buffer_.clear();
    return ok_;
}

// --- XmlNode ------------------------------------------------------------------

int XmlNode::write(ByteStream& stream) const {
    XmlOutput out(stream);
    writeInto(out);
    return out.flush() ? 1 : 0;
}

bool XmlNode::setFromText(std::string_view) {
    return false;
}

void XmlComment::writeInto(XmlOutput& out) const {
    out.append("<!--");
    out.append(text_.view());
    out.append("-->");
}

void XmlDeclaration::writeInto(XmlOutput& out) const {
    out.append(text_.view().starts_with('?') ? "<" : "<!");
    out.append(text_.view());
    out.append('>');
}

bool XmlText::setFromText(std::string_view text) {
    text_.assign(text.data(), int32_t(text.size()));
    return true;
}

void XmlText::writeInto(XmlOutput& out) const {
    if (cdata_) {
        out.append("<![CDATA[");
        out.append(text_.view());
        out.append("]]>");
    } else {
        out.appendEncoded(text_.view());
    }
}

// --- XmlElement -----------------------------------------------------------------

XmlElement::XmlElement(const XmlElement& other)
    : XmlNode(),
      closeState_(other.closeState_),
      name_(other.name_),
      attributes_(other.attributes_),
      children_(other.children_) {}

bool XmlElement::setFromText(std::string_view text) {
    return parseStartTag(text, *this);
}

ktString XmlElement::openingText() const {
    std::string tag;
    tag.push_back('<');
    tag.append(name_.view());
    for (const XmlAttribute& attribute : attributes_) {
        tag.push_back(' ');
        tag.append(attribute.name.view());
        tag.append("=\"");
        encodeEntities(attribute.value.view(), tag, true);
        tag.push_back('"');
    }
    tag.push_back('>');
    return ktString(tag);
}

XmlNodeRef XmlElement::clone() const {
    auto copy = std::make_shared<XmlElement>(name_.view());
    copy->closeState_ = closeState_;
    copy->attributes_ = attributes_;
    for (const XmlNodeRef& child : children_)
        copy->insertChild(child->clone());
    return copy;
}

ktString XmlElement::innerText() const {
    ktString text;
    for (const XmlNodeRef& child : children_)
        text.append(child->innerText());
    return text;
}

void XmlElement::writeInto(XmlOutput& out) const {
    bool childless = children_.isEmpty();
    if (closeState_ == CloseState::EndTag && childless) {
        out.append("</");
        out.append(name_.view());
        out.append('>');
        return;
    }
    // Each piece goes out whole: no length limit on names or values.
    out.append('<');
    out.append(name_.view());
    for (const XmlAttribute& attribute : attributes_) {
        out.append(' ');
        out.append(attribute.name.view());
        out.append("=\"");
        out.appendEncoded(attribute.value.view(), true);
        out.append('"');
    }
    if (closeState_ != CloseState::Closed && childless) {
        out.append(closeState_ == CloseState::Unclosed ? ">" : "/>");
        return;
    }
    out.append('>');
    for (const XmlNodeRef& child : children_)
        child->writeInto(out);
    out.append("</");
    out.append(name_.view());
    out.append('>');
}

const ktString& XmlElement::attribute(std::string_view name) const {
    static const ktString kNone;
    int32_t i = findAttribute(name);
    return i < 0 ? kNone : attributes_[i].value;
}

int32_t XmlElement::findAttribute(std::string_view name) const {
    for (int32_t i = 0; i < attributes_.count(); ++i) {
        if (attributes_[i].name.view() == name) return i;
    }
    return -1;
}

void XmlElement::setAttribute(std::string_view name, std::string_view value) {
    int32_t i = findAttribute(name);
    if (i >= 0) {
        attributes_[i].value = ktString(value);
        return;
    }
    appendAttribute(name, value);
}

void XmlElement::appendAttribute(std::string_view name, std::string_view value) {
    attributes_.append(XmlAttribute{ktString(value), ktString(name)});
}

void XmlElement::insertChild(XmlNodeRef node, int32_t index) {
    if (!node) return;
    node->parent_ = this;
    if (index < 0) index = children_.count();
    children_.insertAt(index, std::move(node));
}

void XmlElement::addText(std::string_view text) {
    insertChild(std::make_shared<XmlText>(text));
}

void XmlElement::setText(std::string_view text) {
    children_.clear();
    addText(text);
}

void XmlElement::reset(std::string_view name) {
    children_.clear();
    attributes_.clear();
    closeState_ = CloseState::SelfClosed;
    setName(name);
}

void XmlElement::takeChildrenOf(XmlElement& from) {
    for (XmlNodeRef& child : from.children_) {
        child->parent_ = this;
        children_.append(std::move(child));
    }
    from.children_.clear();
}

}  // namespace penwick
