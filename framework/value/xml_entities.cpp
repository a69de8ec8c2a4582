#include "framework/value/xml_entities.h"

#include <cstring>

#include "framework/text/ascii.h"
#include "framework/text/numbers.h"

namespace penwick {

namespace {

struct Entity {
    std::string_view name;
    int32_t code;
};

// "trade" decodes to U+2122, the character the name stands for.
constexpr Entity kDecodingTable[] = {
    {"lt", 60},    {"gt", 62},    {"amp", 38},  {"apos", 39},  {"quot", 34},
    {"nbsp", 160}, {"copy", 169}, {"reg", 174}, {"para", 182}, {"trade", 0x2122},
};

bool isEntityNameByte(char c) {
    auto byte = static_cast<unsigned char>(c);
    if (byte <= 32) return false;
    switch (c) {
        case '<':
        case '>':
        case '&':
        case '"':
        case '\'':
        case ';':
            return false;
        default:
            return true;
    }
}

// Where the name of a reference starting at `from` ends. A marker ends it
// too: a name holding one could not be written back as the same name.
size_t entityNameEnd(std::string_view text, size_t from) {
    while (from < text.size() && isEntityNameByte(text[from]) &&
           text.substr(from, kEscapeMarker.size()) != kEscapeMarker)
        ++from;
    return from;
}

// Whether the "&" at `at` begins a reference the decoder reads as one.
bool startsEntityReference(std::string_view text, size_t at) {
    size_t end = entityNameEnd(text, at + 1);
    return end < text.size() && text[end] == ';';
}

bool isDecodedName(std::string_view name) {
    for (const Entity& entity : kDecodingTable) {
        if (entity.name == name) return true;
    }
    return false;
}

// The length of the kept reference "&name;" at `at`, 0 when there is none
// there: only a name the decoder does not know can have been kept.
size_t keptReferenceLength(std::string_view text, size_t at) {
    if (at >= text.size() || text[at] != '&' || !startsEntityReference(text, at)) return 0;
    size_t end = entityNameEnd(text, at + 1);
    std::string_view name = text.substr(at + 1, end - at - 1);
    if ((!name.empty() && name[0] == '#') || isDecodedName(name)) return 0;
    return end + 1 - at;
}

bool startsMarker(std::string_view text, size_t at) {
    return text.substr(at, kEscapeMarker.size()) == kEscapeMarker;
}

// The length of the sequence a lead byte starts: 0 for a byte that cannot
// lead one (a continuation byte, 0xFE, 0xFF).
int sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead < 0xC0) return 0;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF8) return 4;
    if (lead < 0xFC) return 5;
    if (lead < 0xFE) return 6;
    return 0;
}

// The length of the well-formed sequence at text[i], 0 when there is none.
size_t wellFormedLength(std::string_view text, size_t i) {
    size_t n = size_t(sequenceLength(static_cast<unsigned char>(text[i])));
    if (n == 0 || i + n > text.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
    }
    return n;
}

void appendDecodedEntity(std::string_view name, std::string& out) {
    if (!name.empty() && name[0] == '#') {
        int32_t value = 0;
        if (parseInteger(name.substr(1), value) == 0) value = 0;
        if (value == 0xFFFF) {
            // The character itself, told apart from a marker by doubling it.
            out.append(kEscapeMarker);
            out.append(kEscapeMarker);
            return;
        }
        appendUtf8(value, out);
        return;
    }
    for (const Entity& entity : kDecodingTable) {
        if (entity.name == name) {
            appendUtf8(entity.code, out);
            return;
        }
    }
    out.append(kEscapeMarker);
    out.push_back('&');
    out.append(name);
    out.push_back(';');
}

}  // namespace

void appendUtf8(int64_t codePoint, std::string& out) {
    if (codePoint < 1 || codePoint > 0x7FFFFFFF) {
        out.push_back('?');
        return;
    }
    auto c = uint32_t(codePoint);
    if (c < 0x80) {
        out.push_back(char(c));
        return;
    }
    // Lead byte marks and payload bits per length (RFC 2279).
    int length = c < 0x800 ? 2 : c < 0x10000 ? 3 : c < 0x200000 ? 4 : c < 0x4000000 ? 5 : 6;
    static constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};
    char bytes[6];
    for (int k = length - 1; k > 0; --k) {
        bytes[k] = char(0x80 | (c & 0x3F));
        c >>= 6;
    }
    bytes[0] = char(kLead[length] | c);
    out.append(bytes, size_t(length));
}

