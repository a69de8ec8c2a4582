// penwick [FILE]: the sketching program's window on the desktop.
#include <iostream>

#include "app/command_line.h"
#include "app/program_resources.h"
#include "app/sketch_app.h"
#include "host/desktop_host.h"
#include "host/window_style.h"

int main(int argc, char** argv) {
    if (std::optional<int> answered = penwick::answerInformationOption(argc, argv, std::cout))
        return *answered;
    std::unique_ptr<host::Host> desktop = host::makeDesktopHost(argc, argv);
    host::setInstance(desktop.get());
    int result = -1;
    {
        penwick::SketchApp app;
        result = app.run(&penwick::programResources(), penwick::commandLineOf(argc, argv),
                         host::SW_SHOW);
    }
    host::setInstance(nullptr);
    return result;
}
