#pragma once
// The program's application object: start-up makes the main window with
// its menu, opens the file named on the command line and shows the window.

#include <memory>
#include <string>

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

// The command line of a program started with `arguments`: each argument
// in double quotes, separated by spaces.
std::string commandLineOf(int argc, char** argv);
// The file a command line names: its first token (a double-quoted text, or
// a run of bytes above the space) when that file exists, else the rest of
// the line after it when that exists, else the first token.
std::string fileOfCommandLine(std::string_view commandLine);

}  // namespace penwick
