#pragma once

// ValueNode: a small dynamically typed tree for structured data, above all
// the program's settings. A node is NULL, a STRING, an INT, a DOUBLE, an
// OBJECT (members: value and key, in insertion order, keys unique and
// case-sensitive) or an ARRAY. Copies are deep.
//
// A path is a key or keys joined by ".": member("view.zoom"). Operations
// that cannot reach a real node hand out the shared scratch node, which
// belongs to no tree, so writes through an impossible path are lost.
//
// The XML form (saveXml, loadXml) is in value_xml.cpp.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/text/string.h"
#include "model/dyn_array.h"
#include "model/save_file_system.h"

namespace penwick {

class XmlElement;
struct SaveResult;

class ValueNode {
  public:
    // The codes are stored nowhere, but the names are the XML element names.
    enum class Kind : uint8_t { Null = 0, String = 1, Int = 2, Double = 3, Object = 4, Array = 5 };

    ValueNode();
    ValueNode(const ValueNode& other);
    ValueNode(ValueNode&& other) noexcept;
    ValueNode& operator=(const ValueNode& other);
    ValueNode& operator=(ValueNode&& other) noexcept;
    ~ValueNode();

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }

    void setString(std::string_view s);
    void setInt(int32_t i);
    void setDouble(double d);
    void makeObject();
    void makeArray(int32_t n);
    void clear();

    // STRING: its text; every other kind: the empty string.
    const ktString& asString() const;
    // STRING: atoi of the text; INT: the value; DOUBLE: truncated toward zero
    // (clamped to 32 bits, NaN gives 0); others 0.
    int32_t asInt() const;
    // STRING: atof of the text (in the C locale); INT, DOUBLE: the value; others 0.
    double asDouble() const;
    // STRING: not empty; INT: not 0; DOUBLE: not 0.0 (NaN is true); others false.
    bool asBool() const;
    // STRING: bytes; OBJECT, ARRAY: entries; NULL: 0; INT, DOUBLE: 1.
    int32_t count() const;

    // Get or create: a NULL node first becomes an empty OBJECT; missing keys
    // are appended as NULL members. Any other kind on the way: the scratch node.
    ValueNode& member(std::string_view path);
    // No creation: the member's node, or null.
    ValueNode* find(std::string_view path);
    const ValueNode* find(std::string_view path) const;
    // Get or create: a NULL node becomes an empty ARRAY; an ARRAY grows to
    // i + 1 elements; an OBJECT gives member i's value when there is one.
    // Otherwise the scratch node.
    ValueNode& element(int32_t i);
    // No creation: member i (OBJECT) or element i (ARRAY), else the scratch node.
    ValueNode& child(int32_t i);
    // OBJECT only: the key of member i; null otherwise.
    const ktString* key(int32_t i) const;

    // Writes the tree as an XML file through the safe save (a new file
    // renamed over the old one, so a settings file is never half-written);
    // true when it was written completely.
    bool saveXml(const std::string& fileName) const;
    SaveResult saveXml(const std::string& fileName, SaveFileSystem& files) const;
    // Reads an XML file (gzip-compressed when the name ends in "gz") into
    // this node; true when the file was read whole and its first node is an
    // element. Otherwise false and the node is unchanged.
    bool loadXml(const std::string& fileName);
    // loadXml's reading, from the text of a file.
    bool loadXmlText(std::string_view text);

    // The element form of the tree at depth d (the root has depth 0).
    void toXml(XmlElement& element, int32_t depth = 0) const;
    // Reads an element into this node; false for an element name it does
    // not know, which leaves the node unchanged.
    bool fromXml(const XmlElement& element);

    // The node that impossible paths reach; reset to NULL each time it is
    // handed out.
    static ValueNode& scratch();

  private:
    struct Member;
    class MemberList;
    using ElementList = DynArray<ValueNode>;

    // Member i's value (OBJECT) or element i (ARRAY); i must be in range.
    const ValueNode& entryAt(int32_t i) const;
    ValueNode* findKey(std::string_view key);
    ValueNode& memberKey(std::string_view key);
    bool fromXmlAt(const XmlElement& xml, int32_t depth);

    Kind kind_ = Kind::Null;
    int32_t int_ = 0;
    double double_ = 0;
    ktString string_;
    std::unique_ptr<MemberList> members_;
    std::unique_ptr<ElementList> elements_;
};

}  // namespace penwick
