#pragma once
// The main window: a frame with the main menu and the drawing window as its
// only child. It shows the file named on the command line, answers Print,
// About, Full Screen and Exit, and keeps the title on the current file's
// name. The page and file commands come later; their items do nothing yet.

#include <memory>
#include <string>

#include "canvas/canvas_view.h"
#include "framework/application/frame.h"

namespace penwick {

class MainFrame : public ktFrame {
  public:
    bool onCreate() override;
    void onSize(int width, int height, int sizeType) override;
    int onCommand(int id) override;
    int onUpdateCommand(CommandState& state) override;
    bool onIdle(int count) override;
    host::LResult windowProc(std::uint32_t message, host::WParam wParam,
                             host::LParam lParam) override;

    // Loads a sketch file into the view; the file becomes the current one
    // even when it cannot be read, which a message box then reports.
    bool openFile(const std::string& path);

    CanvasView* view() const { return view_.get(); }
    const std::string& currentFile() const { return currentFile_; }

  private:
    std::shared_ptr<CanvasView> view_ = std::make_shared<CanvasView>();
    std::string currentFile_;
};

// The title for a file: its name without the folder, or "Untitled".
std::string titleFor(const std::string& path);

}  // namespace penwick
