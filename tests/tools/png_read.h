// Reading PNG files back in tests (8-bit RGB through libpng's simple API).
#pragma once

#include <png.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // red, green, blue per pixel, rows top down
};

// False when the file is missing or not a PNG. Transparent pixels are laid
// over white.
inline bool readPng(const std::string& path, RgbImage& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
    png.format = PNG_FORMAT_RGB;
    image.width = int(png.width);
    image.height = int(png.height);
    image.rgb.assign(PNG_IMAGE_SIZE(png), 0);
    png_color white{255, 255, 255};
    if (!png_image_finish_read(&png, &white, image.rgb.data(), 0, nullptr)) {
        png_image_free(&png);
        return false;
    }
    return true;
}
