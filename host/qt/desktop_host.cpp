#include "host/desktop_host.h"

#include "host/qt/qt_host.h"

namespace host {

std::unique_ptr<Host> makeDesktopHost(int argc, char** argv) {
    return std::make_unique<qt::QtHost>(argc, argv);
}

}  // namespace host