void decodeEntities(std::string_view text, ktString& out) {
    size_t lastSemicolon = text.rfind(';');
    std::string decoded;
    size_t runStart = 0;
    size_t i = 0;
    bool changed = false;
    auto flushRun = [&](size_t end) {
        decoded.append(text.substr(runStart, end - runStart));
        changed = true;
    };
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c == '&') {
            // A name holds no blank, control byte, quote or markup byte: an
            // "&" that no such name and ";" follow is a literal "&".
            size_t semicolon = i + 1;
            if (lastSemicolon != std::string_view::npos && lastSemicolon > i)
                semicolon = entityNameEnd(text, semicolon);
            if (semicolon >= text.size() || text[semicolon] != ';') {
                ++i;
                continue;
            }
            flushRun(i);
            appendDecodedEntity(text.substr(i + 1, semicolon - i - 1), decoded);
            i = semicolon + 1;
            runStart = i;
        } else if (c < 0x80) {
            ++i;
        } else if (text.substr(i, 3) == kEscapeMarker) {
            // The marker goes; the character after it is taken literally,
            // unless it is a marker too, which would mean something else
            // once written: both go.
            flushRun(i);
            i += 3;
            runStart = i;
            if (text.substr(i, 3) == kEscapeMarker) {
                i += 3;
                runStart = i;
            } else if (i < text.size()) {
                size_t n = wellFormedLength(text, i);
                if (n == 0) {
                    decoded.push_back('?');
                    runStart = ++i;
                } else {
                    i += n;
                }
            }
        } else if (size_t n = wellFormedLength(text, i); n > 0) {
            i += n;
        } else {
            // Not UTF-8: read as "?", as it would be written.
            flushRun(i);
            decoded.push_back('?');
            runStart = ++i;
        }
    }
    if (!changed) {
        out.assign(text.data(), int32_t(text.size()));
        return;
    }
    flushRun(text.size());
    out.assign(decoded.data(), int32_t(decoded.size()));
}

std::string plainText(std::string_view decoded) {
    std::string plain;
    plain.reserve(decoded.size());
    size_t i = 0;
    while (i < decoded.size()) {
        if (!startsMarker(decoded, i)) {
            plain.push_back(decoded[i++]);
            continue;
        }
        i += kEscapeMarker.size();
        // A kept reference is just its characters; a doubled marker, or one
        // that marks nothing, is the character U+FFFF.
        if (keptReferenceLength(decoded, i) > 0) continue;
        plain.append(kEscapeMarker);
        if (startsMarker(decoded, i)) i += kEscapeMarker.size();
    }
    return plain;
}

std::string escapedText(std::string_view plain) {
    std::string escaped;
    escaped.reserve(plain.size());
    for (size_t at = plain.find(kEscapeMarker); at != std::string_view::npos;
         at = plain.find(kEscapeMarker)) {
        escaped.append(plain.substr(0, at));
        escaped.append(kEscapeMarker);
        escaped.append(kEscapeMarker);
        plain.remove_prefix(at + kEscapeMarker.size());
    }
    escaped.append(plain);
    return escaped;
}

void encodeEntities(std::string_view text, std::string& out, bool attribute) {
    size_t runStart = 0;
    size_t i = 0;
    auto flushRun = [&](size_t end) { out.append(text.substr(runStart, end - runStart)); };
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            const char* entity = nullptr;
            switch (c) {
                case '\0':
                    // No XML text holds a zero byte (the reader stops at one).
                    entity = "?";
                    break;
                case '<':
                    entity = "&lt;";
                    break;
                case '>':
                    entity = "&gt;";
                    break;
                case '&':
                    entity = "&amp;";
                    break;
                case '"':
                    entity = "&quot;";
                    break;
                case '\t':
                    entity = attribute ? "&#9;" : nullptr;
                    break;
                case '\n':
                    entity = attribute ? "&#10;" : nullptr;
                    break;
                case '\r':
                    entity = attribute ? "&#13;" : nullptr;
                    break;
                default:
                    break;
            }
            if (!entity) {
                ++i;
                continue;
            }
            flushRun(i);
            out.append(entity);
            runStart = ++i;
            continue;
        }
        if (startsMarker(text, i)) {
            flushRun(i);
            i += kEscapeMarker.size();
            if (keptReferenceLength(text, i) > 0) {
                // A kept reference: the marker goes and "&name;" is written
                // as it is ("&" raw; the name holds no markup byte).
                runStart = i++;
                continue;
            }
            // The character U+FFFF, doubled or marking nothing: written as a
            // reference, so that it can never take the next byte with it.
            if (startsMarker(text, i)) i += kEscapeMarker.size();
            out.append("&#65535;");
            runStart = i;
            continue;
        }
        size_t n = wellFormedLength(text, i);
        if (n > 0) {
            i += n;
            continue;
        }
        flushRun(i);
        out.push_back('?');
        runStart = ++i;
    }
    flushRun(text.size());
}

}  // namespace penwick
