#pragma once

// The XML document model: comments, elements, text (plain or CDATA) and
// declarations, all derived from XmlNode. An element holds its children
// through shared references, so copying a child list shares the nodes and a
// node goes when its last reference goes. An element's close state records
// how it was read, so that reading and writing give back the same bytes even
// for malformed input.

#include <cstdint>
#include <memory>
#include <string_view>

#include "framework/text/string.h"
#include "model/byte_stream.h"
#include "model/dyn_array.h"

namespace penwick {

class XmlElement;
class XmlText;
class XmlOutput;
class XmlNode;

using XmlNodeRef = std::shared_ptr<XmlNode>;

class XmlNode {
  public:
    enum Kind { kComment = 1, kElement = 2, kText = 3, kDeclaration = 4 };

    virtual ~XmlNode() = default;

    virtual int kind() const = 0;
    virtual const XmlElement* asElement() const { return nullptr; }
    virtual XmlElement* asElement() { return nullptr; }
    virtual const XmlText* asText() const { return nullptr; }
    virtual XmlText* asText() { return nullptr; }
    // Serialises the node; 1 when every byte was written, 0 otherwise.
    virtual int write(ByteStream& stream) const;
    // Text: replaces its text. Element: parses a start tag (optional "<",
    // name, attributes). Others: false.
    virtual bool setFromText(std::string_view text);
    // Element: its start tag as written, always ending in ">". Text: its text.
    virtual ktString openingText() const { return {}; }
    // Element: not a stray end tag. Text: true.
    virtual bool isContent() const { return false; }
    virtual XmlNodeRef clone() const = 0;
    // Element: the inner text of its children in order. Text: its text.
    virtual ktString innerText() const { return {}; }

    // The element whose children hold this node (not owned); null at the top.
    XmlElement* parent() const { return parent_; }

    // Appends the node's bytes to `out` (what write() sends to a stream).
    virtual void writeInto(XmlOutput& out) const = 0;

  private:
    friend class XmlElement;
    XmlElement* parent_ = nullptr;
};

class XmlComment final : public XmlNode {
  public:
    explicit XmlComment(std::string_view text = {}) : text_(text) {}
    int kind() const override { return kComment; }
    XmlNodeRef clone() const override { return std::make_shared<XmlComment>(*this); }
    void writeInto(XmlOutput& out) const override;
    const ktString& text() const { return text_; }

  private:
    ktString text_;
};

class XmlDeclaration final : public XmlNode {
  public:
    // Everything between "<" and ">" of "<?...>" (starting at the "?") or of
    // "<!...>" (starting after the "!").
    explicit XmlDeclaration(std::string_view text = {}) : text_(text) {}
    int kind() const override { return kDeclaration; }
    XmlNodeRef clone() const override { return std::make_shared<XmlDeclaration>(*this); }
    void writeInto(XmlOutput& out) const override;
    const ktString& text() const { return text_; }

  private:
    ktString text_;
};

class XmlText final : public XmlNode {
  public:
    explicit XmlText(std::string_view text = {}, bool cdata = false) : cdata_(cdata), text_(text) {}
    int kind() const override { return kText; }
    const XmlText* asText() const override { return this; }
    XmlText* asText() override { return this; }
    bool setFromText(std::string_view text) override;
    ktString openingText() const override { return text_; }
    bool isContent() const override { return true; }
    XmlNodeRef clone() const override { return std::make_shared<XmlText>(*this); }
    ktString innerText() const override { return text_; }
    void writeInto(XmlOutput& out) const override;

    bool isCdata() const { return cdata_; }
    // Takes the text over without copying it.
    void adoptText(ktString&& text) { text_ = std::move(text); }
    const ktString& text() const { return text_; }

  private:
    bool cdata_;
    ktString text_;
};

struct XmlAttribute {
    ktString value;
    ktString name;
};

class XmlElement final : public XmlNode {
  public:
    // How the element is written (see write()).
    enum class CloseState : int32_t {
        SelfClosed = 0,  // built by code or read as <a/>: "/>" when childless
        Unclosed = 1,    // start tag whose end tag never came: start tag alone when childless
        EndTag = 2,      // a stray end tag that closed nothing: "</a>" when childless
        Closed = 3,      // start tag, content and end tag: always an explicit end tag
    };

    explicit XmlElement(std::string_view name = "element") : name_(name) {}
    // Copies share the children.
    XmlElement(const XmlElement& other);
    XmlElement& operator=(const XmlElement&) = delete;

    int kind() const override { return kElement; }
    const XmlElement* asElement() const override { return this; }
    XmlElement* asElement() override { return this; }
    bool setFromText(std::string_view text) override;
    ktString openingText() const override;
    bool isContent() const override { return closeState_ != CloseState::EndTag; }
    XmlNodeRef clone() const override;
    ktString innerText() const override;
    void writeInto(XmlOutput& out) const override;

    const ktString& name() const { return name_; }
    void setName(std::string_view name) { name_.assign(name.data(), int32_t(name.size())); }
    CloseState closeState() const { return closeState_; }
    void setCloseState(CloseState state) { closeState_ = state; }

    // The value of the attribute, empty when absent; names are case-sensitive.
    const ktString& attribute(std::string_view name) const;
    bool hasAttribute(std::string_view name) const { return findAttribute(name) >= 0; }
    // Replaces the value in place when the name exists, else appends.
    void setAttribute(std::string_view name, std::string_view value);
    // Appends without looking for an existing name (the reader checks itself).
    void appendAttribute(std::string_view name, std::string_view value);
    int32_t findAttribute(std::string_view name) const;
    const DynArray<XmlAttribute>& attributes() const { return attributes_; }
    DynArray<XmlAttribute>& attributes() { return attributes_; }

    int32_t childCount() const { return children_.count(); }
    const XmlNodeRef& child(int32_t i) const { return children_[i]; }
    const DynArray<XmlNodeRef>& children() const { return children_; }
    // Inserts before `index`; below 0 or at or past the end appends. Sets the
    // child's parent.
    void insertChild(XmlNodeRef node, int32_t index = -1);
    void addText(std::string_view text);
    // Drops every child, then addText().
    void setText(std::string_view text);
    // Drops children and attributes; close state SelfClosed; new name.
    void reset(std::string_view name);
    // Moves every child of `from` to the end of this element's children.
    void takeChildrenOf(XmlElement& from);

  private:
    CloseState closeState_ = CloseState::SelfClosed;
    ktString name_;
    DynArray<XmlAttribute> attributes_;
    DynArray<XmlNodeRef> children_;
};

// Buffers the bytes of a write and sends them to the stream in large pieces,
// remembering whether every stream write took all its bytes.
class XmlOutput {
  public:
    explicit XmlOutput(ByteStream& stream) : stream_(stream) {}
    XmlOutput(const XmlOutput&) = delete;
    ~XmlOutput() { flush(); }

    void append(std::string_view bytes);
    void append(char c) { append(std::string_view(&c, 1)); }
    // Text and attribute values: the entity encoding of xml_entities.h.
    void appendEncoded(std::string_view text, bool attribute = false);
    // Sends what is buffered; false when any write so far failed.
    bool flush();

  private:
    ByteStream& stream_;
    std::string buffer_;
    bool ok_ = true;
};

}  // namespace penwick
