#include "host/qt/qt_widgets.h"

#include <QPaintEvent>
#include <QPainter>

#include "host/qt/qt_host.h"

namespace host::qt {

FrameWidget::FrameWidget(QtHost& host, Window window, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), host_(host), window_(window) {}

bool FrameWidget::event(QEvent* event) {
    if (host_.outerEvent(window_, event)) return true;
    return QWidget::event(event);
}

void FrameWidget::paintEvent(QPaintEvent*) {
    if (!borderDrawn) return;
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

ClientWidget::ClientWidget(QtHost& host, Window window, QWidget* parent)
    : QWidget(parent), host_(host), window_(window) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Hovering pens are followed too: the canvas moves the cursor with them.
    setAttribute(Qt::WA_TabletTracking);
    // Input methods would swallow key presses; keys are the program's.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool ClientWidget::event(QEvent* event) {
    if (host_.clientEvent(window_, event)) return true;
    return QWidget::event(event);
}

// Painting reaches the host through event(); nothing is left for Qt to draw.
void ClientWidget::paintEvent(QPaintEvent*) {}

}  // namespace host::qt
