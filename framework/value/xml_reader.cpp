#include "framework/value/xml_reader.h"

#include <cstring>
#include <string>
#include <unordered_map>

#include "framework/text/ascii.h"
#include "framework/text/matching.h"
#include "framework/value/xml_entities.h"

namespace penwick {

namespace {

// Letters, digits and _ @ # % - & : ; . ~ form names; any other byte is a
// token of its own.
constexpr std::string_view kNameCharacters = "AZaz09__@@##%%--&&::;;..~~";

bool isNameCharacter(char c) {
    return isAsciiDigit(c) || isAsciiUpper(c) || isAsciiLower(c) ||
           std::string_view("_@#%-&:;.~").find(c) != std::string_view::npos;
}

std::string_view piece(const char* from, const char* to) {
    return {from, size_t(to - from)};
}

// Attributes are looked up by name while a tag is read; a map takes over
// from the linear search once a tag has many, so that no tag is quadratic.
class AttributeIndex {
  public:
    explicit AttributeIndex(XmlElement& element) : element_(element) {}

    void set(std::string_view name, std::string_view value) {
        int32_t count = element_.attributes().count();
        if (count < 16) {
            element_.setAttribute(name, value);
            return;
        }
        if (map_.empty()) {
            for (int32_t i = 0; i < count; ++i) {
                map_.emplace(std::string(element_.attributes()[i].name.view()), i);
            }
        }
        auto [at, inserted] = map_.emplace(std::string(name), count);
        if (inserted) {
            element_.appendAttribute(name, value);
        } else {
            element_.attributes()[at->second].value = ktString(value);
        }
    }

