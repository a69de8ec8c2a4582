#include "framework/error/error_report.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <utility>

#include "framework/platform/paths.h"
#include "framework/text/format.h"
#include "framework/text/path_names.h"
#include "host/dialogs.h"
#include "host/host.h"

namespace penwick {

namespace {

int runNumber = -1;
int nesting = 0;
void (*fatalEndHook)() = nullptr;

constexpr const char* kDialogFormat =
    "Unfortunately, a program error has occurred. This will be\n"
    "logged, and along with the following details may be of use\n"
    "in the future resolution of this error.\n\n%s\n\n%s";
constexpr const char* kCanContinue =
    "You may attempt to continue, which may be useful if you\n"
    "have unsaved data that would otherwise be lost. If you do\n"
    "continue, it is recommended that you exit the program as\n"
    "soon as possible, in case it has become unstable. If such\n"
    "errors frequently occur, you should contact the program\n"
    "vendor about it.\n\nAttempt to continue?";
constexpr const char* kCannotContinue =
    "The application will now be terminated. If such errors\n"
    "frequently occur, you should contact the program vendor\n"
    "about it.";

ktString programFileName() {
    return ktString(fileNameOf(modulePath().view()));
}

// Empty when there is no data folder to keep the log in.
ktString logPath() {
    ktString path = appDataFolder(true);
    if (path.isEmpty()) return path;
    return path.append("/").append(programFileName()).append(".log");
}

// The local time as asctime writes it, without its line feed:
// "Mon Mar  5 14:07:09 2001".
ktString localTimeText() {
    std::time_t stamp = std::time_t(host::instance().wallTime());
    std::tm local{};
    char buffer[64] = {};
    if (!localtime_r(&stamp, &local) || !asctime_r(&local, buffer)) return {};
    std::size_t n = std::strlen(buffer);
    if (n > 0 && buffer[n - 1] == '\n') buffer[n - 1] = 0;
    return ktString(buffer);
}

}  // namespace

void logText(std::string_view text) {
    ktString path = logPath();
    if (path.isEmpty()) return;
    if (runNumber < 0) {
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> existing(std::fopen(path.c_str(), "rb"),
                                                                 std::fclose);
        long size = 0;
        if (existing && std::fseek(existing.get(), 0, SEEK_END) == 0)
            size = std::max(std::ftell(existing.get()), 0L);
        runNumber = int(std::min<long>(size, 0x7FFFFFFF));
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "a"),
                                                         std::fclose);
    if (!file) return;
    ktString entry =
        format("[#%d: %s (T+%dms)]\n%.*s\n", runNumber, localTimeText().c_str(),
               int(host::instance().millisecondsSinceStart()), int(text.size()), text.data());
    std::fwrite(entry.c_str(), 1, std::size_t(entry.length()), file.get());
}

void reportError(const char* text, host::Window owner, bool canContinue) {
    if (nesting != 0) {
        ++nesting;
        return;
    }
    nesting = 1;
    if (!text) text = "An unknown error has occurred.";
    ktString dialog = format(kDialogFormat, text, canContinue ? kCanContinue : kCannotContinue);
    logText(format("ERROR:\n%s", text).view());
    host::Host& h = host::instance();
    if (!h.isWindow(owner)) owner = host::kNoWindow;
    ktString title = format("%s - Error", programFileName().c_str());
    std::uint32_t type = host::MB_ICONHAND | (canContinue ? host::MB_YESNO : host::MB_OK);
    int answer = h.messageBox(owner, dialog.view(), title.view(), type);
    ktString continued = format("User continued: %s", answer == host::IDNO ? "No" : "Yes");
    if (nesting > 1)
        continued.append(
            format("\n(%d additional exceptions occurred while dialog was open)", nesting - 1));
    logText(continued.view());
    if (answer == host::IDNO || !canContinue) {
        if (void (*hook)() = std::exchange(fatalEndHook, nullptr)) hook();
        ::_exit(-1);
    }
    nesting = 0;
}

void setFatalEndHook(void (*hook)()) {
    fatalEndHook = hook;
}

ktString messageTrace(const char* text, std::uint32_t message, host::WParam wParam,
                      host::LParam lParam) {
    return format(
        "\t%s%sCLASS: %s\n\tMESSAGE: %d (0x%04X)\n\tWPARAM: %d (0x%04X)\n"
        "\tLPARAM: %d (0x%04X)",
        text ? text : "", text ? "\n\t" : "", "ktWnd", int(message), message, int(wParam),
        unsigned(wParam), int(lParam), unsigned(lParam));
}

ktString win32ErrorText(int code) {
    char buffer[256] = {};
    // The GNU strerror_r answers a pointer to the text, which may not be the buffer.
    const char* text = strerror_r(code, buffer, sizeof buffer);
    return ktString(text ? text : "");
}

void showLastWin32Error(host::Window owner) {
    int code = errno;
    host::instance().messageBox(owner, win32ErrorText(code).view(), "Win32 Error",
                                host::MB_OK | host::MB_ICONHAND);
}

int errorDialogNesting() {
    return nesting;
}

}  // namespace penwick
