// The sketch file format and the clipboard payload.
//
// A sketch file is gzip-compressed; decompressed it is, field by field and
// little-endian with no padding:
//   int32 version (107), int32 page count (1 when written), then per page:
//   shape list, the shape being drawn, page transform (96 bytes),
//   fit transform (96 bytes), int32 background 0xRRGGBB.
// Shape list: int32 count, shapes. Shape: int32 group count, groups, int32
// colour, int32 fill colour. Group: int32 stroke count, strokes. Stroke: byte
// closed, int32 point count, 16-byte points (float x, y, radius, byte onCurve,
// byte selected, two zero bytes). A transform is its twelve doubles.
// Versions 106 and 105 are still read (see sketch_reader.cpp).
//
// The clipboard payload is int32 0x636C6970 ("pilc" in file order), int32 107
// and a shape list, uncompressed.
#pragma once

#include <cstdint>
#include <string>

#include "model/byte_stream.h"
#include "model/safe_save.h"
#include "model/sketch.h"

namespace penwick {

constexpr int32_t kSketchVersion = 107;
constexpr int32_t kClipboardMagic = 0x636C6970;

// The outcome of reading a file or a clipboard payload.
struct ReadResult {
    bool ok = false;
    // Why nothing was read, for a person ("the file is truncated"); empty on success.
    std::string error;
    // Shapes read (the whole sketch's for a file, the pasted ones for the clipboard).
    int32_t shapeCount = 0;
    explicit operator bool() const { return ok; }
};

// Writes a version 107 file with one page.
void writeSketch(ByteStream& stream, const Sketch& sketch);

// What reading may cost. Reading n bytes of (decompressed) input takes at
// most memoryPerByte * n + headroomBytes bytes of memory, the input buffer
// included, and time in proportion to n; input that would need more (a
// small file of millions of empty records, say) is refused, and so is
// decompressed input beyond maxInputBytes (16 million points, days of drawing).
struct ReadLimits {
    size_t maxInputBytes = size_t{256} << 20;
    size_t memoryPerByte = 4;
    size_t headroomBytes = size_t{64} << 20;
};

// Reads everything the stream holds as a sketch file of version 107, 106 or
// 105 into `sketch`. An empty stream gives an empty sketch. On any failure
// (damaged or truncated data, an unknown version, more records than the
// limits allow) the sketch is left exactly as it was and the result says why.
ReadResult readSketch(ByteStream& stream, Sketch& sketch, const ReadLimits& limits = {});

// Writes the clipboard header and the selected shapes in order, or every
// shape when none is selected; returns the number of shapes written.
int32_t writeClipboard(ByteStream& stream, const Sketch& sketch);

// Reads a clipboard payload and inserts its shapes, all marked selected,
// before shape insertIndex when that is a valid index (which stays as it
// was), otherwise at the end. Changes nothing unless the whole payload is
// sound; shapeCount is the number pasted.
ReadResult pasteClipboard(ByteStream& stream, Sketch& sketch, const ReadLimits& limits = {});

// A page on disk: gzip-compressed, saved through safeSave. Loading refuses,
// before reading a byte, anything but a regular file (or a link to one) and
// an empty file: no page is ever 0 bytes long, so that is a truncated one.
SaveResult saveSketchFile(const std::string& path, const Sketch& sketch);
ReadResult loadSketchFile(const std::string& path, Sketch& sketch);

}  // namespace penwick
