// What a recovery copy costs at 1,000,000 points (10,000 shapes of 100), with
// the plain page save of the same sketch as the peer in the same run.
//
//   BM_RecoveryTickThatStartsAWrite  the main window's tick on the UI thread
//                                    that decides to write: the page's
//                                    fingerprint, its snapshot and the start
//                                    of the worker (which is then waited for
//                                    outside the timing)
//   BM_PageSave                      saveSketchFile of the same sketch: encode,
//                                    gzip, write, fsync, rename; what the
//                                    worker does off the UI thread
//
// Goal: the tick stays far below 50 ms (the pen is never made to wait).
#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "app/recovery_copy.h"
#include "bench/bench_pages.h"
#include "framework/platform/paths.h"
#include "host/headless/headless_host.h"
#include "host/host.h"
#include "host/window_style.h"
#include "model/sketch_file.h"

using namespace penwick;
using namespace penwick::bench;

namespace {

std::string benchFolder() {
    static std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "penwick-recovery-XXXXXX");
        return std::string(mkdtemp(pattern.data()) ? pattern.c_str() : "/tmp");
    }();
    return folder;
}

void BM_RecoveryTickThatStartsAWrite(benchmark::State& state) {
    host::headless::HeadlessHost host;
    host::setInstance(&host);
    ktWnd frame;
    frame.create(nullptr, "frame", host::WS_OVERLAPPEDWINDOW | host::WS_VISIBLE, 0, host::kNoWindow,
                 0, 0, 700, 500, 0);
    CanvasView view;
    view.create(nullptr, "", host::WS_CHILD | host::WS_VISIBLE, 0, frame.handle(), 0, 0, 600, 400,
                0);
    view.sketch = pageOf(100);
    view.modified = true;
    {
        RecoveryCopy copy(benchFolder(), {.intervalMs = 0, .stillMs = 0});
        std::int64_t now = 0;
        for (auto _ : state) {
            copy.tick(view, ++now);
            state.PauseTiming();
            // Waits for the worker, removes the copy; the next tick sees a
            // changed page and writes again.
            copy.pageLeft();
            view.sketch.background ^= 1;
            state.ResumeTiming();
        }
        copy.exitCleanly();
    }
    view.destroy();
    frame.destroy();
    host::setInstance(nullptr);
    state.counters["points"] = 100.0 * kShapes;
}
BENCHMARK(BM_RecoveryTickThatStartsAWrite)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PageSave(benchmark::State& state) {
    const Sketch page = pageOf(100);
    const std::string file = benchFolder() + "/page.wnk";
    for (auto _ : state) {
        if (!saveSketchFile(file, page)) state.SkipWithError("could not save");
    }
    state.counters["points"] = 100.0 * kShapes;
}
BENCHMARK(BM_PageSave)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
