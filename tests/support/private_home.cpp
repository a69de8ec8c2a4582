#include "tests/support/private_home.h"

#include <cstdlib>

namespace penwick::testing {

ScopedEnvironment::~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->second)
            ::setenv(it->first.c_str(), it->second->c_str(), 1);
        else
            ::unsetenv(it->first.c_str());
    }
}

void ScopedEnvironment::set(const std::string& name, const char* value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value)
        ::setenv(name.c_str(), value, 1);
    else
        ::unsetenv(name.c_str());
}

PrivateHome::PrivateHome() {
    const std::filesystem::path runtime = folder_.path() / "runtime";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    std::filesystem::create_directories(config());
    environment_.set("QT_QPA_PLATFORM", "offscreen");
    environment_.set("XDG_RUNTIME_DIR", runtime.c_str());
    environment_.set("HOME", folder_.path().c_str());
    environment_.set("XDG_CONFIG_HOME", config().c_str());
}

}  // namespace penwick::testing
