// penwick-make-examples FOLDER: writes the example sketches into FOLDER.

#include <cstdio>

#include "model/sketch_file.h"
#include "tools/example_sketches.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: penwick-make-examples FOLDER\n", stderr);
        return 2;
    }
    const std::string folder = argv[1];
    for (const penwick::ExampleSketch& e : penwick::exampleSketches()) {
        const std::string path = folder + "/" + e.name;
        const penwick::SaveResult saved = penwick::saveSketchFile(path, e.sketch);
        if (!saved) {
            std::fprintf(stderr, "penwick-make-examples: %s\n", saved.error.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
