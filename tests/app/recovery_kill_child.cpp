// recovery_kill_child APPDATA LOG SEED: draws stroke after stroke into a
// canvas on the headless host, with a recovery copy written every few
// milliseconds, until it is killed. It appends to LOG, each line written
// whole with one write(2) (so a kill never leaves half a line):
//   "state P C"  the page's points and checksum, after each stroke and
//                before any copy of it can be written;
//   "done P C"   a copy of that page was completely written.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "app/recovery_copy.h"
#include "canvas/canvas_view.h"
#include "framework/platform/paths.h"
#include "host/headless/headless_host.h"
#include "host/host.h"
#include "host/window_style.h"
#include "tests/app/recovery_state.h"

using namespace penwick;
using namespace host;

namespace {

int logFd = -1;

void logLine(const std::string& line) {
    std::string whole = line + "\n";
    if (::write(logFd, whole.data(), whole.size()) != ssize_t(whole.size())) std::_Exit(3);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    logFd = ::open(argv[2], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (logFd < 0) return 2;
    headless::HeadlessHost host;
    host.setSpecialFolder(CSIDL_APPDATA, argv[1]);
    host.setModulePath(std::string(argv[1]) + "/penwick");
    setInstance(&host);
    forgetAppDataFolder();

    ktWnd frame;
    frame.create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0, 700, 500,
                 0);
    Rect client = host.clientRect(frame.handle());
    CanvasView view;
    view.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, frame.handle(), 0, 0, client.width(),
                client.height(), 0);
    view.penSize = 4;

    RecoveryCopy copy(recoveryFolder(), {.intervalMs = 20, .stillMs = 5});
    std::mt19937 random(unsigned(std::strtoul(argv[3], nullptr, 10)));
    std::uniform_int_distribution<int> x(10, client.width() - 10), y(10, client.height() - 10);
    std::uniform_int_distribution<int> length(20, 120);

    auto pump = [&] {
        Message m;
        while (host.peekMessage(m, kNoWindow, 0, 0, true)) {
            host.translateMessage(m);
            host.dispatchMessage(m);
        }
    };
    int written = 0;
    auto step = [&](std::int64_t ms) {
        host.advance(ms);
        pump();
        copy.tick(view, host.millisecondsSinceStart());
        if (copy.completedWrites() != written) {
            written = copy.completedWrites();
            logLine("done " + testing::stateOf(*copy.lastWritten()).text());
        }
    };
    for (;;) {
        host.mousePress(view.handle(), headless::MouseButton::left, {x(random), y(random)});
        step(2);
        for (int n = length(random); n > 0; --n) {
            host.mouseMove(view.handle(), {x(random), y(random)}, {});
            step(2);
        }
        host.mouseRelease(view.handle(), headless::MouseButton::left, {x(random), y(random)});
        pump();
        // The stroke is done; no copy of it exists before this line does.
        logLine("state " + testing::stateOf(view.sketch).text());
        for (int n = 0; n < 4; ++n)
            step(3);
    }
}
