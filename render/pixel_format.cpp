#include "render/pixel_format.h"

#include <cstring>

#include "render/pixel_blend.h"
#include "render/pixel_runs.h"

namespace penwick {

namespace {

struct Bgr {
    int blue, green, red;
};

Bgr channelsOf(uint32_t colour) {
    return {int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)};
}

int greyOf(Bgr c) {
    return (c.red + 2 * c.green + c.blue) >> 2;
}

int blendChannel(int d, int s, int alpha) {
    return d + (((s - d) * alpha) >> 8);
}

// 16-bit RGB formats: each field is shifted up to 8 bits for blending and
// truncated back when packed.
Bgr unpack16(uint32_t pixel, int code) {
    switch (code) {
        case 5:
            return {int(pixel & 0x1F) << 3, int((pixel >> 5) & 0x1F) << 3,
                    int((pixel >> 10) & 0x1F) << 3};
        case 6:
            return {int(pixel & 0x1F) << 3, int((pixel >> 5) & 0x1F) << 3,
                    int((pixel >> 10) & 0x3F) << 2};
        default:  // 7
            return {int(pixel & 0x1F) << 3, int((pixel >> 5) & 0x3F) << 2,
                    int((pixel >> 11) & 0x1F) << 3};
    }
}

uint32_t pack16(Bgr c, int code) {
    switch (code) {
        case 5:
            return uint32_t(((c.red & 0xF8) << 7) | ((c.green & 0xF8) << 2) | (c.blue >> 3));
        case 6:
            return uint32_t(((c.red >> 2) << 10) | ((c.green >> 3) << 5) | (c.blue >> 3));
        default:  // 7
            return uint32_t(((c.red >> 3) << 11) | ((c.green >> 2) << 5) | (c.blue >> 3));
    }
}

void blendBgr(uint8_t* at, Bgr s, int alpha) {
    at[0] = uint8_t(blendChannel(at[0], s.blue, alpha));
    at[1] = uint8_t(blendChannel(at[1], s.green, alpha));
    at[2] = uint8_t(blendChannel(at[2], s.red, alpha));
}

// Blending into a pixel that has its own alpha: the less opaque the
// destination, the more the source colour replaces it.
void blendArgb(uint8_t* at, Bgr s, int alpha) {
    const int ad = at[3];
    const int c = ((ad * (alpha - 255)) >> 8) + 255;
    blendBgr(at, s, c);
    at[3] = uint8_t((((255 - ad) * alpha) >> 8) + ad);
}

// Grey is weighted 1:2:1 (blue, green, red); the green term keeps one bit
// more precision and drops its lowest bit so that the sum stays even.
int blendGrey(int d, Bgr s, int alpha) {
    const int sum = 4 * d + ((((s.green - d) * alpha) >> 7) & ~1) + (((s.red - d) * alpha) >> 8) +
                    (((s.blue - d) * alpha) >> 8);
    return sum >> 2;
}

}  // namespace

namespace {

PixelFormat describe(uint8_t code, uint8_t bytesPerPixel, uint8_t channelCount,
                     std::array<PixelChannel, 4> channels) {
    PixelFormat f;
    f.code = code;
    f.bytesPerPixel = bytesPerPixel;
    f.channelCount = channelCount;
    f.channels = channels;
    return f;
}

}  // namespace

PixelFormat PixelFormat::fromCode(int code) {
    // Channel masks and shifts of each format; a grey format keeps its one
    // channel in the blue slot.
    static const PixelFormat formats[] = {
        describe(0, 1, 1, {{{}, {}, {0xFF, 0}, {}}}),
        describe(1, 3, 3, {{{0xFF0000, 16}, {0xFF00, 8}, {0xFF, 0}, {}}}),
        describe(3, 4, 3, {{{0xFF0000, 16}, {0xFF00, 8}, {0xFF, 0}, {}}}),
        describe(4, 4, 4, {{{0xFF0000, 16}, {0xFF00, 8}, {0xFF, 0}, {0xFF000000u, 24}}}),
        describe(5, 2, 3, {{{0x7C00, 10}, {0x3E0, 5}, {0x1F, 0}, {}}}),
        describe(6, 2, 3, {{{0xFC00, 10}, {0x3E0, 5}, {0x1F, 0}, {}}}),
        describe(7, 2, 3, {{{0xF800, 11}, {0x7E0, 5}, {0x1F, 0}, {}}}),
        describe(8, 2, 2, {{{0xFF, 0}, {0xFF00, 8}, {}, {}}}),
    };
    for (const PixelFormat& f : formats)
        if (f.code == code) return f;
    return formats[1];  // any other code is taken as code 1
}

uint32_t PixelFormat::convert(uint32_t colour, ColourSource source) const {
    const Bgr c = channelsOf(colour);
    switch (code) {
        case 1:
        case 3:
            return colour & 0xFFFFFF;
        case 4:
            return source == ColourSource::Argb ? colour : (colour | 0xFF000000u);
        case 5:
        case 6:
        case 7:
            return pack16(c, code);
        case 8: {
            const uint32_t alpha = source == ColourSource::Argb ? colour >> 24 : 0xFF;
            return uint32_t(greyOf(c)) | (alpha << 8);
        }
        default:
            return uint32_t(greyOf(c));
    }
}

