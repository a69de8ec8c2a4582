#pragma once
// What the Qt backend keeps of a window: its two widgets and menu bar, the
// region waiting for paint, and the paint in progress.

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <memory>

#include "host/qt/painter_context.h"
#include "host/qt/qt_host.h"
#include "host/qt/qt_widgets.h"

class QMenuBar;

namespace host::qt {

// The window's enabled state is the core's, never Qt's: owned windows are Qt
// children of their owner's frame, and a disabled Qt widget disables them
// too, while an owned box must stay usable when its owner is not.
struct QtHost::Surface : NativeWindow {
    // The outer widget owns the client widget and the menu bar. It is deleted
    // later, never inside one of its own events (WM_CLOSE destroys windows).
    QPointer<FrameWidget> outer;
    QPointer<ClientWidget> client;
    QPointer<QMenuBar> menuBar;
    QRegion dirty;                    // invalidated and not yet painted, client coordinates
    QPaintEvent* painting = nullptr;  // the Qt paint event being handled
    std::unique_ptr<PainterContext> paintContext;
    QImage overlay;  // what getDC drew since the last paint
};

}  // namespace host::qt
