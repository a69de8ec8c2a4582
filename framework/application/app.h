#pragma once
// ktApp: the base of the program's application object. It holds what the
// whole process shares (resources, command line, menu, accelerators, the
// top-level windows), runs the program from start-up to shut-down and owns
// the message loop: idle work with failure reports, keyboard routing to a
// modeless dialog, accelerator translation.
//
// The loop (one pass per message):
//   1. idle: while no message waits, onIdle(0), onIdle(1), ... until it
//      answers false; a failure thrown there is reported and idling goes on
//      without counting;
//   2. wait for a message; a quit message ends the loop only when every
//      top-level window is gone (it is otherwise handled like any message);
//   3. unless preTranslateMessage takes it: translate (keys into
//      characters) and dispatch.

#include <memory>
#include <optional>
#include <vector>

#include "framework/application/frame.h"
#include "framework/text/string.h"
#include "framework/window/resources.h"
#include "host/host.h"

namespace penwick {

class ktApp {
  public:
    // The process's one application object is the last one made.
    ktApp();
    ktApp(const ktApp&) = delete;
    ktApp& operator=(const ktApp&) = delete;

    // ---- Virtual operations, in their fixed order ----------------------
    virtual host::Window mainWindowHandle() const;
    // The about box, modeless, owned by the main window; it becomes the
    // current dialog.
    virtual void showAbout();
    // Kind 0 makes `window` the current dialog, kind 1 the current tool
    // window; the window held there before is destroyed.
    virtual void setModelessWindow(host::Window window, int kind);
    virtual ~ktApp();
    virtual void onHook(void* argument);
    // True makes Ctrl+Tab move the focus among the top-level windows.
    virtual bool ctrlTabCyclesWindows() const;
    // The program's help file: "<program>.chm" beside it, else
    // "<program>.txt"; decided on first use and kept.
    virtual ktString helpFilePath();
    // Starts another instance of the program with `arguments`.
    virtual bool relaunch(std::string_view arguments);
    // True when the message was consumed.
    virtual bool preTranslateMessage(host::Message& message);
    virtual bool init();
    virtual int exit();
    virtual int messageLoop();
    // Idle work of every top-level window; true while any wants more.
    virtual bool onIdle(int count);

    // ---- Services ------------------------------------------------------
    // The whole life of the program; the exit code (-1 when the loop never
    // ran). A failure thrown from start-up, the loop or shut-down ends the
    // process through the fatal error report.
    int run(const ktResources* instance, std::string_view commandLine, int showCommand);
    void registerWindow(std::shared_ptr<ktFrame> frame);
    ktFrame* window(int i) const;
    int windowCount() const { return int(frames_.size()); }
    // The menu and the accelerator table of one resource name.
    bool loadMenuAndAccelerators(int resourceName);
    host::Icon loadIcon(int resourceName);
    // The name of the accelerator of a command ("Ctrl+Shift+S"); empty when
    // the command has none or no table is loaded.
    ktString acceleratorName(int commandId);

    static ktApp* current();
    const ktResources* instance() const { return instance_; }
    const ktString& commandLine() const { return commandLine_; }
    int showCommand() const { return showCommand_; }
    host::Menu menu() const { return menu_; }
    const ktString& homePage() const { return homePage_; }
    host::Window currentDialog() const { return currentDialog_; }
    host::Window currentToolWindow() const { return currentToolWindow_; }

  private:
    void pruneWindows();
    void cycleTopLevelFocus();
    void releaseMenuAndAccelerators();

    ktString homePage_;
    std::optional<ktString> helpFilePath_;
    std::vector<std::shared_ptr<ktFrame>> frames_;
    host::Window currentDialog_{};
    host::Window currentToolWindow_{};
    const ktResources* instance_ = nullptr;
    ktString commandLine_;
    int showCommand_ = 5;  // SW_SHOW
    host::Menu menu_{};
    std::optional<AcceleratorTable> accelerators_;
    // The table as acceleratorName first saw it.
    std::optional<AcceleratorTable> namedAccelerators_;
};

// The about box text: "<description> <version> <special build>", the
// trademarks on a line of their own, and "Visit: <home page>" after an
// empty line.
ktString aboutText(const ktString& homePage);
// The buttons of the about box: OK, and a link to the home page first.
ktString aboutButtons(const ktString& homePage);
// "2, 1, 0, 0" gives "2.1", "1, 2, 3, 0" gives "1.23".
ktString formatVersion(std::string_view fileVersion);
// Shows the about box owned by `owner` and runs it until it closes;
// answers the button that closed it (0 when it could not be shown).
int showAboutModal(host::Window owner);

}  // namespace penwick