uint32_t loadPixel(const uint8_t* at, int bytesPerPixel) {
    uint32_t v = 0;
    for (int i = 0; i < bytesPerPixel; ++i)
        v |= uint32_t(at[i]) << (8 * i);
    return v;
}

void storePixel(uint8_t* at, int bytesPerPixel, uint32_t value) {
    for (int i = 0; i < bytesPerPixel; ++i)
        at[i] = uint8_t(value >> (8 * i));
}

uint8_t* PixelFormat::fillRun(uint8_t* at, int n, uint32_t pixel) const {
    if (n <= 0) return at;
    switch (bytesPerPixel) {
        case 1:
            std::memset(at, int(pixel & 0xFF), size_t(n));
            return at + n;
        case 4:
            fillRun32(at, n, pixel);
            return at + 4 * n;
        default:
            for (int i = 0; i < n; ++i)
                storePixel(at + i * bytesPerPixel, bytesPerPixel, pixel);
            return at + n * bytesPerPixel;
    }
}

void PixelFormat::blend(uint8_t* at, uint32_t colour, int alpha) const {
    const Bgr s = channelsOf(colour);
    switch (code) {
        case 1:
        case 3:
            blendBgr(at, s, alpha);
            break;
        case 4:
            blendArgb(at, s, alpha);
            break;
        case 0:
            at[0] = uint8_t(blendGrey(at[0], s, alpha));
            break;
        case 5:
        case 6:
        case 7: {
            Bgr d = unpack16(loadPixel(at, 2), code);
            d.blue = blendChannel(d.blue, s.blue, alpha);
            d.green = blendChannel(d.green, s.green, alpha);
            d.red = blendChannel(d.red, s.red, alpha);
            storePixel(at, 2, pack16(d, code));
            break;
        }
        case 8: {
            const int ad = at[1];
            at[0] = uint8_t(blendGrey(at[0], s, alpha));
            at[1] = uint8_t((((255 - ad) * alpha) >> 8) + ad);
            break;
        }
    }
}

void PixelFormat::blendRun(uint8_t* at, int n, uint32_t colour, int alpha) const {
    if (code == 3) return blendRunRgb32(at, n, colour, alpha);
    if (code == 4) {
        for (int i = 0; i < n; ++i, at += 4)
            storePixel32(at, blendArgb32(loadPixel32(at), colour, alpha));
        return;
    }
    for (int i = 0; i < n; ++i, at += bytesPerPixel)
        blend(at, colour, alpha);
}

uint32_t PixelFormat::colourOf(const uint8_t* at) const {
    switch (code) {
        case 1:
        case 3:
            return 0xFF000000u | at[0] | (uint32_t(at[1]) << 8) | (uint32_t(at[2]) << 16);
        case 4:
            return loadPixel(at, 4);
        case 5:
        case 6:
        case 7: {
            const Bgr c = unpack16(loadPixel(at, 2), code);
            return 0xFF000000u | uint32_t(c.blue) | (uint32_t(c.green) << 8) |
                   (uint32_t(c.red) << 16);
        }
        case 8:
            return (uint32_t(at[1]) << 24) | (uint32_t(at[0]) * 0x010101u);
        default:
            return 0xFF000000u | (uint32_t(at[0]) * 0x010101u);
    }
}

void PixelFormat::compositeArgb(uint8_t* at, uint32_t colour, int g) const {
    const Bgr s = channelsOf(colour);
    if (code == 4) {
        for (int i = 0; i < 4; ++i)
            at[i] = uint8_t(blendChannel(at[i], int((colour >> (8 * i)) & 0xFF), g));
        return;
    }
    if (code == 8) {
        at[0] = uint8_t(blendChannel(at[0], greyOf(s), g));
        at[1] = uint8_t(blendChannel(at[1], int(colour >> 24), g));
        return;
    }
    const int c = int(colour >> 24) * g;
    auto mix = [c](int d, int sv) { return d + ((c * (sv - d)) >> 16); };
    switch (code) {
        case 1:
        case 3:
            at[0] = uint8_t(mix(at[0], s.blue));
            at[1] = uint8_t(mix(at[1], s.green));
            at[2] = uint8_t(mix(at[2], s.red));
            break;
        case 5:
        case 6:
        case 7: {
            Bgr d = unpack16(loadPixel(at, 2), code);
            d = {mix(d.blue, s.blue), mix(d.green, s.green), mix(d.red, s.red)};
            storePixel(at, 2, pack16(d, code));
            break;
        }
        default: {
            const int d = at[0];
            at[0] = uint8_t(greyOf({mix(d, s.blue), mix(d, s.green), mix(d, s.red)}));
            break;
        }
    }
}

}  // namespace penwick
