#include "fuzz/xml_checks.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "framework/text/numbers.h"
#include "framework/text/string.h"
#include "framework/text/tokenizer.h"
#include "framework/value/value_node.h"
#include "framework/value/xml_node.h"
#include "framework/value/xml_reader.h"
#include "model/memory_stream.h"

namespace penwick::checks {

namespace {

std::string bytesOf(const MemoryStream& stream) {
    return std::string(reinterpret_cast<const char*>(stream.data()), size_t(stream.size()));
}

std::string writeDocument(std::string_view text) {
    XmlElement document("");
    XmlReader reader(text);
    reader.readDocument(document);
    MemoryStream out;
    for (const XmlNodeRef& node : document.children())
        node->write(out);
    return bytesOf(out);
}

std::string saveText(const ValueNode& tree) {
    XmlElement root;
    tree.toXml(root);
    MemoryStream out;
    root.write(out);
    return bytesOf(out);
}

}  // namespace

std::string checkXml(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);

    std::string once = writeDocument(text);
    std::string twice = writeDocument(once);
    if (twice != once) return "a document written back reads differently the second time";

    // One node from the start, as loadXml reads a settings file.
    XmlReader reader(text);
    XmlNodeRef first = reader.readNode();
    if (first) {
        MemoryStream out;
        if (first->write(out) != 1) return "writing a node into memory failed";
        if (first->clone() == nullptr) return "a node did not clone";
    }

    ValueNode tree;
    tree.setInt(12345);
    bool loaded = tree.loadXmlText(text);
    if (!loaded && !(tree.kind() == ValueNode::Kind::Int && tree.asInt() == 12345)) {
        return "a failed load changed the tree";
    }
    if (loaded != (first && first->asElement()))
        return "loadXml's answer differs from the reader's";
    if (loaded) {
        std::string saved = saveText(tree);
        ValueNode again;
        if (!again.loadXmlText(saved)) return "a saved settings text does not load";
        if (saveText(again) != saved) return "a saved settings text loads to a different tree";
    }
    return "";
}

namespace {

// The value of a run of decimal digits with an optional sign, clamped to 32 bits.
int64_t plainInteger(std::string_view digits) {
    bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
    int64_t value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    value = negative ? -value : value;
    return std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
}

bool isDigits(std::string_view text) {
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

std::string checkNumbers(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // Every suffix is read once, so all start positions are covered.
    for (size_t start = 0; start < text.size() && start < 64; ++start) {
        std::string_view rest = text.substr(start);
        const int32_t untouched = -777;
        int32_t n = untouched;
        int32_t used = parseInteger(rest, n);
        if (used < 0 || size_t(used) > rest.size())
            return "parseInteger used bytes it was not given";
        if (used == 0 && n != untouched) return "parseInteger changed its output without a number";
        if (used > 0) {
            if (!isDigits(rest.substr(0, size_t(used)))) return "parseInteger used a non-digit";
            if (n != plainInteger(rest.substr(0, size_t(used))))
                return "parseInteger misread digits";
        }
        double d = -777.0;
        used = parseReal(rest, d);
        if (used < 0 || size_t(used) > rest.size()) return "parseReal used bytes it was not given";
        if (used == 0 && d != -777.0) return "parseReal changed its output without a number";
        if (used > 0 && std::isnan(d)) return "parseReal produced NaN";
        n = untouched;
        used = readIntegerNumber(rest, n);
        if (used < 0 || size_t(used) > rest.size()) return "readNumber used bytes it was not given";
        if (used == 0 && n != untouched) return "readNumber changed its output without a number";
        d = -777.0;
        used = readRealNumber(rest, d);
        if (used < 0 || size_t(used) > rest.size()) return "readReal used bytes it was not given";
    }

    // The tokenizer with each kind of character set, reading numbers,
    // quoted text and tokens until the end: it must always get there.
    static constexpr std::string_view kSets[][2] = {
        {"", ""}, {"AZaz09__", ""}, {"##", "=,;"}, {"AZaz09__@@##%%--&&::;;..~~", ""}};
    for (const auto& sets : kSets) {
        ktTokenizer tokens(text, sets[0], sets[1]);
        size_t steps = 0;
        while (tokens.skipSpace()) {
            const char* before = tokens.cursor();
            int32_t n = 0;
            double d = 0;
            ktString out;
            if (!tokens.readNumber(n) && !tokens.readReal(d) && !tokens.readQuoted(out)) {
                if (!tokens.readToken(out)) return "a token could not be read where one was";
            }
            if (tokens.cursor() <= before) return "the tokenizer made no progress";
            if (tokens.rest().data() + tokens.rest().size() > text.data() + text.size()) {
                return "the tokenizer went past the end";
            }
            if (++steps > text.size()) return "the tokenizer took more steps than bytes";
        }
    }

    ktString s(text);
    int32_t n = 0;
    int32_t expected = 0;
    int32_t used = readIntegerNumber(s.view(), expected);
    if (s.takeNumber(n) != (used > 0)) return "takeNumber disagrees with readNumber";
    if (used > 0 && n != expected) return "takeNumber read another value";
    return "";
}

}  // namespace penwick::checks
