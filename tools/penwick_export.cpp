// penwick-export: turns a sketch file into SVG, compressed SVG, PNG or a
// fresh sketch file, seen as the window of the given size would show it;
// or into a thumbnail, the whole drawing in a square PNG (the desktop's
// thumbnailer runs it so).
//
// Exit status: 0 done; 1 the input could not be read or the output not
// written (nothing is created then); 2 bad arguments.

#include <cstdio>
#include <string>
#include <vector>

#include "framework/text/path_names.h"
#include "model/sketch.h"
#include "model/sketch_file.h"
#include "render/save_to_file.h"
#include "render/sketch_drawing.h"
#include "tools/export_arguments.h"
#include "tools/png_file.h"
#include "tools/thumbnail_fit.h"

namespace {

using namespace penwick;

constexpr const char* kUsage =
    "usage: penwick-export [--size WIDTHxHEIGHT | --thumbnail SIZE] INPUT OUTPUT\n";

constexpr const char* kHelp =
    "usage: penwick-export [--size WIDTHxHEIGHT | --thumbnail SIZE] INPUT OUTPUT\n"
    "\n"
    "Exports a Penwick sketch file as the drawing window of the given size\n"
    "shows it: the view is fitted to WIDTHxHEIGHT pixels (default 1024x768,\n"
    "each side from 1 to 8192) before anything is drawn.\n"
    "\n"
    "INPUT   a sketch file (.wnk) of any version Penwick reads, compressed or not.\n"
    "OUTPUT  chosen by its extension, in any case:\n"
    "          .svg   SVG; the view box is the window, in eighths of a pixel\n"
    "          .svgz  gzip-compressed SVG\n"
    "          .png   the picture as Penwick's own rasterizer draws it\n"
    "          other  a sketch file of the current version (gzip-compressed)\n"
    "        An existing OUTPUT is replaced only once the new one is complete,\n"
    "        and only when it is a regular file (or a link to one).\n"
    "\n"
    "Options:\n"
    "  --size WIDTHxHEIGHT   the window size in pixels (also --size=WIDTHxHEIGHT)\n"
    "  --thumbnail SIZE      a thumbnail: the whole drawing fitted into a square of\n"
    "                        SIZE x SIZE pixels (1 to 8192), written as PNG whatever\n"
    "                        OUTPUT is called (also --thumbnail=SIZE)\n"
    "  --help                show this text\n"
    "  --                    end of options (for names that start with '-')\n"
    "\n"
    "Exit status: 0 on success; 1 when INPUT cannot be opened, is no regular\n"
    "file, is empty, truncated or damaged, has an unknown version, or OUTPUT\n"
    "cannot be written (no output file is created then); 2 for bad arguments.\n";

// Reads the whole input; on failure says why, naming the file.
bool loadInput(const std::string& path, Sketch& sketch, std::string& error) {
    const ReadResult read = loadSketchFile(path, sketch);
    if (!read) error = read.error;
    return bool(read);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ExportArguments a = parseExportArguments(args);
    if (a.action == ExportArguments::Action::Help) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (a.action == ExportArguments::Action::Invalid) {
        std::fprintf(stderr, "penwick-export: %s\n%s", a.error.c_str(), kUsage);
        return 2;
    }

    Sketch sketch;
    std::string error;
    if (!loadInput(a.input, sketch, error)) {
        std::fprintf(stderr, "penwick-export: %s: %s\n", a.input.c_str(), error.c_str());
        return 1;
    }
    // As the canvas does before every redraw; a thumbnail shows it all.
    if (a.thumbnail)
        fitDrawingIntoSquare(sketch, a.width);
    else
        sketch.setWindowFit(a.width, a.height);

    SaveResult saved;
    if (a.thumbnail || hasExtension(a.output, "png")) {
        PixelBuffer picture;
        if (!drawSketchPicture(sketch, a.width, a.height, picture)) {
            std::fprintf(stderr, "penwick-export: %s: not enough memory for the picture\n",
                         a.output.c_str());
            return 1;
        }
        saved = savePng(a.output, picture);
    } else {
        saved = saveToFile(a.output, sketch, ClientRect{0, 0, a.width, a.height});
    }
    if (!saved) {
        std::fprintf(stderr, "penwick-export: %s\n", saved.error.c_str());
        return 1;
    }
    return 0;
}
