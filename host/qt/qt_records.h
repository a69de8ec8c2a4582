#pragma once
// The records behind the Qt host's window and menu handles.

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <memory>
#include <string>
#include <vector>

#include "host/qt/qt_host.h"
#include "host/qt/qt_widgets.h"

class QMenuBar;

namespace host::qt {

// The window's own enabled state (`enabled`) leaves Qt's alone: owned
// windows are Qt children of their owner's frame, and a disabled Qt widget
// disables them too, while an owned box must stay usable when its owner is
// not.
struct QtHost::WindowRecord : WindowBasics {
    // The outer widget owns the client widget and the menu bar. It is deleted
    // later, never inside one of its own events (WM_CLOSE destroys windows).
    QPointer<FrameWidget> outer;
    QPointer<ClientWidget> client;
    QPointer<QMenuBar> menuBar;
    Point lastOrigin{-100000, -100000};
    QRegion dirty;                    // invalidated and not yet painted, client coordinates
    QPaintEvent* painting = nullptr;  // the Qt paint event being handled
    std::unique_ptr<PainterContext> paintContext;
    QImage overlay;  // what getDC drew since the last paint
};

struct QtHost::MenuRecord {
    bool popup = false;
    std::vector<MenuItem> items;
};

}  // namespace host::qt
