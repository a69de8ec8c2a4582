// The Qt host: the shell (documents, folders and addresses opened with the
// desktop's choice, programs started) and the system's facts.
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPalette>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <cstdlib>
#include <filesystem>

#include "host/qt/qt_conversions.h"
#include "host/qt/qt_host.h"

namespace host::qt {

bool QtHost::shellExecute(std::string_view file, std::string_view parameters,
                          std::string_view folder, int) {
    QString path = fromUtf8(file);
    QFileInfo info(path);
    if (info.isFile() && info.isExecutable()) {
        QStringList arguments = QProcess::splitCommand(fromUtf8(parameters));
        return QProcess::startDetached(info.absoluteFilePath(), arguments, fromUtf8(folder));
    }
    // Documents, folders and web addresses open with the desktop's choice.
    QUrl url = info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath())
                             : QUrl::fromUserInput(path, fromUtf8(folder));
    return url.isValid() && QDesktopServices::openUrl(url);
}

void QtHost::beep(std::uint32_t) {
    QApplication::beep();
}

std::string QtHost::specialFolder(int id) const {
    switch (id) {
        case CSIDL_PERSONAL:
            return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                .toStdString();
        case CSIDL_APPDATA: {
            const char* config = std::getenv("XDG_CONFIG_HOME");
            if (config && config[0] == '/') return config;
            const char* home = std::getenv("HOME");
            return std::string(home ? home : "") + "/.config";
        }
        default:
            return {};
    }
}

std::string QtHost::modulePath() const {
    std::error_code error;
    std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::optional<DisplayMode> QtHost::displayMode() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return std::nullopt;
    return DisplayMode{screen->geometry().width(), screen->geometry().height(), screen->depth(),
                       int(screen->refreshRate() + 0.5)};
}

ColourRef QtHost::systemColour(int index) const {
    const QPalette palette = QApplication::palette();
    QColor c;
    switch (index) {
        case COLOR_WINDOW:
            c = palette.color(QPalette::Base);
            break;
        case COLOR_WINDOWTEXT:
            c = palette.color(QPalette::Text);
            break;
        case COLOR_HIGHLIGHT:
            c = palette.color(QPalette::Highlight);
            break;
        case COLOR_BTNFACE:
            c = palette.color(QPalette::Button);
            break;
        case COLOR_GRAYTEXT:
            c = palette.color(QPalette::Disabled, QPalette::Text);
            break;
        case COLOR_BTNTEXT:
            c = palette.color(QPalette::ButtonText);
            break;
        default:
            return 0;
    }
    return rgb(c.red(), c.green(), c.blue());
}

}  // namespace host::qt
