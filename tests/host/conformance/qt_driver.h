#pragma once
// The conformance driver of the Qt host on Qt's offscreen platform: input as
// Qt events sent to the windows' client widgets, time as real time with Qt
// delivering its events meanwhile.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QWidget>

#include "host/keys.h"
#include "host/qt/qt_host.h"
#include "tests/host/qt/qt_test_host.h"

namespace conformance {

class QtDriver {
  public:
    static constexpr const char* kName = "qt";
    QtDriver() : host_(qt_test::testHost()) { host::setInstance(&host_); }
    ~QtDriver() { host::setInstance(nullptr); }

    host::HostCore& host() { return host_; }
    void settle() { QCoreApplication::processEvents(); }
    void letTimePass(int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    void key(host::Window window, int vk, bool down, bool shift) {
        // What a US keyboard layout makes Qt report for the few keys the
        // suite presses.
        int qtKey = 0;
        QString text;
        if (vk >= 'A' && vk <= 'Z') {
            qtKey = Qt::Key_A + (vk - 'A');
            text = QChar(shift ? vk : vk - 'A' + 'a');
        } else if (vk >= '0' && vk <= '9') {
            qtKey = Qt::Key_0 + (vk - '0');
            text = QChar(shift ? ")!@#$%^&*("[vk - '0'] : vk);
        } else if (vk == host::VK_SHIFT) {
            qtKey = Qt::Key_Shift;
        }
        Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
        QKeyEvent e(down ? QEvent::KeyPress : QEvent::KeyRelease, qtKey, mods,
                    down ? text : QString());
        QCoreApplication::sendEvent(host_.clientWidget(window), &e);
    }
    void mouse(host::Window window, std::uint32_t message, host::Point client) {
        QWidget* widget = host_.clientWidget(window);
        const QPointF at(client.x, client.y);
        QEvent::Type type = message == host::WM_LBUTTONDOWN ? QEvent::MouseButtonPress
                            : message == host::WM_LBUTTONUP ? QEvent::MouseButtonRelease
                                                            : QEvent::MouseMove;
        Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent e(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &e);
    }
    void pen(host::Window window, host::TabletContext, host::Point client, double pressure,
             bool tip) {
        static const QPointingDevice device(
            QStringLiteral("conformance pen"), 4712, QInputDevice::DeviceType::Stylus,
            QPointingDevice::PointerType::Pen,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        QWidget* widget = host_.clientWidget(window);
        const QPointF at(client.x, client.y);
        QTabletEvent e(tip ? QEvent::TabletPress : QEvent::TabletMove, &device, at,
                       widget->mapToGlobal(at), tip ? pressure : 0, 0, 0, 0, 0, 0, Qt::NoModifier,
                       tip ? Qt::LeftButton : Qt::NoButton, tip ? Qt::LeftButton : Qt::NoButton);
        e.setAccepted(false);
        QCoreApplication::sendEvent(widget, &e);
    }

  private:
    host::qt::QtHost& host_;
};

}  // namespace conformance
