#include "app/sketchbook.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

#include "framework/platform/paths.h"
#include "framework/platform/time.h"
#include "host/services.h"

namespace penwick {

namespace {
std::optional<std::string>& cachedFolder() {
    static std::optional<std::string> folder;
    return folder;
}
}  // namespace

const std::string& sketchbookFolder() {
    if (!cachedFolder()) findSketchbookFolder();
    return *cachedFolder();
}

void findSketchbookFolder() {
    ktString documents = specialFolder(host::CSIDL_PERSONAL);
    cachedFolder() =
        documents.isEmpty() ? std::string() : std::string(documents.view()) + "/Sketchbook";
}

std::string freePageName(std::string_view folder, double time) {
    // A page is never written over: a name already taken moves the page
    // one second on. A time no calendar shows gives no name.
    for (;; time += 1) {
        ktString name = formatTime(time, "%Y-%m-%d_%H-%M-%S.wnk");
        if (name.isEmpty()) return {};
        std::string path(folder);
        path += '/';
        path += name.view();
        if (!fileExists(path)) return path;
    }
}

std::string claimNewPage(std::string_view folder, double time, std::string& error) {
    for (;; time += 1) {
        std::string path = freePageName(folder, time);
        if (path.empty()) {
            error = "the clock shows no date";
            return {};
        }
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        // Taken between the look and the claim: the next second.
        if (errno == EEXIST) continue;
        error = std::strerror(errno);
        return {};
    }
}

void releaseClaimedPage(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored) &&
        std::filesystem::file_size(path, ignored) == 0)
        std::filesystem::remove(path, ignored);
}

bool liesIn(std::string_view path, std::string_view folder) {
    if (folder.empty() || path.size() <= folder.size() + 1) return false;
    if (path.substr(0, folder.size()) != folder) return false;
    char separator = path[folder.size()];
    return separator == '/' || separator == '\\';
}

}  // namespace penwick
