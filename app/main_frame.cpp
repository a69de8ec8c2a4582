#include "app/main_frame.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "app/print_sketch.h"
#include "app/program_resources.h"
#include "app/sketchbook.h"
#include "framework/application/app.h"
#include "framework/controls/message_box.h"
#include "framework/platform/paths.h"
#include "framework/text/format.h"
#include "framework/text/path_names.h"
#include "framework/value/xml_file.h"
#include "host/dialogs.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "model/temporary_files.h"

namespace penwick {

namespace {

// The settings' keys.
constexpr std::string_view kAutoSaveKey = "autoSave";
constexpr std::string_view kUsePressureKey = "usePressure";
constexpr std::string_view kSmoothKey = "smooth";
constexpr std::string_view kLastFileKey = "lastFile";

std::string settingsFileIn(const ktString& folder) {
    return folder.isEmpty() ? std::string() : std::string(folder.view()) + "/config.xml";
}

// Reads the settings of `file` into `settings`. Files other programs wrote
// may begin with a declaration, comments or blank lines before the element
// that holds the settings.
bool loadSettingsFile(const std::string& file, ValueNode& settings) {
    if (settings.loadXml(file)) return true;
    XmlElement document;
    if (!loadXmlDocument(file, document)) return false;
    for (const XmlNodeRef& node : document.children())
        if (const XmlElement* element = node->asElement()) return settings.fromXml(*element);
    return false;
}

bool flag(const ValueNode& settings, std::string_view key) {
    const ValueNode* node = settings.find(key);
    return node && node->asBool();
}

}  // namespace

std::string titleFor(const std::string& path) {
    if (path.empty()) return "Untitled";
    return std::string(fileNameOf(path));
}

// ---- Creation and destruction -----------------------------------------------

MainFrame::MainFrame() {
    findSketchbookFolder();
}

bool MainFrame::onCreate() {
    host::Host& h = host::instance();
    host::Rect client = h.clientRect(handle());
    if (!view_->create(nullptr, "", host::WS_CHILD | host::WS_VISIBLE, 0, handle(), 0, 0,
                       client.width(), client.height(), 1))
        return false;
    readSettings();

    // The last page opens again, unless it cannot be read: then the person
    // is told, a new page starts, and that file is never written over.
    const ValueNode* last = settings_.find(kLastFileKey);
    if (last && !last->asString().isEmpty()) {
        std::string path(last->asString().view());
        if (fileExists(path) && loadPage(path)) currentFile_ = path;
    }
    const std::string& book = sketchbookFolder();
    if (!book.empty()) {
        removeStaleTemporaries(book);
        removeStaleClaims(book);
    }
    if (currentFile_.empty()) {
        makePath(book);
        if (book.empty() || access(book.c_str(), W_OK) != 0) {
            // Drawing goes on; the pages can still be saved elsewhere.
            std::string reason =
                book.empty() ? "no documents folder is known" : std::strerror(errno);
            startupReports_.push_back(
                format("The Sketchbook folder %s cannot be made or written to (%s).\nPages can "
                       "still be saved elsewhere with Save As.",
                       book.c_str(), reason.c_str())
                    .c_str());
        }
    }
    view_->setOption(kSmooth, flag(settings_, kSmoothKey));
    view_->setOption(kUsePressure, flag(settings_, kUsePressureKey));
    h.acceptFiles(handle(), true);
    return true;
}

void MainFrame::showStartupReports() {
    started_ = true;
    std::vector<std::string> reports;
    reports.swap(startupReports_);
    for (const std::string& text : reports)
        messageBox(handle(), text, "", host::MB_OK | host::MB_ICONEXCLAMATION);
}

void MainFrame::onDestroy() {
    // Only a page of the Sketchbook opens again at the next start.
    settings_.member(kLastFileKey)
        .setString(liesIn(currentFile_, sketchbookFolder()) ? currentFile_ : "");
    settings_.member(kSmoothKey).setInt((view_->options & kSmooth) ? 1 : 0);
    settings_.member(kUsePressureKey).setInt((view_->options & kUsePressure) ? 1 : 0);
    writeSettings();
    ktFrame::onDestroy();
}

void MainFrame::readSettings() {
    settings_.clear();
    settings_.makeObject();
    std::string file = settingsFileIn(appDataFolder(false));
    // A settings file that is missing, damaged or not a record of settings
    // gives the defaults.
    if (file.empty() || !loadSettingsFile(file, settings_) ||
        settings_.kind() != ValueNode::Kind::Object) {
        settings_.clear();
        settings_.makeObject();
    }
    if (!settings_.find(kAutoSaveKey)) settings_.member(kAutoSaveKey).setInt(1);
    if (!settings_.find(kUsePressureKey)) settings_.member(kUsePressureKey).setInt(1);
}

void MainFrame::writeSettings() {
    // The data folder is made on the way out, so that settings last from the
    // first run on; a settings file that cannot be written is not worth a
    // box at exit.
    std::string file = settingsFileIn(appDataFolder(true));
    if (!file.empty()) settings_.saveXml(file);
}

bool MainFrame::autoSave() const {
    return flag(settings_, kAutoSaveKey);
}

// ---- Messages ---------------------------------------------------------------

void MainFrame::onSize(int width, int height, int) {
    if (view_->isValid()) view_->moveTo({0, 0, width, height});
}

host::LResult MainFrame::windowProc(std::uint32_t message, host::WParam wParam,
                                    host::LParam lParam) {
    host::Host& h = host::instance();
    // The drawing window takes the keyboard whenever the main window gets
    // it, also when the main window is activated.
    bool activated = message == host::WM_ACTIVATE && host::lowWord(wParam) != host::WA_INACTIVE;
    if ((message == host::WM_SETFOCUS || activated) && view_->isValid()) {
        h.setFocus(view_->handle());
        return 0;
    }
    if (message == host::WM_DROPFILES) {
        // Of several files dropped at once, the first opens. Paths are taken
        // whole: a cut one could name another file.
        std::vector<std::string> files = h.droppedFiles(wParam);
        h.finishDrop(wParam);
        if (!files.empty()) open(files.front());
        return 0;
    }
    return ktFrame::windowProc(message, wParam, lParam);
}

int MainFrame::onCommand(int id) {
    switch (id) {
        case kCommandNew:
            newPage();
            return 1;
        case kCommandCopyAsNew:
            copyAsNew();
            return 1;
        case kCommandOpen:
            open("");
            return 1;
        case kCommandSave:
            save();
            return 1;
        case kCommandSaveAs:
            saveAs();
            return 1;
        case kCommandDelete:
            deletePermanently();
            return 1;
        case kCommandAutoSave:
            settings_.member(kAutoSaveKey).setInt(autoSave() ? 0 : 1);
            return 1;
        case kCommandNextPage:
            stepPage(+1);
            return 1;
        case kCommandPreviousPage:
            stepPage(-1);
            return 1;
        case kCommandFirstPage:
            firstOrLastPage(false);
            return 1;
        case kCommandLastPage:
            firstOrLastPage(true);
            return 1;
        case kCommandPrint:
            printSketch(*view_, currentFile_);
            return 1;
        case kCommandExit:
            send(host::WM_CLOSE);
            return 1;
        case kCommandShowAll:
            view_->execute("show all");
            return 1;
        case kCommandFullScreen:
            setFullScreen(!isFullScreen());
            return 1;
        case kCommandDraw:
            view_->setTool(Tool::draw);
            return 1;
        case kCommandSelect:
            view_->setTool(Tool::select);
            return 1;
        case kCommandSensePressure:
            view_->setOption(kUsePressure, !(view_->options & kUsePressure));
            return 1;
        case kCommandActiveSmooth:
            view_->setOption(kSmooth, !(view_->options & kSmooth));
            return 1;
        case kCommandAbout:
            showAboutModal(handle());
            return 1;
        default:
            return 0;
    }
}

int MainFrame::onUpdateCommand(CommandState& state) {
    if (ktApp* app = ktApp::current()) {
        ktString shortcut = app->acceleratorName(int(state.id));
        if (!shortcut.isEmpty()) {
            std::string_view text = state.text.view();
            // The label before any earlier shortcut, without the blanks put
            // before it, so that opening the menu again keeps the text.
            text = text.substr(0, text.find('\t'));
            while (!text.empty() && text.back() == ' ')
                text.remove_suffix(1);
            std::string label(text);
            state.setText(format("%s   \t%s", label.c_str(), shortcut.c_str()).view());
        }
    }
    switch (state.id) {
        case kCommandHelp:
            state.setEnabled(false);
            break;
        case kCommandFullScreen:
            state.setChecked(isFullScreen());
            break;
        case kCommandAutoSave:
            state.setChecked(autoSave());
            break;
        case kCommandDraw:
            state.setChecked(view_->tool == Tool::draw);
            break;
        case kCommandSelect:
            state.setChecked(view_->tool == Tool::select);
            break;
        case kCommandSensePressure:
            state.setChecked(view_->options & kUsePressure);
            break;
        case kCommandActiveSmooth:
            state.setChecked(view_->options & kSmooth);
            break;
        default:
            break;
    }
    return 1;
}

bool MainFrame::onIdle(int) {
    // Set only when it changes: a title the canvas wrote (the points F4
    // removed) stays until the page's own title changes.
    std::string title =
        format("%s%s", titleFor(currentFile_).c_str(), view_->modified ? " *" : "").c_str();
    if (title != shownTitle_) {
        setText(title);
        shownTitle_ = title;
    }
    return false;
}

bool MainFrame::queryClose(int) {
    return saveQuery();
}

}  // namespace penwick
