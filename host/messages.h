#pragma once
// The message numbers the framework and the program exchange with the host,
// with the platform's historical values so that traces and stored tables keep
// their meaning, and the packing of their parameters.
//
// Delivery: "sent" messages call the window procedure at once, inside the
// host call that caused them; "queued" messages wait in the host's queue until
// the message loop takes them (Host::getMessage / peekMessage) and dispatches
// them. The comment of each message says which, and what its parameters hold.

#include <cstdint>

#include "host/types.h"

namespace host {

// Window life. All sent.
inline constexpr std::uint32_t WM_CREATE = 0x0001;     // lParam: const CreateRequest*
inline constexpr std::uint32_t WM_DESTROY = 0x0002;    // the window is about to go
inline constexpr std::uint32_t WM_MOVE = 0x0003;       // lParam: client origin (x, y) packed
inline constexpr std::uint32_t WM_SIZE = 0x0005;       // wParam: SIZE_*; lParam: client (w, h)
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;   // low word of wParam: WA_*
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;   // wParam: window that lost the focus
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;  // wParam: window that gets the focus
inline constexpr std::uint32_t WM_ENABLE = 0x000A;     // wParam: 1 enabled, 0 disabled
inline constexpr std::uint32_t WM_PAINT = 0x000F;      // sent; the procedure calls beginPaint
inline constexpr std::uint32_t WM_CLOSE = 0x0010;      // sent (close box, Alt+F4); queued if posted
inline constexpr std::uint32_t WM_QUERYENDSESSION = 0x0011;  // sent; answer 0 to refuse
inline constexpr std::uint32_t WM_QUIT = 0x0012;  // queued by postQuitMessage; wParam: code
inline constexpr std::uint32_t WM_ERASEBKGND =
    0x0014;  // sent by beginPaint; wParam: DeviceContext*
inline constexpr std::uint32_t WM_ENDSESSION = 0x0016;   // sent; wParam non-zero: session ends
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;   // sent; wParam: 1 shown, 0 hidden
inline constexpr std::uint32_t WM_SETCURSOR = 0x0020;    // sent before each mouse message;
                                                         // wParam: window; low lParam: HTCLIENT
inline constexpr std::uint32_t WM_NOTIFY = 0x004E;       // lParam: NotifyHeader*
inline constexpr std::uint32_t WM_CONTEXTMENU = 0x007B;  // sent by defaultProc on right-button
                                                         // up; lParam: screen (x, y)
inline constexpr std::uint32_t WM_SETICON = 0x0080;
inline constexpr std::uint32_t WM_NCCREATE = 0x0081;    // sent first; lParam: const CreateRequest*
inline constexpr std::uint32_t WM_NCDESTROY = 0x0082;   // sent last; the handle dies after it
inline constexpr std::uint32_t WM_NCHITTEST = 0x0084;   // sent when a left-button press is
                                                        // taken; lParam: screen (x, y); HT*
inline constexpr std::uint32_t WM_GETDLGCODE = 0x0087;  // sent by dialog-key handling

// Keyboard. Queued. wParam: virtual-key code (host/keys.h); lParam: repeat
// count in bits 0-15, scan code in 16-23, extended key in 24, previous state
// (1 = was down, an auto-repeat) in bit 30, transition (1 = up) in 31.
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;        // from translateMessage; wParam: 8-bit code
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;  // keys pressed while Alt is held, F10
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_SYSCHAR = 0x0106;

// Commands and menus.
inline constexpr std::uint32_t WM_COMMAND = 0x0111;  // queued from menus and accelerators:
                                                     // low word of wParam the id, high word 0
                                                     // (menu) or 1 (accelerator), lParam 0; from
                                                     // a control: high word the notification
                                                     // code, lParam the control's Window
inline constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr std::uint32_t WM_TIMER = 0x0113;     // queued; wParam: timer id. At most one is
                                                      // pending per timer; it is taken only when
                                                      // no other message waits
inline constexpr std::uint32_t WM_INITMENU = 0x0116;  // sent before a menu bar opens;
                                                      // wParam: Menu
inline constexpr std::uint32_t WM_SIZING = 0x0214;    // sent while a border is dragged; wParam:
                                                      // WMSZ_*; lParam: Rect* (screen), may
                                                      // be changed
inline constexpr std::uint32_t WM_INITMENUPOPUP = 0x0117;  // sent before a popup shows; wParam:
                                                           // Menu; low lParam: position

// Mouse. Queued. wParam: MK_* flags of the buttons and keys down; lParam:
// client (x, y) as signed 16-bit halves (pointX / pointY below). The mouse
// messages go to the window under the pointer, or to the capture window.
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
// Wheel: high word of wParam the signed distance (120 per notch, positive away
// from the user), low word MK_* flags; lParam: SCREEN (x, y). It goes to the
// focus window.
inline constexpr std::uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr std::uint32_t WM_CAPTURECHANGED = 0x0215;  // sent to the window losing capture
inline constexpr std::uint32_t WM_DROPFILES = 0x0233;       // queued; wParam: a drop id for
                                                            // Host::droppedFiles / finishDrop

inline constexpr std::uint32_t WM_COPY = 0x0301;

// Private ranges.
inline constexpr std::uint32_t WM_USER = 0x0400;
inline constexpr std::uint32_t DM_GETDEFID = WM_USER + 0;  // a popup's default button id
inline constexpr std::uint32_t DM_SETDEFID = WM_USER + 1;
inline constexpr std::uint32_t WM_TOOLWINDOW_MESSAGE = WM_USER + 117;  // lParam: Message*
inline constexpr std::uint32_t WM_TOOLWINDOW_ALIVE = WM_USER + 118;
inline constexpr std::uint32_t WT_PACKET = 0x7FF0;  // queued; wParam: serial; lParam:
                                                    // TabletContext (see Host::tabletPacket)
inline constexpr std::uint32_t WM_APP = 0x8000;
inline constexpr std::uint32_t WM_UPDATE_COMMAND = 0x8001;  // lParam: CommandState*
inline constexpr std::uint32_t WM_FRAMEWORK_2 = 0x8002;

// WM_SIZE types.
inline constexpr WParam SIZE_RESTORED = 0;
inline constexpr WParam SIZE_MINIMIZED = 1;
inline constexpr WParam SIZE_MAXIMIZED = 2;

// WM_ACTIVATE states.
inline constexpr WParam WA_INACTIVE = 0;
inline constexpr WParam WA_ACTIVE = 1;
inline constexpr WParam WA_CLICKACTIVE = 2;

// Hit test codes given with WM_SETCURSOR and answered to WM_NCHITTEST.
inline constexpr int HTCLIENT = 1;
inline constexpr int HTCAPTION = 2;
inline constexpr int HTLEFT = 10;
inline constexpr int HTRIGHT = 11;
inline constexpr int HTTOP = 12;
inline constexpr int HTTOPLEFT = 13;
inline constexpr int HTTOPRIGHT = 14;
inline constexpr int HTBOTTOM = 15;
inline constexpr int HTBOTTOMLEFT = 16;
inline constexpr int HTBOTTOMRIGHT = 17;

// WM_SIZING edges (wParam).
inline constexpr int WMSZ_LEFT = 1;
inline constexpr int WMSZ_RIGHT = 2;
inline constexpr int WMSZ_TOP = 3;
inline constexpr int WMSZ_TOPLEFT = 4;
inline constexpr int WMSZ_TOPRIGHT = 5;
inline constexpr int WMSZ_BOTTOM = 6;
inline constexpr int WMSZ_BOTTOMLEFT = 7;
inline constexpr int WMSZ_BOTTOMRIGHT = 8;

// WM_GETDLGCODE answers.
inline constexpr LResult DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr LResult DLGC_UNDEFPUSHBUTTON = 0x0020;

// Mouse message flags (wParam).
inline constexpr WParam MK_LBUTTON = 0x0001;
inline constexpr WParam MK_RBUTTON = 0x0002;
inline constexpr WParam MK_SHIFT = 0x0004;
inline constexpr WParam MK_CONTROL = 0x0008;
inline constexpr WParam MK_MBUTTON = 0x0010;

// Key message lParam bits.
inline constexpr LParam kKeyPreviouslyDown = LParam(1) << 30;
inline constexpr LParam kKeyExtended = LParam(1) << 24;
inline constexpr LParam kKeyReleased = LParam(1) << 31;

// Parameter packing.
constexpr std::uint32_t lowWord(std::uintptr_t v) {
    return std::uint32_t(v & 0xFFFF);
}
constexpr std::uint32_t highWord(std::uintptr_t v) {
    return std::uint32_t((v >> 16) & 0xFFFF);
}
constexpr LParam makeLParam(int low, int high) {
    return LParam(std::uint32_t(low & 0xFFFF) | std::uint32_t(high & 0xFFFF) << 16);
}
constexpr WParam makeWParam(int low, int high) {
    return WParam(std::uint32_t(low & 0xFFFF) | std::uint32_t(high & 0xFFFF) << 16);
}
// The signed 16-bit coordinates of a mouse message.
constexpr int pointX(LParam lParam) {
    return std::int16_t(lParam & 0xFFFF);
}
constexpr int pointY(LParam lParam) {
    return std::int16_t((lParam >> 16) & 0xFFFF);
}
constexpr int wheelDelta(WParam wParam) {
    return std::int16_t((wParam >> 16) & 0xFFFF);
}

}  // namespace host
