#pragma once
// A headless host installed for one test, with its folders in a fresh
// temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "framework/platform/paths.h"
#include "host/headless/headless_host.h"
#include "tests/support/temp_folder.h"

namespace penwick::testing {

class HostFixture : public ::testing::Test {
  protected:
    HostFixture() : root_(folder_.path()) {
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
    }
    std::string path(const std::string& relative) const { return (root_ / relative).string(); }
    void touch(const std::string& relative) { std::ofstream(root_ / relative) << "x"; }

    TempFolder folder_;
    std::filesystem::path root_;
    host::headless::HeadlessHost host_;
};

}  // namespace penwick::testing
