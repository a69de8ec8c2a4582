// Paging through the Sketchbook, and leaving a heavy page:
//   - the next page in folders of 100, 1,000 and 10,000 pages (listing,
//     natural order, finding the current page) against the folder's listing
//     alone;
//   - the next page from a changed page of 1,000,000 points with Auto Save
//     on: the page saved, the next one loaded, drawn and painted.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/main_frame.h"
#include "app/page_order.h"
#include "bench/bench_pages.h"
#include "framework/platform/folder_listing.h"
#include "framework/platform/paths.h"
#include "framework/platform/time.h"
#include "host/headless/headless_host.h"
#include "host/window_style.h"
#include "model/sketch_file.h"

namespace penwick::bench {
namespace {

namespace fs = std::filesystem;

fs::path benchFolder() {
    static const fs::path root =
        fs::temp_directory_path() / ("penwick-page-bench-" + std::to_string(getpid()));
    return root;
}

// A Sketchbook of n small pages named as the program names them, one
// second apart.
const fs::path& bookOf(int n) {
    static std::map<int, fs::path> books;
    auto found = books.find(n);
    if (found != books.end()) return found->second;
    fs::path folder = benchFolder() / ("book-" + std::to_string(n));
    fs::create_directories(folder);
    const double start = makeTime(2020, 1, 1, 0, 0, 0);
    for (int i = 0; i < n; ++i)
        std::ofstream(folder / std::string(formatTime(start + i, "%Y-%m-%d_%H-%M-%S.wnk").view()))
            << "page";
    return books.emplace(n, folder).first->second;
}

void BM_FolderListingAlone(benchmark::State& state) {
    const std::string pattern = bookOf(int(state.range(0))).string() + "/*.wnk";
    for (auto _ : state)
        benchmark::DoNotOptimize(listFiles(pattern));
}
BENCHMARK(BM_FolderListingAlone)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_NextPage(benchmark::State& state) {
    const int n = int(state.range(0));
    const fs::path& book = bookOf(n);
    // From a page in the middle.
    const std::string reference = (book / pagesInOrder(book.string(), ".wnk")[n / 2]).string();
    for (auto _ : state)
        benchmark::DoNotOptimize(steppedPage(reference, +1));
}
BENCHMARK(BM_NextPage)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The main window on the headless host, on the first of two pages, its
// sketch replaced by a changed page of 1,000,000 points.
void BM_LeaveChangedMillionPointPage(benchmark::State& state) {
    host::headless::HeadlessHost host;
    host.setSpecialFolder(host::CSIDL_APPDATA, (benchFolder() / "appdata").string());
    host.setSpecialFolder(host::CSIDL_PERSONAL, (benchFolder() / "documents").string());
    host::setInstance(&host);
    forgetAppDataFolder();
    const fs::path book = benchFolder() / "documents" / "Sketchbook";
    fs::create_directories(book);
    const std::string heavy = (book / "a.wnk").string();
    const std::string next = (book / "b.wnk").string();
    Sketch small;
    small.shapes.append(Shape{});
    saveSketchFile(next, small);
    const Sketch page = pageOf(100);  // 10,000 shapes of 100 points
    saveSketchFile(heavy, page);
    {
        MainFrame frame;
        frame.create(nullptr, "", host::WS_OVERLAPPEDWINDOW | host::WS_VISIBLE, 0, host::kNoWindow,
                     0, 0, 1920, 1080, 0);
        for (auto _ : state) {
            state.PauseTiming();
            frame.open(heavy);
            frame.view()->sketch = page;
            frame.view()->modified = true;
            state.ResumeTiming();
            frame.stepPage(+1);  // saves a.wnk, then shows b.wnk
            host.paint();
            if (frame.currentFile() != next) state.SkipWithError("the next page did not open");
        }
        frame.destroy();
    }
    host::setInstance(nullptr);
}
BENCHMARK(BM_LeaveChangedMillionPointPage)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace penwick::bench
