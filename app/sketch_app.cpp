#include "app/sketch_app.h"

#include "app/program_resources.h"
#include "app/sketchbook.h"
#include "framework/platform/time.h"
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

    // Drawings a crash left are offered before this run makes its own copy.
    RecoveryOffer offer =
        offerRecoveryCopies(frame_->handle(), recoveryFolder(), sketchbookFolder(), now());
    if (file.empty() && !offer.restoredPages.empty()) frame_->open(offer.restoredPages.back());
    recovery_ = std::make_unique<RecoveryCopy>(recoveryFolder(), recoveryTiming);
    RecoveryCopy::setForFatalReport(recovery_.get());
    registerWindow(frame_);
    return true;
}

bool SketchApp::onIdle(int count) {
    bool more = ktApp::onIdle(count);
    if (count == 0 && recovery_ && frame_ && frame_->view())
        recovery_->tick(*frame_->view(), host::instance().millisecondsSinceStart());
    return more;
}

int SketchApp::exit() {
    // The window is gone only after its page was saved or its changes
    // declined.
    if (recovery_) recovery_->exitCleanly();
    int result = ktApp::exit();
    frame_.reset();
    return result;
}

}  // namespace penwick
