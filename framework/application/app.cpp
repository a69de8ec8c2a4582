// ktApp: the process-wide state, running and the window list. The loop and
// its pre-translation are in message_loop.cpp, the about box in
// about_box.cpp.
#include "framework/application/app.h"

#include <algorithm>
#include <utility>

#include "framework/application/accelerators.h"
#include "framework/controls/message_box.h"
#include "framework/error/error_report.h"
#include "framework/platform/paths.h"
#include "framework/platform/shell.h"
#include "framework/platform/version.h"
#include "framework/text/failure.h"

namespace penwick {

namespace {
ktApp* theApp = nullptr;
}

ktApp::ktApp() {
    theApp = this;
}

ktApp::~ktApp() {
    frames_.clear();
    releaseMenuAndAccelerators();
    if (theApp == this) theApp = nullptr;
}

ktApp* ktApp::current() {
    return theApp;
}

host::Window ktApp::mainWindowHandle() const {
    return frames_.empty() || !frames_[0] ? host::kNoWindow : frames_[0]->handle();
}

void ktApp::showAbout() {
    host::Window box =
        showMessageBox(mainWindowHandle(), aboutText(homePage_).view(),
                       versionRecord().fileDescription.view(), aboutButtons(homePage_).view());
    setModelessWindow(box, 0);
}

void ktApp::setModelessWindow(host::Window window, int kind) {
    host::Window& place = kind == 0 ? currentDialog_ : currentToolWindow_;
    host::Window previous = std::exchange(place, window);
    if (previous != host::kNoWindow && previous != window && host::instance().isWindow(previous))
        host::instance().destroyWindow(previous);
}

void ktApp::onHook(void*) {}

bool ktApp::ctrlTabCyclesWindows() const {
    return false;
}

ktString ktApp::helpFilePath() {
    if (!helpFilePath_) {
        // The stem drops the program file's extension when it has one (a
        // program file on Linux usually has none).
        ktString stem = moduleStem();
        ktString chm = stem.concat(".chm");
        helpFilePath_ = fileExists(chm.view()) ? chm : stem.concat(".txt");
    }
    return *helpFilePath_;
}

bool ktApp::relaunch(std::string_view arguments) {
    ktString command("\"");
    command.append(modulePath()).append("\"");
    if (!arguments.empty()) command.append(" ").append(arguments);
    shellRun(command.view());
    return true;
}

bool ktApp::init() {
    return true;
}

int ktApp::exit() {
    frames_.clear();
    return 0;
}

bool ktApp::onIdle(int count) {
    bool more = false;
    // A window's idle work may register or close windows.
    std::vector<std::shared_ptr<ktFrame>> frames = frames_;
    for (const std::shared_ptr<ktFrame>& frame : frames)
        if (frame && frame->isValid() && frame->onIdle(count)) more = true;
    return more;
}

int ktApp::run(const ktResources* instance, std::string_view commandLine, int showCommand) {
    int result = -1;
    try {
        homePage_ = versionRecord().homePage;
        instance_ = instance;
        commandLine_ = ktString(commandLine);
        showCommand_ = showCommand;
        if (init()) {
            result = messageLoop();
            exit();
        }
        releaseMenuAndAccelerators();
    } catch (const ktFailure& failure) {
        reportError(failure.text(), host::kNoWindow, false);
    } catch (...) {
        reportError("Unknown error.", host::kNoWindow, false);
    }
    return result;
}

void ktApp::registerWindow(std::shared_ptr<ktFrame> frame) {
    if (frame) frames_.push_back(std::move(frame));
}

ktFrame* ktApp::window(int i) const {
    return i >= 0 && i < int(frames_.size()) ? frames_[std::size_t(i)].get() : nullptr;
}

void ktApp::pruneWindows() {
    std::erase_if(frames_, [](const std::shared_ptr<ktFrame>& f) { return !f || !f->isValid(); });
}

bool ktApp::loadMenuAndAccelerators(int resourceName) {
    if (!instance_) return false;
    bool found = false;
    if (auto menu = instance_->menus.find(resourceName); menu != instance_->menus.end()) {
        if (menu_ != host::kNoMenu) host::instance().destroyMenu(menu_);
        menu_ = host::buildMenu(host::instance(), menu->second, false);
        found = true;
    }
    if (auto table = instance_->accelerators.find(resourceName);
        table != instance_->accelerators.end()) {
        accelerators_ = table->second;
        found = true;
    }
    return found;
}

void ktApp::releaseMenuAndAccelerators() {
    if (menu_ != host::kNoMenu && host::hasInstance()) host::instance().destroyMenu(menu_);
    menu_ = host::kNoMenu;
    accelerators_.reset();
}

host::Icon ktApp::loadIcon(int resourceName) {
    constexpr int kProgramIcon = 128;
    return resourceName == kProgramIcon ? host::instance().programIcon() : host::kNoIcon;
}

ktString ktApp::acceleratorName(int commandId) {
    if (!namedAccelerators_) {
        if (!accelerators_) return {};
        namedAccelerators_ = *accelerators_;
    }
    for (const Accelerator& a : *namedAccelerators_)
        if (a.command == commandId) return acceleratorText(a);
    return {};
}

}  // namespace penwick
