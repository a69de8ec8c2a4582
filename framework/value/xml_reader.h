#pragma once

// The XML reader. It never refuses input: malformed XML reads as text,
// Unclosed elements (a start tag whose end tag never came; what followed it
// becomes its following siblings) and EndTag elements (a stray end tag), so
// that writing the nodes back gives the same bytes.
//
// Names of elements and attributes are runs of name characters: a "<" that
// no name follows is text, and a stray byte inside a tag is passed over, so
// that what is read writes back to bytes that read the same again.
//
// Reading stops at the end of the text or at its first zero byte. The open
// elements are kept on an explicit stack; elements nested deeper than
// kMaxDepth are read as Unclosed start tags, so the trees it builds stay
// shallow enough for every recursive walk over them.

#include <string_view>
#include <vector>

#include "framework/text/tokenizer.h"
#include "framework/value/xml_node.h"

namespace penwick {

class XmlReader {
  public:
    static constexpr int kMaxDepth = 256;

    explicit XmlReader(std::string_view text);

    // Parses one node at the cursor, at the top level; null at the end of
    // the text or at an end tag.
    XmlNodeRef readNode();
    // Parses every node up to the end of the text as children of `document`,
    // which stands for the document itself (no end tag closes it).
    void readDocument(XmlElement& document);

    bool atEnd() const { return tokens_.atEnd(); }
    std::string_view rest() const { return tokens_.rest(); }

  private:
    friend bool parseStartTag(std::string_view text, XmlElement& element);
    enum class Piece { End, Node, OpenElement, EndTag };

    Piece readPiece(XmlNodeRef& node, ktString& endTagName);
    // After the element's name: attributes up to "/>", ">" or the end.
    // True when content follows.
    bool readAttributes(XmlElement& element);
    void readContent(std::vector<XmlElement*>& open, size_t firstMatchable);
    // A text node from the cursor up to the next "<" found after `skip` bytes.
    XmlNodeRef readTextFrom(size_t skip);
    XmlNodeRef readComment();
    std::string_view readDeclaration();
    void consumeOptional(char c);
    // The length of the name at the cursor: a run of name characters, 0 when
    // the next byte cannot start a name.
    int32_t nameLength() const;
    std::string_view upTo(std::string_view stop, bool* found);

    std::string_view text_;
    ktTokenizer tokens_;
    // Where the next "-->" lies (npos: none after the last search), so that
    // many unterminated comments are not searched again and again.
    size_t commentEnd_ = 0;
    bool commentEndKnown_ = false;
};

// Parses a start tag (optional "<", name, attributes) into the element,
// clearing its attributes first. False when the first token is ">" or empty.
bool parseStartTag(std::string_view text, XmlElement& element);

// True when the end tag's name (a wildcard pattern) names the element,
// ignoring ASCII case.
bool endTagCloses(const XmlElement& element, std::string_view endTagName);

}  // namespace penwick
