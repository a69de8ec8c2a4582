#pragma once
// The program's application object: start-up makes the main window with
// its menu, opens the file named on the command line and shows the window.

#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/main_frame.h"
#include "framework/application/app.h"

namespace penwick {

class SketchApp : public ktApp {
  public:
    ~SketchApp() override;
    bool init() override;
    int exit() override;

    MainFrame* mainFrame() const { return frame_.get(); }

  private:
    std::shared_ptr<MainFrame> frame_;
};

}  // namespace penwick
