#include "framework/value/value_node.h"

#include <locale.h>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>
#include <unordered_map>

#include "framework/text/numbers.h"

namespace penwick {

struct ValueNode::Member {
    ValueNode value;
    ktString key;
};

// The members of an OBJECT in insertion order. Lookup is by key; once an
// object has many members a hash index answers instead of a linear scan, so
// that reading a large object is not quadratic.
class ValueNode::MemberList {
  public:
    MemberList() = default;
    MemberList(const MemberList& other) : members_(other.members_) {}

    int32_t count() const { return members_.count(); }
    Member& operator[](int32_t i) { return members_[i]; }
    const Member& operator[](int32_t i) const { return members_[i]; }

    int32_t indexOf(std::string_view key) const {
        if (members_.count() < kIndexFrom) {
            for (int32_t i = 0; i < members_.count(); ++i) {
                if (members_[i].key.view() == key) return i;
            }
            return -1;
        }
        buildIndex();
        auto at = index_.find(std::string(key));
        return at == index_.end() ? -1 : at->second;
    }

    Member& append(std::string_view key) {
        int32_t i = members_.append(Member{ValueNode(), ktString(key)});
        if (!index_.empty()) index_.emplace(std::string(key), i);
        return members_[i];
    }

  private:
    static constexpr int32_t kIndexFrom = 16;

    void buildIndex() const {
        if (!index_.empty()) return;
        for (int32_t i = 0; i < members_.count(); ++i) {
            index_.emplace(std::string(members_[i].key.view()), i);
        }
    }

    DynArray<Member> members_;
    mutable std::unordered_map<std::string, int32_t> index_;
};

ValueNode::ValueNode(const ValueNode& other)
    : kind_(other.kind_), int_(other.int_), double_(other.double_), string_(other.string_) {
    if (other.members_) members_ = std::make_unique<MemberList>(*other.members_);
    if (other.elements_) elements_ = std::make_unique<ElementList>(*other.elements_);
}

ValueNode::ValueNode(ValueNode&& other) noexcept
    : kind_(other.kind_),
      int_(other.int_),
      double_(other.double_),
      string_(std::move(other.string_)),
      members_(std::move(other.members_)),
      elements_(std::move(other.elements_)) {
    other.kind_ = Kind::Null;
}

ValueNode& ValueNode::operator=(const ValueNode& other) {
    if (this != &other) {
        ValueNode copy(other);
        *this = std::move(copy);
    }
    return *this;
}

ValueNode& ValueNode::operator=(ValueNode&& other) noexcept {
    if (this != &other) {
        kind_ = other.kind_;
        int_ = other.int_;
        double_ = other.double_;
        string_ = std::move(other.string_);
        members_ = std::move(other.members_);
        elements_ = std::move(other.elements_);
        other.kind_ = Kind::Null;
    }
    return *this;
}

ValueNode::ValueNode() = default;

ValueNode::~ValueNode() = default;

void ValueNode::clear() {
    kind_ = Kind::Null;
    int_ = 0;
    double_ = 0;
    string_ = ktString();
    members_.reset();
    elements_.reset();
}

void ValueNode::setString(std::string_view s) {
    ktString text(s);  // s may lie inside this node's own string
    clear();
    string_ = std::move(text);
    kind_ = Kind::String;
}

void ValueNode::setInt(int32_t i) {
    clear();
    int_ = i;
    kind_ = Kind::Int;
}

void ValueNode::setDouble(double d) {
    clear();
    double_ = d;
    kind_ = Kind::Double;
}

void ValueNode::makeObject() {
    clear();
    members_ = std::make_unique<MemberList>();
    kind_ = Kind::Object;
}

void ValueNode::makeArray(int32_t n) {
    clear();
    elements_ = std::make_unique<ElementList>();
    if (n > 0) elements_->resize(n);
    kind_ = Kind::Array;
}

const ktString& ValueNode::asString() const {
    static const ktString kEmpty;
    return kind_ == Kind::String ? string_ : kEmpty;
}

namespace {

bool isCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// atoi: optional leading whitespace and sign, decimal digits, 0 when none.
int32_t textToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    int32_t value = 0;
    parseInteger(text.substr(i), value);
    return value;
}

// atof in the C locale, whatever locale the program has set.
double textToDouble(const char* text) {
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    return cLocale ? strtod_l(text, nullptr, cLocale) : std::strtod(text, nullptr);
}

}  // namespace

