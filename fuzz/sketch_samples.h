// Small sketches and hand-built files of every kind the reader accepts: the
// seeds of the fuzz corpora and the fixtures of the file tests.
#pragma once

#include <cstdint>
#include <vector>

#include "model/sketch.h"

namespace penwick::samples {

using Bytes = std::vector<unsigned char>;

// Two shapes (one with two groups, one with a closed stroke), selection marks
// on some points, a shape being drawn, a turned page and a tinted paper.
Sketch varied();
// One shape: one group, one stroke, one point.
Sketch onePoint();

// Hand-built decompressed files of the old versions: two strokes of 2 and 3
// points (105); one shape of two strokes and a shape being drawn (106).
Bytes version105();
Bytes version106();

// The decompressed bytes writeSketch produces, and the same as a gzip file's bytes.
Bytes payloadOf(const Sketch& sketch);
Bytes gzipOf(const Bytes& payload);
// The clipboard payload of the sketch's selected shapes (all when none is).
Bytes clipboardOf(const Sketch& sketch);

// Little-endian builders for hand-made files.
void putInt32(Bytes& out, int32_t value);
void putFloat(Bytes& out, float value);
void putTransform(Bytes& out, const Transform3D& t);

}  // namespace penwick::samples
