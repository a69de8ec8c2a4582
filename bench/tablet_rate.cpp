// Whether the canvas keeps up with a fast tablet: a 5 s stroke of pen events
// at 240 Hz, posted into Qt's queue at their own times and taken by the
// program's kind of loop on the Qt host (offscreen), on a page of 5,000
// strokes. Prints how many samples were processed and how many were passed
// over because a newer one was already queued.
//
//   QT_QPA_PLATFORM=offscreen build-bench/bench/tablet_rate
#include <QCoreApplication>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QWidget>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "canvas/canvas_view.h"
#include "host/qt/qt_host.h"
#include "host/window_style.h"

using namespace penwick;
using namespace host;

int main(int argc, char** argv) {
    qt::QtHost qtHost(argc, argv);
    setInstance(&qtHost);
    int exitCode = 0;
    {
        ktWnd frame;
        CanvasView view;
        frame.create(nullptr, "tablet rate", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0,
                     1280, 800, 0);
        const Rect client = qtHost.clientRect(frame.handle());
        view.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, frame.handle(), 0, 0, client.width(),
                    client.height(), 0);
        view.penSize = 8;
        for (int i = 0; i < 5000; ++i) {
            const double cx = (i * 37) % client.width(), cy = (i * 53) % client.height();
            for (int k = 0; k < 20; ++k)
                view.sketch.addSample(cx + 3 * k, cy + (k % 5), 2);
            view.sketch.commitCurrent(-1);
        }
        view.redrawAll();

        const QPointingDevice pen(
            QStringLiteral("rate pen"), 4711, QInputDevice::DeviceType::Stylus,
            QPointingDevice::PointerType::Pen,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        QWidget* canvas = qtHost.clientWidget(view.handle());
        constexpr int kRate = 240, kSeconds = 5, kSamples = kRate * kSeconds;
        const auto start = std::chrono::steady_clock::now();
        int posted = 0;
        Message m;
        while (posted < kSamples || qtHost.peekMessage(m, kNoWindow, 0, 0, false)) {
            const double elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            while (posted < kSamples && posted <= elapsed * kRate) {
                const double t = double(posted) / kRate;
                const QPointF at(100 + 200 * t, 400 + 250 * std::sin(6 * t));
                const QEvent::Type type = posted == 0              ? QEvent::TabletPress
                                          : posted == kSamples - 1 ? QEvent::TabletRelease
                                                                   : QEvent::TabletMove;
                const bool tip = type != QEvent::TabletRelease;
                QCoreApplication::postEvent(
                    canvas, new QTabletEvent(type, &pen, at, canvas->mapToGlobal(at),
                                             0.3 + 0.5 * std::fabs(std::sin(3 * t)), 0, 0, 0, 0, 0,
                                             Qt::NoModifier, tip ? Qt::LeftButton : Qt::NoButton,
                                             tip ? Qt::LeftButton : Qt::NoButton));
                ++posted;
            }
            while (qtHost.peekMessage(m, kNoWindow, 0, 0, true)) {
                qtHost.translateMessage(m);
                qtHost.dispatchMessage(m);
            }
        }
        const auto& counts = view.tabletCounts;
        std::printf("samples posted %d, processed %lld, passed over %lld, points %d\n", posted,
                    static_cast<long long>(counts.processed),
                    static_cast<long long>(counts.coalesced),
                    view.sketch.shapes.last().groups[0].strokes[0].points.count());
        if (counts.processed + counts.coalesced != posted) exitCode = 1;
        qtHost.destroyWindow(frame.handle());
    }
    setInstance(nullptr);
    return exitCode;
}
