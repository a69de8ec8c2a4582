#pragma once
// The two widgets of a host window. They keep only the window handle and
// hand every event to the host, which turns it into messages.

#include <QWidget>

#include "host/types.h"

namespace host::qt {

class QtHost;

// The outer widget: the native window of a top-level window (title, frame,
// menu bar), or a child window's place in its parent's client area.
class FrameWidget : public QWidget {
  public:
    FrameWidget(QtHost& host, Window window, QWidget* parent, Qt::WindowFlags flags);
    bool borderDrawn = false;  // a one-pixel border (child windows with WS_BORDER)

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QtHost& host_;
    Window window_;
};

// The client area: painting, sizing and input.
class ClientWidget : public QWidget {
  public:
    ClientWidget(QtHost& host, Window window, QWidget* parent);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QtHost& host_;
    Window window_;
};

}  // namespace host::qt