  private:
    XmlElement& element_;
    std::unordered_map<std::string, int32_t> map_;
};

}  // namespace

bool endTagCloses(const XmlElement& element, std::string_view endTagName) {
    return wildcardMatch(element.name().view(), endTagName);
}

XmlReader::XmlReader(std::string_view text) : tokens_(text, kNameCharacters) {
    text_ = piece(text.data(), text.data() + tokens_.rest().size());
}

int32_t XmlReader::nameLength() const {
    return tokens_.atEnd() || !isNameCharacter(*tokens_.cursor()) ? 0 : tokens_.tokenLength();
}

void XmlReader::consumeOptional(char c) {
    tokens_.skipSpace();
    if (!tokens_.atEnd() && *tokens_.cursor() == c) tokens_.skip(1);
}

// The bytes up to `stop` (or to the end); the cursor moves past `stop`.
std::string_view XmlReader::upTo(std::string_view stop, bool* found) {
    std::string_view rest = tokens_.rest();
    size_t at = rest.find(stop);
    if (found) *found = at != std::string_view::npos;
    if (at == std::string_view::npos) {
        tokens_.skip(int32_t(rest.size()));
        return rest;
    }
    tokens_.skip(int32_t(at + stop.size()));
    return rest.substr(0, at);
}

XmlNodeRef XmlReader::readTextFrom(size_t skip) {
    std::string_view rest = tokens_.rest();
    const void* lt = std::memchr(rest.data() + skip, '<', rest.size() - skip);
    size_t length = lt ? size_t(static_cast<const char*>(lt) - rest.data()) : rest.size();
    ktString decoded;
    decodeEntities(rest.substr(0, length), decoded);
    tokens_.skip(int32_t(length));
    auto node = std::make_shared<XmlText>();
    node->adoptText(std::move(decoded));
    return node;
}

XmlNodeRef XmlReader::readComment() {
    // The cursor stands after "<!--".
    std::string_view rest = tokens_.rest();
    size_t start = size_t(rest.data() - text_.data());
    if (!commentEndKnown_ || (commentEnd_ != std::string_view::npos && commentEnd_ < start)) {
        size_t at = text_.find("-->", start);
        commentEnd_ = at;
        commentEndKnown_ = true;
    }
    if (commentEnd_ != std::string_view::npos) {
        tokens_.skip(int32_t(commentEnd_ + 3 - start));
        return std::make_shared<XmlComment>(text_.substr(start, commentEnd_ - start));
    }
    // No "-->" anywhere after: the comment ends two bytes before the next
    // ">", or takes the rest less its last three bytes.
    const void* gt = std::memchr(rest.data(), '>', rest.size());
    if (gt) {
        size_t at = size_t(static_cast<const char*>(gt) - rest.data());
        tokens_.skip(int32_t(at + 1));
        return std::make_shared<XmlComment>(rest.substr(0, at >= 2 ? at - 2 : 0));
    }
    tokens_.skip(int32_t(rest.size()));
    return std::make_shared<XmlComment>(rest.substr(0, rest.size() >= 3 ? rest.size() - 3 : 0));
}

std::string_view XmlReader::readDeclaration() {
    // The cursor stands after "<!". A document type with an internal subset
    // ("<!DOCTYPE a [ <!ELEMENT ...> ]>") runs to the "]" that ends the subset
    // and the ">" after it. The subset is taken only when it holds nothing but
    // markup declarations, comments, processing instructions and parameter
    // entity references; anything else ends the declaration at the first ">".
    std::string_view rest = tokens_.rest();
    size_t gt = rest.find('>');
    size_t open = rest.find('[');
    if (open == std::string_view::npos || (gt != std::string_view::npos && gt < open) ||
        !rest.starts_with("DOCTYPE")) {
        return upTo(">", nullptr);
    }
    auto skipQuotedUntil = [&rest](size_t i, char stop) {
        while (i < rest.size() && rest[i] != stop) {
            if (rest[i] == '"' || rest[i] == '\'') {
                size_t close = rest.find(rest[i], i + 1);
                if (close == std::string_view::npos) return std::string_view::npos;
                i = close;
            } else if (rest[i] == '<') {
                return std::string_view::npos;
            }
            ++i;
        }
        return i < rest.size() ? i : std::string_view::npos;
    };
    size_t i = open + 1;
    for (;;) {
        while (i < rest.size() && isTextSpace(rest[i]))
            ++i;
        if (i >= rest.size()) break;
        std::string_view item = rest.substr(i);
        size_t next = std::string_view::npos;
        if (item[0] == ']') {
            size_t after = i + 1;
            while (after < rest.size() && isTextSpace(rest[after]))
                ++after;
            if (after < rest.size() && rest[after] == '>') {
                tokens_.skip(int32_t(after + 1));
                return rest.substr(0, after);
            }
        } else if (item.starts_with("<!--")) {
            size_t close = item.find("-->", 4);
            if (close != std::string_view::npos) next = i + close + 3;
        } else if (item.starts_with("<?")) {
            size_t close = item.find("?>", 2);
            if (close != std::string_view::npos) next = i + close + 2;
        } else if (item.size() > 2 && item[1] == '!' && item[0] == '<' &&
                   (isAsciiUpper(item[2]) || isAsciiLower(item[2]))) {
            size_t close = skipQuotedUntil(i + 2, '>');
            if (close != std::string_view::npos) next = close + 1;
        } else if (item[0] == '%') {
            size_t close = item.find(';');
            if (close != std::string_view::npos) next = i + close + 1;
        }
        if (next == std::string_view::npos) break;
        i = next;
    }
    return upTo(">", nullptr);
}

bool XmlReader::readAttributes(XmlElement& element) {
    AttributeIndex index(element);
    for (;;) {
        if (!tokens_.skipSpace()) return false;
        int32_t length = tokens_.tokenLength();
        std::string_view token(tokens_.cursor(), size_t(length));
        tokens_.skip(length);
        if (token == "/") {
            consumeOptional('>');
            element.setCloseState(XmlElement::CloseState::SelfClosed);
            return false;
        }
        if (token == ">") return true;
        // A stray byte inside a tag names nothing; it is passed over.
        if (!isNameCharacter(token[0])) continue;
        // An attribute; without "=" its value is empty.
        tokens_.skipSpace();
        if (tokens_.atEnd() || *tokens_.cursor() != '=') {
            index.set(token, {});
            continue;
        }
        tokens_.skip(1);
        tokens_.skipSpace();
        std::string_view rest = tokens_.rest();
        std::string_view raw;
        if (!rest.empty() && (rest[0] == '"' || rest[0] == '\'')) {
            size_t close = rest.find(rest[0], 1);
            raw = rest.substr(1,
                              close == std::string_view::npos ? std::string_view::npos : close - 1);
            tokens_.skip(int32_t(close == std::string_view::npos ? rest.size() : close + 1));
        } else {
            size_t stop = rest.find_first_of("\n\t\r >");
            raw = rest.substr(0, stop);
            tokens_.skip(int32_t(raw.size()));
        }
        ktString value;
        decodeEntities(raw, value);
        index.set(token, value.view());
    }
}

XmlReader::Piece XmlReader::readPiece(XmlNodeRef& node, ktString& endTagName) {
    if (tokens_.atEnd()) return Piece::End;
    if (*tokens_.cursor() != '<') {
        node = readTextFrom(0);
        return Piece::Node;
    }
    const char* lt = tokens_.cursor();
    tokens_.skip(1);
    tokens_.skipSpace();
    std::string_view rest = tokens_.rest();
    if (!rest.empty() && rest[0] == '?') {
        node = std::make_shared<XmlDeclaration>(upTo(">", nullptr));
        return Piece::Node;
    }
    if (!rest.empty() && rest[0] == '!') {
        if (rest.substr(1, 2) == "--") {
            tokens_.skip(3);
            node = readComment();
            return Piece::Node;
        }
        std::string_view cdata = "[cdata[";
        bool isCdata = rest.size() >= 1 + cdata.size();
        for (size_t i = 0; isCdata && i < cdata.size(); ++i) {
            isCdata = asciiLower(rest[1 + i]) == cdata[i];
        }
        if (isCdata) {
            tokens_.skip(int32_t(1 + cdata.size()));
            node = std::make_shared<XmlText>(upTo("]]>", nullptr), true);
            return Piece::Node;
        }
        tokens_.skip(1);
        node = std::make_shared<XmlDeclaration>(readDeclaration());
        return Piece::Node;
    }
    if (!rest.empty() && rest[0] == '/') {
        tokens_.skip(1);
        tokens_.skipSpace();
        int32_t length = nameLength();
        endTagName.assign(tokens_.cursor(), length);
        tokens_.skip(length);
        return Piece::EndTag;
    }
    tokens_.skipSpace();
    int32_t length = nameLength();
    if (length == 0) {
        // "<" before something that cannot start a name ("a < 3", or "<" at
        // the end) is text, which writes back as "&lt;".
        tokens_.setCursor(lt);
        node = readTextFrom(1);
        return Piece::Node;
    }
    auto element = std::make_shared<XmlElement>(std::string_view(tokens_.cursor(), size_t(length)));
    tokens_.skip(length);
    bool content = readAttributes(*element);
    node = element;
    return content ? Piece::OpenElement : Piece::Node;
}

XmlNodeRef XmlReader::readNode() {
    const char* start = tokens_.cursor();
    XmlNodeRef node;
    ktString endTagName;
    switch (readPiece(node, endTagName)) {
        case Piece::End:
            return nullptr;
        case Piece::EndTag:
            // An end tag at the top level closes nothing and is left unread.
            tokens_.setCursor(start);
            return nullptr;
        case Piece::OpenElement: {
            std::vector<XmlElement*> open{node->asElement()};
            node->asElement()->setCloseState(XmlElement::CloseState::Closed);
            readContent(open, 0);
            return node;
        }
        case Piece::Node:
            return node;
    }
    return node;
}

void XmlReader::readDocument(XmlElement& document) {
    std::vector<XmlElement*> open{&document};
    readContent(open, 1);
}

// Reads the content of open.back() (and of every element opened inside it)
// until that element's end tag or the end of the text. The elements before
// `firstMatchable` only receive children; no end tag closes them.
//
// When an end tag closes an element k further out, every element opened
// after k is Unclosed: its children become its following siblings. They all
// end up, in document order, in k's children, each moved once.
void XmlReader::readContent(std::vector<XmlElement*>& open, size_t firstMatchable) {
    const size_t base = open.size() - 1;
    auto flattenInto = [&open](size_t k) {
        for (size_t i = k + 1; i < open.size(); ++i) {
            open[i]->setCloseState(XmlElement::CloseState::Unclosed);
            open[k]->takeChildrenOf(*open[i]);
        }
        open.resize(k + 1);
    };
    for (;;) {
        XmlNodeRef node;
        ktString endTagName;
        Piece kind = readPiece(node, endTagName);
        switch (kind) {
            case Piece::End:
                flattenInto(base);
                if (base >= firstMatchable) {
                    open[base]->setCloseState(XmlElement::CloseState::Unclosed);
                }
                return;
            case Piece::Node:
                open.back()->insertChild(node);
                break;
            case Piece::OpenElement: {
                XmlElement* element = node->asElement();
                open.back()->insertChild(node);
                if (open.size() >= size_t(kMaxDepth)) {
                    element->setCloseState(XmlElement::CloseState::Unclosed);
                } else {
                    element->setCloseState(XmlElement::CloseState::Closed);
                    open.push_back(element);
                }
                break;
            }
            case Piece::EndTag: {
                size_t k = open.size();
                while (k-- > firstMatchable) {
                    if (endTagCloses(*open[k], endTagName.view())) break;
                }
                consumeOptional('>');
                if (k == size_t(-1) || k < firstMatchable) {
                    auto stray = std::make_shared<XmlElement>(endTagName.view());
                    stray->setCloseState(XmlElement::CloseState::EndTag);
                    open.back()->insertChild(stray);
                    break;
                }
                flattenInto(k);
                open[k]->setCloseState(XmlElement::CloseState::Closed);
                open.pop_back();
                if (k == base) return;
                break;
            }
        }
    }
}

bool parseStartTag(std::string_view text, XmlElement& element) {
    ktTokenizer tokens(text, kNameCharacters);
    tokens.skipSpace();
    if (!tokens.atEnd() && *tokens.cursor() == '<') {
        tokens.skip(1);
        tokens.skipSpace();
    }
    int32_t length = tokens.tokenLength();
    if (length == 0 || *tokens.cursor() == '>') return false;
    element.setName(std::string_view(tokens.cursor(), size_t(length)));
    tokens.skip(length);
    element.attributes().clear();
    XmlReader attributes(tokens.rest());
    attributes.readAttributes(element);
    return true;
}

}  // namespace penwick
