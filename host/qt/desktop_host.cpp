#include "host/desktop_host.h"

#include "host/qt/qt_host.h"
#include "host/qt/tablet_replay.h"

namespace host {

namespace {

// The program's host: the Qt host, with the test-only pen replay when the
// environment asks for it.
class ProgramHost : public qt::QtHost {
  public:
    ProgramHost(int argc, char** argv)
        : QtHost(argc, argv), replay_(qt::startTabletReplay(*this)) {}

  private:
    std::unique_ptr<qt::TabletReplay> replay_;
};

}  // namespace

std::unique_ptr<Host> makeDesktopHost(int argc, char** argv) {
    return std::make_unique<ProgramHost>(argc, argv);
}

}  // namespace host
