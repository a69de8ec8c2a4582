// Saving the canvas's sketch under a file name whose extension chooses the
// format: SVG, gzip-compressed SVG, or otherwise the compressed sketch file.
#pragma once

#include <string>
#include <string_view>

#include "model/safe_save.h"
#include "model/save_file_system.h"
#include "model/sketch.h"
#include "render/svg_export.h"

namespace penwick {

enum class SaveFormat { Sketch, Svg, CompressedSvg };

// The extension is the text after the last "." of the name (empty when there
// is none); "svg" and "svgz" are recognised without regard to ASCII case,
// every other extension means a sketch file.
SaveFormat saveFormatOf(std::string_view fileName);

// Writes the sketch as its name's format says; the client rectangle is the
// view box of an SVG. Everything goes through safeSave, so a failure at any
// step (opening, any write, the final close) is reported with its reason and
// leaves a file already under that name untouched.
SaveResult saveToFile(const std::string& fileName, const Sketch& sketch, const ClientRect& client);
SaveResult saveToFile(const std::string& fileName, const Sketch& sketch, const ClientRect& client,
                      SaveFileSystem& files);

}  // namespace penwick
