#pragma once
// A headless host whose data folder is a fresh temporary folder, and a
// reader for the log written there.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "framework/platform/paths.h"
#include "host/headless/headless_host.h"

namespace penwick::testing {

class ErrorFixture : public ::testing::Test {
  protected:
    ErrorFixture() {
        root_ = std::filesystem::temp_directory_path() /
                ("penwick-error-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
        host_.setSpecialFolder(host::CSIDL_APPDATA, root_.string());
        host_.setModulePath("/usr/bin/penwick");
        host::setInstance(&host_);
        forgetAppDataFolder();
    }
    ~ErrorFixture() override {
        forgetAppDataFolder();
        host::setInstance(nullptr);
        std::filesystem::remove_all(root_);
    }
    std::filesystem::path logPath() const { return root_ / "Corvana" / "Penwick" / "penwick.log"; }
    std::string log() const {
        std::ifstream in(logPath(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path root_;
    host::headless::HeadlessHost host_;
};

}  // namespace penwick::testing
