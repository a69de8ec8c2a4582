#include "fuzz/settings_checks.h"

#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "framework/text/format.h"
#include "framework/value/value_node.h"
#include "framework/value/xml_node.h"
#include "model/memory_stream.h"

namespace penwick::checks {

namespace {

// Pieces that text is made of: markup, references of every kind, the escape
// marker alone and around references, CDATA ends, line ends, dots (which
// split member paths) and characters of several lengths.
constexpr std::string_view kPieces[] = {
    "a",
    "Z",
    "0",
    " ",
    ".",
    "..",
    "<",
    ">",
    "&",
    "\"",
    "'",
    ";",
    "/",
    "=",
    "?",
    "!",
    "-",
    "\r\n",
    "\t",
    "\n",
    "\r",
    "\xC3\xA9",
    "\xE2\x82\xAC",
    "\xF0\x9F\x96\x8A",
    "\xEF\xBF\xBF",
    "&lt;",
    "&amp;",
    "&foo;",
    "&#65535;",
    "&#60;",
    "&#x41;",
    "&;",
    "]]>",
    "<![CDATA[",
    "</STRING>",
    "<INT val=\"1\" name=\"x\"/>",
    "<!--",
    "-->",
    "\xC2\xA0",
    "&trade;",
    "#",
};

class Program {
  public:
    Program(const uint8_t* data, size_t size) : at_(data), end_(data + size) {}

