#pragma once
// A headless host installed for one test, with its folders in a fresh
// temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/platform/paths.h"
#include "host/headless/headless_host.h"

namespace penwick::testing {

class HostFixture : public ::testing::Test {
  protected:
    HostFixture() {
        root_ = std::filesystem::temp_directory_path() /
                ("penwick-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "config");
        std::filesystem::create_directories(root_ / "documents");
        host_.setSpecialFolder(host::CSIDL_APPDATA, (root_ / "config").string());
        host_.setSpecialFolder(host::CSIDL_PERSONAL, (root_ / "documents").string());
        host_.setModulePath("/usr/bin/penwick");
        host::setInstance(&host_);
        forgetAppDataFolder();
    }
    ~HostFixture() override {
        forgetAppDataFolder();
        host::setInstance(nullptr);
        std::filesystem::remove_all(root_);
    }
    std::string path(const std::string& relative) const { return (root_ / relative).string(); }
    void touch(const std::string& relative) { std::ofstream(root_ / relative) << "x"; }

    std::filesystem::path root_;
    host::headless::HeadlessHost host_;
};

}  // namespace penwick::testing