int32_t ValueNode::asInt() const {
    switch (kind_) {
        case Kind::String:
            return textToInt(string_.view());
        case Kind::Int:
            return int_;
        case Kind::Double:
            if (std::isnan(double_)) return 0;
            if (double_ >= 2147483647.0) return INT32_MAX;
            if (double_ <= -2147483648.0) return INT32_MIN;
            return int32_t(double_);
        default:
            return 0;
    }
}

double ValueNode::asDouble() const {
    switch (kind_) {
        case Kind::String:
            return textToDouble(string_.c_str());
        case Kind::Int:
            return int_;
        case Kind::Double:
            return double_;
        default:
            return 0.0;
    }
}

bool ValueNode::asBool() const {
    switch (kind_) {
        case Kind::String:
            return !string_.isEmpty();
        case Kind::Int:
            return int_ != 0;
        case Kind::Double:
            return !(double_ == 0.0);
        default:
            return false;
    }
}

int32_t ValueNode::count() const {
    switch (kind_) {
        case Kind::String:
            return string_.length();
        case Kind::Object:
            return members_->count();
        case Kind::Array:
            return elements_->count();
        case Kind::Int:
        case Kind::Double:
            return 1;
        default:
            return 0;
    }
}

namespace {

ValueNode& scratchStorage() {
    static ValueNode node;
    return node;
}

}  // namespace

ValueNode& ValueNode::scratch() {
    ValueNode& node = scratchStorage();
    node.clear();
    return node;
}

namespace {

// Cuts a path at its first "."; a path without one, or one that starts with
// ".", is one whole key. Keys have no length limit.
bool nextKey(std::string_view& rest, std::string_view& key) {
    size_t dot = rest.find('.');
    if (dot == std::string_view::npos || dot == 0) {
        key = rest;
        return false;
    }
    key = rest.substr(0, dot);
    rest.remove_prefix(dot + 1);
    return true;
}

}  // namespace

ValueNode* ValueNode::findKey(std::string_view key) {
    if (kind_ != Kind::Object) return nullptr;
    int32_t i = members_->indexOf(key);
    return i < 0 ? nullptr : &(*members_)[i].value;
}

ValueNode& ValueNode::memberKey(std::string_view key) {
    if (kind_ == Kind::Null) makeObject();
    if (kind_ != Kind::Object) return scratch();
    int32_t i = members_->indexOf(key);
    return i >= 0 ? (*members_)[i].value : members_->append(key).value;
}

ValueNode& ValueNode::member(std::string_view path) {
    ValueNode* node = this;
    std::string_view key;
    for (bool more = true; more;) {
        more = nextKey(path, key);
        node = &node->memberKey(key);
        if (node == &scratchStorage()) return *node;
    }
    return *node;
}

ValueNode* ValueNode::find(std::string_view path) {
    ValueNode* node = this;
    std::string_view key;
    for (bool more = true; more && node;) {
        more = nextKey(path, key);
        node = node->findKey(key);
    }
    return node;
}

const ValueNode* ValueNode::find(std::string_view path) const {
    return const_cast<ValueNode*>(this)->find(path);
}

ValueNode& ValueNode::element(int32_t i) {
    if (i < 0) return scratch();
    if (kind_ == Kind::Null) makeArray(0);
    if (kind_ == Kind::Array) return elements_->at(i);
    if (kind_ == Kind::Object && i < members_->count()) return (*members_)[i].value;
    return scratch();
}

ValueNode& ValueNode::child(int32_t i) {
    if (i >= 0 && kind_ == Kind::Object && i < members_->count()) return (*members_)[i].value;
    if (i >= 0 && kind_ == Kind::Array && i < elements_->count()) return (*elements_)[i];
    return scratch();
}

const ValueNode& ValueNode::entryAt(int32_t i) const {
    return kind_ == Kind::Object ? (*members_)[i].value : (*elements_)[i];
}

const ktString* ValueNode::key(int32_t i) const {
    if (kind_ != Kind::Object || i < 0 || i >= members_->count()) return nullptr;
    return &(*members_)[i].key;
}

}  // namespace penwick