    bool done() const { return at_ >= end_; }
    uint8_t byte() { return done() ? 0 : *at_++; }
    int32_t int32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= uint32_t(byte()) << (8 * i);
        return int32_t(v);
    }
    double real() {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= uint64_t(byte()) << (8 * i);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    // Text of pieces, valid UTF-8 throughout.
    std::string pieces() {
        std::string text;
        for (int n = byte() % 12; n > 0; --n)
            text.append(kPieces[byte() % std::size(kPieces)]);
        return text;
    }
    // Raw bytes, any at all.
    std::string raw() {
        std::string text;
        for (int n = byte() % 24; n > 0 && !done(); --n)
            text.push_back(char(byte()));
        return text;
    }

  private:
    const uint8_t* at_;
    const uint8_t* end_;
};

// A step from a node to one of its children: a member path or an index.
struct Step {
    bool isMember = true;
    std::string path;
    int32_t index = 0;
};

// How many levels a member path adds, as member() splits it.
int32_t pathLevels(std::string_view path) {
    int32_t levels = 1;
    for (size_t dot = path.find('.'); dot != std::string_view::npos && dot != 0;
         dot = path.find('.')) {
        path.remove_prefix(dot + 1);
        ++levels;
    }
    return levels;
}

// Walks from the root again each time, so no pointer into the tree is kept
// across a change that may move its nodes.
ValueNode& follow(ValueNode& root, const std::vector<Step>& steps) {
    ValueNode* node = &root;
    for (const Step& step : steps)
        node = step.isMember ? &node->member(step.path) : &node->element(step.index);
    return *node;
}

// A text as it reads back: every well-formed UTF-8 sequence (lead byte and
// its continuation bytes, up to six) stays, every other byte and the zero
// byte become "?".
std::string asWritten(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t n = lead < 0x80   ? 1
                   : lead < 0xC0 ? 0
                   : lead < 0xE0 ? 2
                   : lead < 0xF0 ? 3
                   : lead < 0xF8 ? 4
                   : lead < 0xFC ? 5
                   : lead < 0xFE ? 6
                                 : 0;
        for (size_t k = 1; n > 0 && k < n; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                n = 0;
        }
        if (n == 0 || lead == 0) {
            out.push_back('?');
            ++i;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    return out;
}

std::string saveText(const ValueNode& tree) {
    XmlElement root;
    tree.toXml(root);
    MemoryStream out;
    root.write(out);
    return std::string(reinterpret_cast<const char*>(out.data()), size_t(out.size()));
}

// Where `loaded` differs from what `original` must read back as; "" when nowhere.
std::string difference(const ValueNode& original, const ValueNode& loaded, const std::string& at) {
    using Kind = ValueNode::Kind;
    if (original.kind() != loaded.kind()) return at + ": another kind";
    switch (original.kind()) {
        case Kind::Null:
            return {};
        case Kind::String:
            if (std::string(loaded.asString().view()) != asWritten(original.asString().view()))
                return at + ": another string";
            return {};
        case Kind::Int:
            return original.asInt() == loaded.asInt() ? "" : at + ": another integer";
        case Kind::Double: {
            ValueNode written;
            written.setString(formatReal(original.asDouble()).view());
            const double expected = written.asDouble();
            const double got = loaded.asDouble();
            const bool same = std::isnan(expected) ? std::isnan(got)
                                                   : std::memcmp(&expected, &got, sizeof got) == 0;
            return same ? "" : at + ": another double";
        }
        case Kind::Object:
        case Kind::Array: {
            ValueNode& a = const_cast<ValueNode&>(original);
            ValueNode& b = const_cast<ValueNode&>(loaded);
            if (a.count() != b.count()) return at + ": another number of entries";
            for (int32_t i = 0; i < a.count(); ++i) {
                std::string where = at + "/" + std::to_string(i);
                if (original.kind() == Kind::Object) {
                    if (std::string(a.key(i)->view()) != std::string(b.key(i)->view()))
                        return where + ": another key";
                    where += "(" + std::string(a.key(i)->view()) + ")";
                }
                std::string problem = difference(a.child(i), b.child(i), where);
                if (!problem.empty()) return problem;
            }
            return {};
        }
    }
    return {};
}

// Deep enough for any real settings, well inside what the reader reads.
constexpr int32_t kMaxLevels = 24;

}  // namespace

std::string checkSettingsApi(const uint8_t* data, size_t size) {
    Program program(data, size);
    ValueNode tree;
    std::vector<Step> steps;
    int32_t levels = 0;
    std::vector<int32_t> stepLevels;
    for (int op = 0; !program.done() && op < 4096; ++op) {
        const uint8_t code = program.byte();
        ValueNode& node = follow(tree, steps);
        switch (code % 10) {
            case 0:
                node.setString(program.pieces());
                break;
            case 1:
                node.setString(program.raw());
                break;
            case 2:
                node.setInt(program.int32());
                break;
            case 3:
                node.setDouble(program.real());
                break;
            case 4:
                node.makeObject();
                break;
            case 5:
                node.makeArray(program.byte() % 5);
                break;
            case 6:
                node.clear();
                break;
            case 7:
            case 8: {
                Step step;
                step.isMember = code % 10 == 7;
                if (step.isMember) {
                    step.path = program.pieces();
                } else {
                    step.index = program.byte() % 6;
                }
                const int32_t more = step.isMember ? pathLevels(step.path) : 1;
                if (levels + more > kMaxLevels) break;
                ValueNode& child =
                    step.isMember ? node.member(step.path) : node.element(step.index);
                // A step that reaches no real node (the node holds a scalar)
                // leads nowhere worth following.
                if (&child == &ValueNode::scratch()) break;
                steps.push_back(step);
                stepLevels.push_back(more);
                levels += more;
                break;
            }
            default:
                if (!steps.empty()) {
                    levels -= stepLevels.back();
                    stepLevels.pop_back();
                    steps.pop_back();
                }
                break;
        }
    }

    const std::string saved = saveText(tree);
    ValueNode loaded;
    if (!loaded.loadXmlText(saved)) return "a saved tree does not load";
    std::string problem = difference(tree, loaded, "root");
    if (!problem.empty()) return "a saved tree loads differently at " + problem;
    if (saveText(loaded) != saved) return "a loaded tree saves to another text";
    return {};
}

}  // namespace penwick::checks
