#include "tools/example_sketches.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

namespace penwick {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// A pen stroke sampled along a function of t in 0 ... 1, in window pixels.
template <typename At>
void drawStroke(Sketch& sketch, int samples, At at) {
    sketch.startStroke();
    for (int i = 0; i < samples; ++i) {
        const double t = samples > 1 ? double(i) / double(samples - 1) : 0.0;
        double x = 0;
        double y = 0;
        double radius = 0;
        at(t, x, y, radius);
        sketch.addSample(x, y, radius);
    }
}

void penColours(Sketch& sketch, int32_t ink, int32_t fill) {
    sketch.current.colour = ink;
    sketch.current.fillColour = fill;
}

Sketch freshSketch() {
    Sketch sketch;
    sketch.setWindowFit(kWidth, kHeight);
    return sketch;
}

// Wavy lines whose width follows a pen pressing harder in the middle.
Sketch waves() {
    Sketch sketch = freshSketch();
    const int32_t inks[] = {0x1B3A6B, 0x2E7D32, 0xB71C1C, 0x6A1B9A, 0xEF6C00, 0x000000};
    for (int k = 0; k < 6; ++k) {
        penColours(sketch, inks[k], -1);
        drawStroke(sketch, 60, [k](double t, double& x, double& y, double& r) {
            x = 80 + t * 860;
            y = 120 + k * 100 + 40 * std::sin(t * 2 * kPi * (1 + 0.5 * k));
            r = 1.5 + 7.0 * std::sin(t * kPi);
        });
        sketch.commitCurrent(-1);
    }
    return sketch;
}

// Petals as closed loops filled with colour, a stem, and one shape made of
// two groups.
Sketch flower() {
    Sketch sketch = freshSketch();
    const double cx = 512;
    const double cy = 300;
    penColours(sketch, 0x2E7D32, -1);
    drawStroke(sketch, 40, [&](double t, double& x, double& y, double& r) {
        x = cx + 30 * std::sin(t * kPi);
        y = cy + 40 + t * 380;
        r = 4.0 - 2.0 * t;
    });
    sketch.commitCurrent(-1);

    for (int p = 0; p < 7; ++p) {
        const double a = p * 2 * kPi / 7;
        penColours(sketch, 0x8E244D, p % 2 ? 0xF8BBD0 : 0xFFD54F);
        drawStroke(sketch, 48, [&](double t, double& x, double& y, double& r) {
            // A teardrop from the centre outwards and back.
            const double u = t * 2 * kPi;
            const double along = 60 + 70 * (1 - std::cos(u)) * 0.5;
            const double across = 38 * std::sin(u) * (1 - std::cos(u)) * 0.5;
            x = cx + along * std::cos(a) - across * std::sin(a);
            y = cy + along * std::sin(a) + across * std::cos(a);
            r = 1.5 + 1.5 * std::sin(t * kPi);
        });
        sketch.commitCurrent(-1);
    }

    // The heart of the flower: two groups in one shape.
    penColours(sketch, 0x4E342E, 0x795548);
    drawStroke(sketch, 36, [&](double t, double& x, double& y, double& r) {
        x = cx + 45 * std::cos(t * 2 * kPi);
        y = cy + 45 * std::sin(t * 2 * kPi);
        r = 2.5;
    });
    sketch.startGroup();
    drawStroke(sketch, 24, [&](double t, double& x, double& y, double& r) {
        x = cx + 18 * std::cos(t * 2 * kPi);
        y = cy + 18 * std::sin(t * 2 * kPi);
        r = 1.5;
    });
    sketch.commitCurrent(-1);
    return sketch;
}

// Overlapping shapes on cream paper, seen through a turned and zoomed view.
Sketch turnedView() {
    Sketch sketch = freshSketch();
    sketch.background = 0xFFF8E1;
    for (int k = 0; k < 5; ++k) {
        penColours(sketch, 0x263238, k % 2 ? 0x4FC3F7 : 0xFFB74D);
        drawStroke(sketch, 50, [k](double t, double& x, double& y, double& r) {
            const double u = t * 2 * kPi;
            x = 300 + k * 110 + 120 * std::cos(u);
            y = 384 + 90 * std::sin(u) + 20 * k;
            r = 2.0 + 4.0 * (0.5 + 0.5 * std::sin(3 * u));
        });
        sketch.commitCurrent(-1);
    }
    // A closed stroke is outlined as a ring.
    penColours(sketch, 0x1A237E, -1);
    drawStroke(sketch, 40, [](double t, double& x, double& y, double& r) {
        x = 512 + 300 * std::cos(t * 2 * kPi * 39 / 40);
        y = 384 + 250 * std::sin(t * 2 * kPi * 39 / 40);
        r = 3.0;
    });
    sketch.current.groups.last().strokes.last().closed = 1;
    sketch.commitCurrent(-1);

    // Turn the view by 15 degrees and zoom by 1.2 about the window centre.
    Transform3D m;
    m.thenTranslate(Vec3d{-512, -384, 0})
        .thenRotate(15 * kPi / 180)
        .thenScale(1.2)
        .thenTranslate(Vec3d{512, 384, 0});
    sketch.applyWindowTransform(m);
    return sketch;
}

}  // namespace

std::vector<ExampleSketch> exampleSketches() {
    std::vector<ExampleSketch> all;
    all.push_back({"waves.wnk", waves()});
    all.push_back({"flower.wnk", flower()});
    all.push_back({"turned-view.wnk", turnedView()});
    return all;
}

Sketch syntheticSketch(int strokes, int points, int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Sketch sketch;
    sketch.setWindowFit(width, height);
    for (int s = 0; s < strokes; ++s) {
        const double x0 = unit(random) * width;
        const double y0 = unit(random) * height;
        const double angle = unit(random) * 2 * kPi;
        const double length = 40 + unit(random) * 200;
        const double wave = 5 + unit(random) * 25;
        const double width0 = 1 + unit(random) * 6;
        penColours(sketch, int32_t(random() & 0xFFFFFF), s % 10 == 0 ? 0xFFEE88 : -1);
        drawStroke(sketch, points, [&](double t, double& x, double& y, double& r) {
            const double along = t * length;
            const double across = wave * std::sin(t * 3 * kPi);
            x = x0 + along * std::cos(angle) - across * std::sin(angle);
            y = y0 + along * std::sin(angle) + across * std::cos(angle);
            r = width0 * (0.4 + 0.6 * std::sin(t * kPi));
        });
        sketch.commitCurrent(-1);
    }
    return sketch;
}

}  // namespace penwick
