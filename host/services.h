#pragma once
// The host's services that stand apart from windows and their messages: the
// clipboard, the system's dialogs, printing, and the shell with the system's
// facts. Each is a small interface of its own; a host implements them beside
// the rest of host::Host, which inherits all four.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/device_context.h"
#include "host/dialogs.h"
#include "host/types.h"

namespace host {

struct DisplayMode {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int refreshRate = 0;  // hertz; 0 when unknown
};

// Special folder ids (specialFolder).
inline constexpr int CSIDL_PERSONAL = 5;  // the documents folder
inline constexpr int CSIDL_APPDATA = 26;  // per-user application data

// System colour indices (systemColour).
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;

// The clipboard format the program's private data travels under; the Qt host
// carries it as the MIME type application/x-kt-binary.
inline constexpr std::string_view kBinaryClipboardFormat = "KT_BINARY";

class ClipboardServices {
  public:
    virtual ~ClipboardServices() = default;
    // Open, change, close, like the platform's: only one opener at a time.
    virtual bool openClipboard(Window owner) = 0;
    virtual void closeClipboard() = 0;
    virtual bool emptyClipboard() = 0;  // drops every format
    // Bytes under a named format, alongside what the clipboard holds.
    virtual bool setClipboardData(std::string_view format, std::vector<std::uint8_t> bytes) = 0;
    virtual bool isClipboardFormatAvailable(std::string_view format) const = 0;
    virtual std::optional<std::vector<std::uint8_t>> clipboardData(
        std::string_view format) const = 0;
    virtual bool setClipboardText(std::string_view text) = 0;
    virtual std::optional<std::string> clipboardText() const = 0;
    // Takes a context made by createPicture, closes the recording and puts
    // it on the clipboard (as SVG with a PNG rendering beside it).
    virtual bool setClipboardPicture(std::unique_ptr<DeviceContext> picture) = 0;
};

class DialogServices {
  public:
    virtual ~DialogServices() = default;
    // The system message box (MB_* type, answers ID*). Modal: native events
    // are pumped meanwhile, so other windows' messages may be handled.
    virtual int messageBox(Window owner, std::string_view text, std::string_view title,
                           std::uint32_t type) = 0;
    virtual FileDialogAnswer fileDialog(const FileDialogRequest& request) = 0;
    // Answers false when cancelled; `settings` holds the choice otherwise.
    virtual bool printDialog(Window owner, PrintSettings& settings) = 0;
};

class PrintServices {
  public:
    virtual ~PrintServices() = default;
    // Null (with errno set) when no printer context can be made.
    virtual std::unique_ptr<PrinterContext> createPrinterContext(const PrintSettings& settings) = 0;
};

class ShellServices {
  public:
    virtual ~ShellServices() = default;
    // Opens a document, folder or web address with the desktop's default
    // application, or starts a program (`file` executable) with
    // `parameters`, in `folder` (empty: the current one). Answers success.
    virtual bool shellExecute(std::string_view file, std::string_view parameters,
                              std::string_view folder, int showCommand) = 0;
    virtual void beep(std::uint32_t type) = 0;  // MB_ICONHAND etc.
    // CSIDL_PERSONAL: the XDG documents folder; CSIDL_APPDATA:
    // $XDG_CONFIG_HOME, else ~/.config. Empty for an unknown id.
    virtual std::string specialFolder(int id) const = 0;
    virtual std::string modulePath() const = 0;  // the program file, from /proc/self/exe
    virtual std::optional<DisplayMode> displayMode() const = 0;
    virtual ColourRef systemColour(int index) const = 0;
};

}  // namespace host
