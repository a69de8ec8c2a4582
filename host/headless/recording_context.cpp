#include "host/headless/recording_context.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace host::headless {

RecordingContext::RecordingContext(Environment environment, int width, int height, int widthMm,
                                   int heightMm, std::vector<DrawOp>* sink)
    : environment_(std::move(environment)),
      width_(width),
      height_(height),
      widthMm_(widthMm),
      heightMm_(heightMm),
      sink_(sink ? sink : &ownOps_) {}

RecordingContext::RecordingContext(Environment environment, const PixelView& pixels,
                                   std::vector<DrawOp>* sink)
    : environment_(std::move(environment)),
      width_(pixels.width),
      height_(pixels.height),
      // A memory context reports the 96-pixels-per-inch display size.
      widthMm_(pixels.width * 254 / 960),
      heightMm_(pixels.height * 254 / 960),
      pixels_(pixels),
      sink_(sink ? sink : &ownOps_) {}

int RecordingContext::deviceCaps(int index) const {
    switch (index) {
        case HORZSIZE:
            return widthMm_;
        case VERTSIZE:
            return heightMm_;
        case HORZRES:
            return width_;
        case VERTRES:
            return height_;
        case BITSPIXEL:
            return pixels_.bits ? pixels_.bitsPerPixel : 32;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return widthMm_ > 0 ? int(width_ * 254 / (widthMm_ * 10)) : 96;
        default:
            return 0;
    }
}

DrawOp& RecordingContext::add(DrawOp::Kind kind) {
    sink_->push_back(DrawOp{});
    sink_->back().kind = kind;
    return sink_->back();
}

ColourRef RecordingContext::currentBrushColour() const {
    return brush() != kNoBrush && environment_.brushColour ? environment_.brushColour(brush()) : 0;
}

void RecordingContext::fillRect(const Rect& rect) {
    DrawOp& op = add(DrawOp::Kind::fillRect);
    op.rect = rect;
    op.hasBrush = brush() != kNoBrush;
    op.colour = currentBrushColour();
    if (!op.hasBrush || !pixels_.bits || pixels_.bitsPerPixel != 32) return;
    int left = std::max(rect.left, 0), right = std::min(rect.right, pixels_.width);
    int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, pixels_.height);
    // Memory order of a 32-bit pixel is blue, green, red, unused.
    const std::uint8_t bgr[4] = {std::uint8_t(op.colour >> 16), std::uint8_t(op.colour >> 8),
                                 std::uint8_t(op.colour), 0};
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* row = pixels_.bits + std::ptrdiff_t(y) * pixels_.stride;
        for (int x = left; x < right; ++x)
            std::memcpy(row + 4 * x, bgr, 4);
    }
}

void RecordingContext::setFillMode(FillMode mode) {
    add(DrawOp::Kind::setFillMode).flags = std::uint32_t(mode);
}
void RecordingContext::beginPath() {
    add(DrawOp::Kind::beginPath);
}
void RecordingContext::moveTo(Point to) {
    add(DrawOp::Kind::moveTo).points = {to};
}
void RecordingContext::bezierTo(Point c1, Point c2, Point end) {
    add(DrawOp::Kind::bezierTo).points = {c1, c2, end};
}
void RecordingContext::closeFigure() {
    add(DrawOp::Kind::closeFigure);
}
void RecordingContext::endPath() {
    add(DrawOp::Kind::endPath);
}
void RecordingContext::fillPath() {
    DrawOp& op = add(DrawOp::Kind::fillPath);
    op.hasBrush = brush() != kNoBrush;
    op.colour = currentBrushColour();
}

void RecordingContext::drawPixels(int x, int y, const PixelView& pixels) {
    add(DrawOp::Kind::drawPixels).rect = {x, y, x + pixels.width, y + pixels.height};
}

void RecordingContext::drawText(std::string_view text, const Rect& rect, std::uint32_t flags) {
    DrawOp& op = add(DrawOp::Kind::drawText);
    op.rect = rect;
    op.text = std::string(text);
    op.flags = flags;
    op.font = font();
    op.colour = textColour();
    op.transparent = transparentText();
}

Rect RecordingContext::measureText(std::string_view text, const Rect& rect,
                                   std::uint32_t flags) const {
    int height = environment_.fontHeight ? environment_.fontHeight(font()) : 0;
    int cw = TextMetrics::charWidth(height);
    std::vector<std::string> lines = layoutLines(text, rect.width(), cw, flags);
    int widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, int(line.size()) * cw);
    return {rect.left, rect.top, rect.left + widest,
            rect.top + int(lines.size()) * TextMetrics::lineHeight(height)};
}

void RecordingContext::drawEdge(const Rect& rect, Edge edge) {
    DrawOp& op = add(DrawOp::Kind::drawEdge);
    op.rect = rect;
    op.flags = std::uint32_t(edge);
}

void RecordingContext::drawFocusRect(const Rect& rect) {
    add(DrawOp::Kind::drawFocusRect).rect = rect;
}

void RecordingContext::drawIcon(int x, int y, Icon icon) {
    DrawOp& op = add(DrawOp::Kind::drawIcon);
    op.points = {{x, y}};
    op.flags = std::uint32_t(icon);
}

std::vector<std::string> layoutLines(std::string_view text, int width, int charWidth,
                                     std::uint32_t flags) {
    std::vector<std::string> lines;
    const bool singleLine = flags & DT_SINGLELINE;
    const std::size_t columns =
        charWidth > 0 && width > 0 ? std::size_t(width / charWidth) : std::size_t(-1);
    std::string line;
    auto flush = [&] {
        lines.push_back(line);
        line.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') continue;
        if (c == '\n' && !singleLine) {
            flush();
            continue;
        }
        if (c == '\t' && (flags & DT_EXPANDTABS)) {
            do
                line += ' ';
            while (line.size() % 8 != 0);
        } else if (c == '&' && !(flags & DT_NOPREFIX)) {
            // A mnemonic mark takes no room; "&&" shows one "&".
            if (i + 1 < text.size() && text[i + 1] == '&') line += text[++i];
            continue;
        } else {
            line += c;
        }
        if ((flags & DT_WORDBREAK) && !singleLine && line.size() > columns) {
            std::size_t blank = line.find_last_of(' ');
            if (blank != std::string::npos && blank > 0) {
                std::string rest = line.substr(blank + 1);
                line.resize(blank);
                flush();
                line = rest;
            }
            // A word longer than the line stays whole, as the platform does.
        }
    }
    flush();
    return lines;
}

}  // namespace host::headless
