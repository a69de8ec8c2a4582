// Pictures as PNG files (8-bit RGB, through libpng).
#pragma once

#include <string>
#include <vector>

#include "model/safe_save.h"
#include "render/pixel_buffer.h"

namespace penwick {

// The PNG encoding of a 32-bit buffer's blue, green and red; empty when the
// buffer is empty, not 32-bit, or the encoder failed.
std::vector<unsigned char> encodePng(const PixelBuffer& picture);

// Encodes the picture and saves it through safeSave, so a failure leaves an
// existing file as it was.
SaveResult savePng(const std::string& path, const PixelBuffer& picture);

}  // namespace penwick
