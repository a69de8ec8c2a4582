#pragma once
// A headless host whose data folder is a fresh temporary folder, and a
// reader for the log written there.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/platform/paths.h"
#include "host/headless/headless_host.h"
#include "tests/support/temp_folder.h"

namespace penwick::testing {

class ErrorFixture : public ::testing::Test {
  protected:
    ErrorFixture() : root_(folder_.path()) {
        host_.setSpecialFolder(host::CSIDL_APPDATA, root_.string());
        host_.setModulePath("/usr/bin/penwick");
        host::setInstance(&host_);
        forgetAppDataFolder();
    }
    ~ErrorFixture() override {
        forgetAppDataFolder();
        host::setInstance(nullptr);
    }
    std::filesystem::path logPath() const { return root_ / "Corvana" / "Penwick" / "penwick.log"; }
    std::string log() const { return readFileText(logPath().string()); }

    TempFolder folder_;
    std::filesystem::path root_;
    host::headless::HeadlessHost host_;
};

}  // namespace penwick::testing
