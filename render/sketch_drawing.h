// The raster drawing of a whole sketch, as the canvas window shows it.
//
// Shapes before the insertion point go into the image buffer; shapes from the
// insertion point on go into a separate faded buffer, lightened half-way to
// white, which is later laid over the image at alpha 223 so that they look
// like a sheet of tracing paper above the rest. Selected shapes are tinted
// blue at edit level Shape.
#pragma once

#include <cstdint>

#include "model/sketch.h"
#include "render/band_workers.h"
#include "render/pixel_buffer.h"

namespace penwick {

// Mixes two colours byte by byte (all four bytes): trunc((1 − t) × c + t × d).
uint32_t mixColour(uint32_t c, uint32_t d, double t);

// Fills every group of `shape` (already in window pixels) that has a stroke:
// first its centre line with `fillColour`, then its outline with `colour`;
// a negative colour draws nothing. Shapes whose bounds lie wholly outside
// the target are skipped.
void drawShape(PixelBuffer& target, const Shape& shape, int32_t colour, int32_t fillColour);

// Fills `image` (32-bit RGB, the client size) with the background and draws
// every shape of the sketch in order, the shape being drawn last. When the
// sketch has an insertion point, `faded` (32-bit ARGB, the same size) is
// cleared and receives the shapes from it on. The sketch's view must already
// be fitted to the buffers (setWindowFit).
//
// With more than one thread the outlines are built in parallel and the
// picture is drawn in horizontal bands, each band every shape in the same
// order clipped to its rows, so the pixels are those of one thread. The
// first form uses BandWorkers::shared(). `bandRows` 0 chooses the bands (one
// thread then draws the whole picture at once); a positive value draws in
// bands of that many rows even on one thread.
void drawSketch(const Sketch& sketch, PixelBuffer& image, PixelBuffer& faded);
void drawSketch(const Sketch& sketch, PixelBuffer& image, PixelBuffer& faded, BandWorkers& workers,
                int bandRows = 0);

// Lays the faded buffer over `target` at global alpha 223, as the window
// shows it.
void composeFaded(PixelBuffer& target, const PixelBuffer& faded);

// The whole picture in one buffer of the given size (32-bit RGB): the sketch
// drawn, and the faded shapes composed over it when there is an insertion
// point. False, with `picture` empty, when the size is not positive or the
// memory cannot be had. The view must be fitted to the size.
bool drawSketchPicture(const Sketch& sketch, int width, int height, PixelBuffer& picture);

}  // namespace penwick
