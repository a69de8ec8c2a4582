#pragma once
// A headless host for framework tests: set as the process's host, with the
// program's data folder (where the error log goes) in a private temporary
// folder, and a helper that runs every queued message.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "framework/platform/paths.h"
#include "host/headless/headless_host.h"
#include "host/host.h"
#include "tests/support/temp_folder.h"

namespace penwick::testing {

class HeadlessTest : public ::testing::Test {
  protected:
    HeadlessTest() {
        host.setSpecialFolder(host::CSIDL_APPDATA, (folder_.path() / "appdata").string());
        host.setSpecialFolder(host::CSIDL_PERSONAL, (folder_.path() / "documents").string());
        host.setModulePath((folder_.path() / "penwick").string());
        host::setInstance(&host);
        forgetAppDataFolder();
    }
    ~HeadlessTest() override { host::setInstance(nullptr); }

    // Takes and dispatches every queued message, as the loop would.
    void pump() {
        host::Message m;
        while (host.peekMessage(m, host::kNoWindow, 0, 0, true)) {
            if (m.message == host::WM_QUIT) {
                quits.push_back(int(m.wParam));
                continue;
            }
            host.translateMessage(m);
            host.dispatchMessage(m);
        }
    }

    // Everything the error log holds (empty when there is none).
    std::string log() const {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_.path())) {
            if (entry.path().extension() != ".log") continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            return text.str();
        }
        return {};
    }

    const std::filesystem::path& folder() const { return folder_.path(); }

    host::headless::HeadlessHost host;
    std::vector<int> quits;

  private:
    TempFolder folder_;
};

}  // namespace penwick::testing
