#pragma once
// The one Qt host of the test program, on Qt's offscreen platform, with the
// desktop's folders pointed at a private temporary folder.

#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <string>

#include "host/qt/qt_host.h"
#include "tests/support/private_home.h"

namespace qt_test {

// The private home first, then the host (which makes the QApplication).
struct TestHost {
    TestHost() : host(0, nullptr) { host::setInstance(&host); }
    ~TestHost() { host::setInstance(nullptr); }
    penwick::testing::PrivateHome home;
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

// The private home's folder, which the host's special folders point into.
inline std::string scratchFolder() {
    testHost();
    return testHostSlot()->home.folder().path().string();
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
