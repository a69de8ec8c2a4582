#pragma once
// What the conformance suite asks of a host under test, beyond the host
// itself: a way to let the native side deliver its events, to let time pass,
// and to give it input the way its window system would. Each host has a
// driver of this shape (headless_driver.h, qt_driver.h):
//
//   static constexpr const char* kName;
//   host::HostCore& host();
//   void settle();                  // deliver whatever the native side has
//   void letTimePass(int ms);       // the host's clock moves on by `ms`
//   // A key pressed or released over `window` (which the host sends to the
//   // focus window), with Shift held or not.
//   void key(host::Window window, int virtualKey, bool down, bool shift);
//   // The left button pressed, moved or released over `window`'s client
//   // point; `message` is WM_LBUTTONDOWN, WM_MOUSEMOVE or WM_LBUTTONUP.
//   void mouse(host::Window window, std::uint32_t message, host::Point client);
//   // The pen over `window`'s client point at `pressure` (0 .. 1), its tip
//   // touching or not; `context` is the window's tablet context.
//   void pen(host::Window window, host::TabletContext context, host::Point client,
//            double pressure, bool tip);
