#include "framework/text/sequence.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "framework/text/failure.h"

namespace penwick {

void ktVS::SetChar(ktVSPosition, char) {
    throwFailure("SetChar() not implemented");
}

void ktVS::Append(char) {
    throwFailure("Append() not implemented");
}

void ktVS::appendRange(ktVSPosition from, ktVSPosition to) {
    const ktVS& source = *from.sequence;
    for (ktVSPosition p = from; source.distance(p, to) > 0; p = source.advance(p, 1)) {
        Append(source.charAt(p));
    }
}

void ktVS::Replace(ktVSPosition, ktVSPosition, std::string_view) {
    throwFailure("ktVS::Replace() not implemented");
}

void ktVS::Empty() {
    throwFailure("ktVS::Empty() not implemented");
}

void ktVS::assign(std::string_view text) {
    Empty();
    ktTextView view(text);
    appendRange(view.begin(), view.end());
}

ktTextView::ktTextView(const char* text, intptr_t length)
    : text_(text ? text : ""), length_(length < 0 ? intptr_t(std::strlen(text_)) : length) {}

char ktTextBuffer::charAt(ktVSPosition p) const {
    if (p.value < 0 || size_t(p.value) >= bytes_.size()) {
        throw std::out_of_range("ktTextBuffer::charAt");
    }
    return bytes_[size_t(p.value)];
}

void ktTextBuffer::SetChar(ktVSPosition p, char c) {
    if (p.value < 0 || size_t(p.value) >= bytes_.size()) {
        throw std::out_of_range("ktTextBuffer::SetChar");
    }
    bytes_[size_t(p.value)] = c;
}

void ktTextBuffer::growFor(size_t needed) {
    if (needed <= bytes_.capacity()) return;
    size_t step = std::clamp<size_t>(bytes_.size() / 2, 256, 65536);
    bytes_.reserve(std::max(needed, bytes_.capacity() + step));
}

void ktTextBuffer::Append(char c) {
    growFor(bytes_.size() + 1);
    bytes_.push_back(c);
}

void ktTextBuffer::append(std::string_view text) {
    growFor(bytes_.size() + text.size());
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

}  // namespace penwick
