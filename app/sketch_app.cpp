#include "app/sketch_app.h"

#include "app/program_resources.h"
#include "host/window_style.h"

namespace penwick {

SketchApp::~SketchApp() = default;

bool SketchApp::init() {
    if (!ktApp::init()) return false;
    loadMenuAndAccelerators(kMainMenuResource);
    frame_ = std::make_shared<MainFrame>();
    if (!frame_->create(nullptr, "", host::WS_OVERLAPPEDWINDOW | host::WS_CLIPCHILDREN, 0,
                        host::kNoWindow, host::CW_USEDEFAULT, host::CW_USEDEFAULT,
                        host::CW_USEDEFAULT, host::CW_USEDEFAULT, 0))
        return false;
    host::Host& h = host::instance();
    h.setWindowIcon(frame_->handle(), loadIcon(kMainMenuResource), false);
    h.setWindowIcon(frame_->handle(), loadIcon(kMainMenuResource), true);
    h.setWindowMenu(frame_->handle(), menu());
    h.showWindow(frame_->handle(), showCommand());
    // What start-up could not read, and the file of the command line, once
    // the window shows, so that a failure is reported over it.
    frame_->showStartupReports();
    std::string file = fileOfCommandLine(commandLine().view());
    if (!file.empty()) frame_->open(file);
    registerWindow(frame_);
    return true;
}

int SketchApp::exit() {
    int result = ktApp::exit();
    frame_.reset();
    return result;
}

}  // namespace penwick
