#include "framework/text/matching.h"

#include "framework/text/ascii.h"

namespace penwick {

namespace {

// One alternative, without `|`. Greedy with a single backtrack point: the
// last `*` seen takes one more byte whenever the rest fails, which is
// O(text * pattern) at worst and never recursive.
bool matchOne(std::string_view text, std::string_view pattern) {
    size_t t = 0, p = 0;
    size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || asciiLower(pattern[p]) == asciiLower(text[t]))) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool isSkipped(char c) {
    switch (c) {
        case '"':
        case '\'':
        case '.':
        case '-':
        case '(':
        case ')':
        case '[':
        case ']':
        case '`':
        case ' ':
            return true;
        default:
            return false;
    }
}

int keyOf(unsigned char c, bool symbolsLast) {
    if (c >= 'a' && c <= 'z') return 2 * c - 63;
    if (c >= 'A' && c <= 'Z') return 2 * c;
    return symbolsLast ? c + 256 : 2 * c;
}

// Compares the digit runs at a[i] and b[j] by value without converting them,
// so that any length of number orders correctly; advances both.
int compareNumbers(std::string_view a, size_t& i, std::string_view b, size_t& j) {
    while (i < a.size() && a[i] == '0')
        ++i;
    while (j < b.size() && b[j] == '0')
        ++j;
    size_t startA = i, startB = j;
    while (i < a.size() && isAsciiDigit(a[i]))
        ++i;
    while (j < b.size() && isAsciiDigit(b[j]))
        ++j;
    size_t lengthA = i - startA, lengthB = j - startB;
    if (lengthA != lengthB) return lengthA < lengthB ? -1 : 1;
    int order = a.substr(startA, lengthA).compare(b.substr(startB, lengthB));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

}  // namespace

bool wildcardMatch(std::string_view text, std::string_view pattern) {
    bool negate = !pattern.empty() && pattern[0] == '|';
    if (negate) pattern.remove_prefix(1);
    bool matched = false;
    for (;;) {
        size_t bar = pattern.find('|');
        if (matchOne(text, pattern.substr(0, bar))) {
            matched = true;
            break;
        }
        if (bar == std::string_view::npos) break;
        pattern.remove_prefix(bar + 1);
    }
    return matched != negate;
}

int naturalCompare(std::string_view a, std::string_view b, bool symbolsLast) {
    size_t i = 0, j = 0;
    for (;;) {
        while (i < a.size() && isSkipped(a[i]))
            ++i;
        while (j < b.size() && isSkipped(b[j]))
            ++j;
        bool endA = i >= a.size(), endB = j >= b.size();
        if (endA || endB) return endA && endB ? 0 : endA ? -1 : 1;
        if (isAsciiDigit(a[i]) && isAsciiDigit(b[j])) {
            int order = compareNumbers(a, i, b, j);
            if (order != 0) return order;
            continue;
        }
        if (a[i] != b[j]) {
            int keyA = keyOf(static_cast<unsigned char>(a[i]), symbolsLast);
            int keyB = keyOf(static_cast<unsigned char>(b[j]), symbolsLast);
            return keyA < keyB ? -1 : 1;
        }
        ++i;
        ++j;
    }
}

}  // namespace penwick
