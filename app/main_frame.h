#pragma once
// The main window: a frame with the main menu and the drawing window as its
// only child. It keeps the settings (config.xml in the program's data
// folder), the current file, and the pages of the Sketchbook: a page is
// saved when the person leaves it, and no page is ever written over by
// another drawing.
//
// Sections: the window's overrides (main_frame.cpp); the page and file
// commands (page_commands.cpp).

#include <memory>
#include <string>
#include <vector>

#include "canvas/canvas_view.h"
#include "framework/application/frame.h"
#include "framework/value/value_node.h"

namespace penwick {

class MainFrame : public ktFrame {
  public:
    MainFrame();

    // ---- The window's overrides ----------------------------------------
    host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                             host::LParam lParam) override;
    void onSize(int width, int height, int sizeType) override;
    // Makes the canvas, reads the settings and opens the last page.
    bool onCreate() override;
    // Writes the settings, then ends the program's loop.
    void onDestroy() override;
    int onCommand(int id) override;
    int onUpdateCommand(CommandState& state) override;
    // The title: the current file's name, or "Untitled", and " *" while the
    // drawing differs from its file.
    bool onIdle(int count) override;
    bool queryClose(int reason) override;

    // What start-up could not do (a last page that cannot be read, a
    // Sketchbook that cannot be made), shown once the window shows.
    void showStartupReports();

    // ---- Page and file commands ----------------------------------------
    // May the page be left? True when nothing changed; otherwise saves it
    // (Auto Save) or asks. A save that fails answers false.
    bool saveQuery();
    // Saves to the current file; a new page gets a free date-and-time name
    // in the Sketchbook (or, without Auto Save, the name asked for). A
    // failure is shown with the file and its reason.
    bool save();
    // Asks for a name and saves there; an .svg or .svgz name exports and
    // changes neither the current file nor `modified`.
    bool saveAs();
    // Leaves the page and loads `path` (asked for when empty). A file that
    // cannot be read is reported and the page, its file and its state stay.
    bool open(const std::string& path);
    void newPage();
    // Keeps the drawing as a new page without a file.
    void copyAsNew();
    void deletePermanently();
    // Pages forward (+1) or back (-1) through the current file's folder.
    void stepPage(int step);
    void firstOrLastPage(bool last);

    CanvasView* view() const { return view_.get(); }
    const std::string& currentFile() const { return currentFile_; }
    ValueNode& settings() { return settings_; }

  private:
    bool autoSave() const;
    // Loads `path` into the canvas; on failure shows why (over the window,
    // or after start-up when it is not yet shown) and changes nothing.
    bool loadPage(const std::string& path);
    // Reports a save that failed: what could not be done, why, and that the
    // page stays open.
    void reportSaveFailure(const std::string& what, const std::string& reason);
    // The same for the file at `path`.
    void reportSaveFailureOf(const std::string& path, const std::string& reason);
    void readSettings();
    void writeSettings();

    std::shared_ptr<CanvasView> view_ = std::make_shared<CanvasView>();
    std::string currentFile_;
    ValueNode settings_;
    std::string shownTitle_;
    bool started_ = false;  // the window shows: failures are reported at once
    std::vector<std::string> startupReports_;
};

// The title for a file: its name without the folder, or "Untitled".
std::string titleFor(const std::string& path);

}  // namespace penwick
