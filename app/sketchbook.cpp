#include "app/sketchbook.h"

#include <optional>

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
    std::optional<std::string>& folder = cachedFolder();
    if (!folder) {
        ktString documents = specialFolder(host::CSIDL_PERSONAL);
        folder = documents.isEmpty() ? std::string() : std::string(documents.view()) + "/Sketchbook";
    }
    return *folder;
}

void forgetSketchbookFolder() {
    cachedFolder().reset();
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

bool liesIn(std::string_view path, std::string_view folder) {
    if (folder.empty() || path.size() <= folder.size() + 1) return false;
    if (path.substr(0, folder.size()) != folder) return false;
    char separator = path[folder.size()];
    return separator == '/' || separator == '\\';
}

}  // namespace penwick
