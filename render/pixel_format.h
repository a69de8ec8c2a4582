#pragma once

#include <array>
#include <cstdint>

namespace penwick {

// The layout of one pixel in a PixelBuffer, and the three routines every
// drawing operation is built from: convert a colour to a pixel, fill a run of
// pixels, blend a colour into one pixel.
//
// Colours are 32-bit values 0xAARRGGBB; in a 32-bit pixel the bytes lie blue,
// green, red, alpha. All blend arithmetic is on signed integers with
// arithmetic right shifts, so negative differences round toward minus
// infinity (255 + ((0 - 255) * 31 >> 8) is 224, not 225).

struct PixelChannel {
    uint32_t mask = 0;
    uint8_t shift = 0;
};

// Whether a colour handed to convert() carries a meaningful alpha byte.
enum class ColourSource { Rgb, Argb };

struct PixelFormat {
    // Format codes:
    //   0 grey (1 byte)         1 blue, green, red (3 bytes)
    //   3 blue, green, red, 0   4 blue, green, red, alpha
    //   5 RGB 5-5-5 (2 bytes)   6 RGB 6-5-5 (2 bytes)
    //   7 RGB 5-6-5 (2 bytes)   8 grey and alpha (2 bytes)
    // Any other code is taken as code 1.
    uint8_t code = 1;
    uint8_t bytesPerPixel = 3;
    uint8_t channelCount = 3;
    std::array<PixelChannel, 4> channels{};

    static PixelFormat fromCode(int code);
    static PixelFormat grey() { return fromCode(0); }
    static PixelFormat rgb24() { return fromCode(1); }
    static PixelFormat rgb32() { return fromCode(3); }
    static PixelFormat argb32() { return fromCode(4); }

    // The pixel value for a colour, in the low bytesPerPixel bytes.
    uint32_t convert(uint32_t colour, ColourSource source = ColourSource::Rgb) const;

    // Writes the low bytesPerPixel bytes of `pixel` into n consecutive pixels
    // and returns the address after the run.
    uint8_t* fillRun(uint8_t* at, int n, uint32_t pixel) const;

    // Blends the colour's blue, green and red into one pixel with alpha
    // 0 ... 255.
    void blend(uint8_t* at, uint32_t colour, int alpha) const;

    // Blends the colour into n consecutive pixels with the same alpha.
    void blendRun(uint8_t* at, int n, uint32_t colour, int alpha) const;

    // The colour a pixel holds, as 0xAARRGGBB (alpha 0xFF for formats without
    // alpha; grey repeated into blue, green and red).
    uint32_t colourOf(const uint8_t* at) const;

    // Composites a colour with its own alpha (an ARGB source pixel) into one
    // pixel with global alpha g (0 ... 255). Onto code 4 every byte moves
    // toward the source by g; onto the other codes blue, green and red move
    // by source alpha x g / 65536.
    void compositeArgb(uint8_t* at, uint32_t colour, int g) const;

    bool operator==(const PixelFormat& other) const { return code == other.code; }
};

// Reads and writes the raw value of one pixel (little-endian, bytesPerPixel
// bytes).
uint32_t loadPixel(const uint8_t* at, int bytesPerPixel);
void storePixel(uint8_t* at, int bytesPerPixel, uint32_t value);

}  // namespace penwick
