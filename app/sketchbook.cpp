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
#include "model/temporary_files.h"

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

bool releaseClaimedPage(const std::string& path) {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored) &&
        std::filesystem::file_size(path, ignored) == 0)
        return std::filesystem::remove(path, ignored);
    return false;
}

void removeStaleClaims(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const auto oldest = fs::file_time_type::clock::now() - kStaleTemporaryAge;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        const fs::path& path = it->path();
        if (path.extension() != ".wnk" || !it->is_regular_file(ignored) || it->is_symlink(ignored))
            continue;
        if (fs::file_size(path, ignored) == 0 && fs::last_write_time(path, ignored) < oldest)
            fs::remove(path, ignored);
    }
}

bool isReadOnlyFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::is_regular_file(status)) return false;
    const fs::perms write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & write) == fs::perms::none;
}

bool liesIn(std::string_view path, std::string_view folder) {
    if (folder.empty() || path.size() <= folder.size() + 1) return false;
    if (path.substr(0, folder.size()) != folder) return false;
    char separator = path[folder.size()];
    return separator == '/' || separator == '\\';
}

}  // namespace penwick
