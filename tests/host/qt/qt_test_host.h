#pragma once
// The one Qt host of the test program, on Qt's offscreen platform, with the
// desktop's folders pointed at a private temporary folder.

#include <gtest/gtest.h>

#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/qt/qt_host.h"

namespace qt_test {

inline std::string scratchFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/penwick-qt-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

// Environment first, then the host (which makes the QApplication).
struct TestHost {
    TestHost() : host((prepare(), 0), nullptr) { host::setInstance(&host); }
    ~TestHost() { host::setInstance(nullptr); }
    static void prepare() {
        const std::string folder = scratchFolder();
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        setenv("HOME", folder.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    }
    host::qt::QtHost host;
};

inline std::unique_ptr<TestHost>& testHostSlot() {
    static std::unique_ptr<TestHost> slot;
    return slot;
}

inline host::qt::QtHost& testHost() {
    if (!testHostSlot()) testHostSlot() = std::make_unique<TestHost>();
    return testHostSlot()->host;
}

// Qt must be gone before the process's exit handlers run, or it tears
// down devices whose registry is already destroyed.
class HostEnvironment : public ::testing::Environment {
  public:
    void TearDown() override { testHostSlot().reset(); }
};
inline ::testing::Environment* const hostEnvironment =
    ::testing::AddGlobalTestEnvironment(new HostEnvironment);  // gtest owns it

}  // namespace qt_test
