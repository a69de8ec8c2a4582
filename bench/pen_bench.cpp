// The work of one pen sample on the canvas at 1920 x 1080, on the headless
// host: the look for newer queued packets, the mapping, addSample, the newest
// outline piece, its fill into the preview and the repaint request; and one
// mouse move, which draws the whole growing shape into the preview again.
// Strokes of 100, 5,000 and 50,000 points on an empty page and on a page of
// 5,000 strokes; the goal is a flat cost far below a 240 Hz report interval.
#include <benchmark/benchmark.h>

#include <cmath>

#include "canvas/canvas_view.h"
#include "host/headless/headless_host.h"
#include "host/window_style.h"
#include "tests/render/random_paths.h"

namespace penwick::bench {
namespace {

using namespace host;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct PenScene {
    host::headless::HeadlessHost host;
    ktWnd frame;
    CanvasView view;
    double x = 0;

    PenScene(int pageStrokes, int strokePoints) {
        host::setInstance(&host);
        const host::Rect outer =
            host.adjustWindowRect({0, 0, kWidth, kHeight}, WS_OVERLAPPEDWINDOW, false);
        frame.create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, host::kNoWindow, 0, 0,
                     outer.width(), outer.height(), 0);
        const host::Rect client = host.clientRect(frame.handle());
        view.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, frame.handle(), 0, 0, client.width(),
                    client.height(), 0);
        view.penSize = 8;
        testing::TestRandom rnd(5);
        for (int i = 0; i < pageStrokes; ++i) {
            const double cx = rnd.uniform(0, kWidth), cy = rnd.uniform(0, kHeight);
            for (int k = 0; k < 20; ++k)
                view.sketch.addSample(cx + 3 * k, cy + rnd.uniform(-5, 5), 2);
            view.sketch.commitCurrent(-1);
        }
        view.redrawAll();
        // The stroke so far, winding over the window.
        for (int i = 0; i < strokePoints; ++i)
            view.sketch.addSample(stepX(), y(), 4);
        pump();
    }
    ~PenScene() { host::setInstance(nullptr); }

    double stepX() { return x += 1.7, std::fmod(x, kWidth - 100) + 50; }
    double y() const { return 540 + 300 * std::sin(x / 97); }

    void pump() {
        host::Message m;
        while (host.peekMessage(m, host::kNoWindow, 0, 0, true))
            host.dispatchMessage(m);
    }
    // One tablet packet with the tip down, processed.
    void penSample() {
        const double m = host::kTabletMargin;
        const double px = stepX(), py = y();
        const auto X = uint32_t((px + m) / (kWidth + 2 * m) * host::kTabletExtent);
        const auto Y = uint32_t((kHeight + m - py) / (kHeight + 2 * m) * host::kTabletExtent);
        host.tabletSample(view.tabletContext, 1, X, Y, 700);
        pump();
    }
};

void PenSample(benchmark::State& state) {
    PenScene scene(int(state.range(0)), int(state.range(1)));
    scene.penSample();  // the tip touches: the snapshot, outside the timing
    for (auto _ : state)
        scene.penSample();
    state.counters["stroke"] =
        double(scene.view.sketch.current.groups[0].strokes[0].points.count());
}
BENCHMARK(PenSample)
    ->ArgsProduct({{0, 5000}, {100, 5000, 50000}})
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);

void MouseMove(benchmark::State& state) {
    PenScene scene(int(state.range(0)), int(state.range(1)));
    scene.host.mousePress(scene.view.handle(), host::headless::MouseButton::left,
                          {int(scene.stepX()), int(scene.y())});
    scene.pump();
    for (auto _ : state) {
        scene.host.mouseMove(scene.view.handle(), {int(scene.stepX()), int(scene.y())});
        scene.pump();
    }
}
BENCHMARK(MouseMove)
    ->ArgsProduct({{0}, {100, 5000, 50000}})
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace penwick::bench
