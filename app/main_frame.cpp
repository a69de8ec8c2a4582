#include "app/main_frame.h"

#include "app/print_sketch.h"
#include "app/program_resources.h"
#include "framework/application/app.h"
#include "framework/controls/message_box.h"
#include "framework/text/format.h"
#include "framework/text/path_names.h"
#include "host/dialogs.h"
#include "host/messages.h"
#include "host/window_style.h"

namespace penwick {

std::string titleFor(const std::string& path) {
    if (path.empty()) return "Untitled";
    return std::string(fileNameOf(path));
}

bool MainFrame::onCreate() {
    host::Rect client = host::instance().clientRect(handle());
    return view_->create(nullptr, "", host::WS_CHILD | host::WS_VISIBLE, 0, handle(), 0, 0,
                         client.width(), client.height(), 1);
}

void MainFrame::onSize(int width, int height, int) {
    if (view_->isValid()) view_->moveTo({0, 0, width, height});
}

host::LResult MainFrame::windowProc(std::uint32_t message, host::WParam wParam,
                                    host::LParam lParam) {
    // The drawing window takes the keyboard whenever the main window gets
    // it, also when the main window is activated.
    bool activated = message == host::WM_ACTIVATE && host::lowWord(wParam) != host::WA_INACTIVE;
    if ((message == host::WM_SETFOCUS || activated) && view_->isValid()) {
        host::instance().setFocus(view_->handle());
        return 0;
    }
    return ktFrame::windowProc(message, wParam, lParam);
}

bool MainFrame::openFile(const std::string& path) {
    currentFile_ = path;
    std::string error;
    if (view_->load(path, error)) return true;
    ktString text = format("The sketch %s cannot be opened:\n%s", path.c_str(), error.c_str());
    messageBox(handle(), text.view(), "", host::MB_OK | host::MB_ICONEXCLAMATION);
    return false;
}

int MainFrame::onCommand(int id) {
    switch (id) {
        case kCommandExit:
            send(host::WM_CLOSE);
            return 1;
        case kCommandAbout:
            showAboutModal(handle());
            return 1;
        case kCommandFullScreen:
            setFullScreen(!isFullScreen());
            return 1;
        case kCommandPrint:
            printSketch(*view_, currentFile_);
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
    if (state.id == kCommandHelp) state.setEnabled(false);
    if (state.id == kCommandFullScreen) state.setChecked(isFullScreen());
    return 1;
}

bool MainFrame::onIdle(int) {
    setText(titleFor(currentFile_));
    return false;
}

}  // namespace penwick
