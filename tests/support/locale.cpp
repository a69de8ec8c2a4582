#include "tests/support/locale.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace penwick::testing {

namespace {

// Runs a program with its output thrown away; its exit status, or -1.
int runQuietly(std::vector<const char*> args) {
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, args[0], &actions, nullptr,
                                     const_cast<char* const*>(args.data()), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int raw = 0;
    if (waitpid(child, &raw, 0) != child) return -1;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// The folder lives as long as the test program; it is removed at exit.
struct LocaleFolder {
    std::filesystem::path path;
    ~LocaleFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

const DecimalCommaLocale& DecimalCommaLocale::get() {
    static const DecimalCommaLocale locale;
    return locale;
}

DecimalCommaLocale::DecimalCommaLocale() {
    static LocaleFolder made;
    if (runQuietly({"localedef", "--help"}) != 0) {
        whyNot_ = "localedef is not installed (Debian package libc-bin)";
        return;
    }
    std::string pattern =
        (std::filesystem::temp_directory_path() / "penwick-locale-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        whyNot_ = "no temporary folder for the locale";
        return;
    }
    made.path = pattern;
    folder_ = pattern;
    // Warnings of the locale sources are no reason to fail: exit status 1
    // means "made, with warnings".
    const std::string target = folder_ + "/" + kName;
    const int status = runQuietly({"localedef", "-i", "de_DE", "-f", "UTF-8", target.c_str()});
    if ((status != 0 && status != 1) ||
        !std::filesystem::exists(folder_ + "/" + kName + "/LC_NUMERIC")) {
        whyNot_ =
            "localedef could not make de_DE.UTF-8 (are the locale sources of Debian's "
            "package locales installed, /usr/share/i18n/locales/de_DE?)";
    }
}

InDecimalCommaLocale::InDecimalCommaLocale() {
    const DecimalCommaLocale& locale = DecimalCommaLocale::get();
    if (!locale.available()) return;
    const char* now = std::setlocale(LC_ALL, nullptr);
    previous_ = now ? now : "C";
    locpath_.set("LOCPATH", locale.folder().c_str());
    active_ = std::setlocale(LC_ALL, DecimalCommaLocale::kName) != nullptr;
}

InDecimalCommaLocale::~InDecimalCommaLocale() {
    if (active_) std::setlocale(LC_ALL, previous_.c_str());
}

DecimalCommaEnvironment::DecimalCommaEnvironment() {
    const DecimalCommaLocale& locale = DecimalCommaLocale::get();
    if (!locale.available()) return;
    environment_.set("LOCPATH", locale.folder().c_str());
    environment_.set("LC_ALL", DecimalCommaLocale::kName);
    active_ = true;
}

std::string printfOfOneAndAHalf() {
    char text[32];
    std::snprintf(text, sizeof text, "%f", 1.5);
    return text;
}

}  // namespace penwick::testing
