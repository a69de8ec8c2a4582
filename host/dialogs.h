#pragma once
// The system's own dialogs: message box, open and save file dialogs and the
// print dialog; and the printer device context a chosen printer gives.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/device_context.h"
#include "host/types.h"

namespace host {

// Message box types: buttons in the low four bits, icon in the next four.
inline constexpr std::uint32_t MB_OK = 0x00;
inline constexpr std::uint32_t MB_OKCANCEL = 0x01;
inline constexpr std::uint32_t MB_ABORTRETRYIGNORE = 0x02;
inline constexpr std::uint32_t MB_YESNOCANCEL = 0x03;
inline constexpr std::uint32_t MB_YESNO = 0x04;
inline constexpr std::uint32_t MB_RETRYCANCEL = 0x05;
inline constexpr std::uint32_t MB_ICONHAND = 0x10;  // error
inline constexpr std::uint32_t MB_ICONQUESTION = 0x20;
inline constexpr std::uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr std::uint32_t MB_ICONASTERISK = 0x40;  // information

// Message box answers (button ids).
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// File dialog flags (FileDialogRequest::flags).
inline constexpr std::uint32_t OFN_READONLY = 0x00000001;
inline constexpr std::uint32_t OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr std::uint32_t OFN_HIDEREADONLY = 0x00000004;
inline constexpr std::uint32_t OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr std::uint32_t OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr std::uint32_t OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr std::uint32_t OFN_EXPLORER = 0x00080000;

// One filter of a file dialog: "Penwick Files (*.wnk)" with "*.wnk"; several
// patterns are separated by ";" ("*.svg;*.svgz").
struct FileFilter {
    std::string description;
    std::string patterns;
};

struct FileDialogRequest {
    bool open = true;  // false: save
    Window owner{};
    std::string defaultExtension;  // without the dot; added to a typed name that has none
    std::string initialName;       // file or full path shown first; empty for none
    std::vector<FileFilter> filters;
    std::uint32_t flags = 0;  // OFN_*
};

// The files chosen, each a full path; empty when the user cancelled. Only an
// open dialog with OFN_ALLOWMULTISELECT answers more than one.
struct FileDialogAnswer {
    std::vector<std::string> files;
};

// Print dialog flags (PrintSettings::flags).
inline constexpr std::uint32_t PD_NOSELECTION = 0x00000004;
inline constexpr std::uint32_t PD_PAGENUMS = 0x00000002;
inline constexpr std::uint32_t PD_PRINTSETUP = 0x00000040;

// What the print dialog shows and answers; kept by the caller between runs
// so that the chosen printer is offered again.
struct PrintSettings {
    std::uint32_t flags = 0;
    int fromPage = 1;
    int toPage = 1;
    int minPage = 1;
    int maxPage = 1000;
    int copies = 1;
    std::string printerName;  // empty: the default printer
    std::string outputFile;   // non-empty: print into this PDF file instead
};

// A print job on one printer. startDocument / startPage / endPage /
// endDocument answer above 0 on success and 0 or below on failure (the
// platform's convention); a failure sets errno for showLastWin32Error.
class PrinterContext {
  public:
    virtual ~PrinterContext() = default;
    virtual DeviceContext& dc() = 0;  // valid for the life of this object
    virtual int startDocument(const std::string& name) = 0;
    virtual int startPage() = 0;
    virtual int endPage() = 0;
    virtual int endDocument() = 0;
};

}  // namespace host
