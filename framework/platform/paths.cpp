#include "framework/platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/platform/version.h"
#include "framework/text/path_names.h"
#include "host/host.h"

namespace penwick {

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

std::optional<ktString>& appDataCache() {
    static std::optional<ktString> folder;
    return folder;
}

}  // namespace

ktString modulePath() {
    return ktString(host::instance().modulePath());
}

ktString moduleStem() {
    ktString path = modulePath();
    std::string_view name = fileNameOf(path.view());
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return path;
    return path.left(path.length() - int32_t(name.size() - dot));
}

ktString specialFolder(int id) {
    return ktString(host::instance().specialFolder(id));
}

ktString appDataFolder(bool create) {
    std::optional<ktString>& cached = appDataCache();
    if (!cached) {
        ktString folder = specialFolder(26);
        const VersionRecord& version = versionRecord();
        if (folder.isEmpty()) {
            // No home to put it in: no data folder, rather than one at the root.
        } else if (versionRead()) {
            folder.append("/").append(version.company).append("/").append(version.productName);
        } else {
            folder.append("/").append(fileNameOf(modulePath().view()));
        }
        cached = folder;
    }
    if (create) makePath(cached->view());
    return *cached;
}

void forgetAppDataFolder() {
    appDataCache().reset();
}

bool makePath(std::string_view path) {
    std::string prefix;
    auto makeFolder = [](const std::string& folder) {
        if (folder.empty() || folder.back() == ':') return;
        ::mkdir(folder.c_str(), 0777);  // failures (it exists, no right) are ignored
    };
    for (char c : path) {
        if (isSeparator(c)) makeFolder(prefix);
        prefix += isSeparator(c) ? '/' : c;
    }
    if (!prefix.empty() && prefix.back() != '/') makeFolder(prefix);
    return true;
}

bool fileExists(std::string_view path) {
    if (path.empty()) return false;
    std::string p(path);
    for (char& c : p)
        if (c == '\\') c = '/';
    return ::access(p.c_str(), F_OK) == 0;
}

SplitPath splitPath(std::string_view path) {
    SplitPath result;
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        result.root = ktString(path.substr(0, 2));
        start = 2;
    } else if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        // "\\server\share": the root runs to the end of the share's name.
        std::size_t server = path.find_first_of("\\/", 2);
        std::size_t share =
            server == std::string_view::npos ? server : path.find_first_of("\\/", server + 1);
        start = share == std::string_view::npos ? path.size() : share;
        result.root = ktString(path.substr(0, start));
    } else if (!path.empty() && path[0] == '/') {
        result.root = "/";
        start = 1;
    }
    std::vector<std::string_view> segments;
    std::size_t i = start;
    while (i <= path.size()) {
        std::size_t end = i;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        std::string_view segment = path.substr(i, end - i);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        i = end + 1;
    }
    for (std::size_t s = 0; s < segments.size(); ++s) {
        if (s > 0) result.rest.append("/");
        result.rest.append(segments[s]);
    }
    return result;
}

ktString fullPath(std::string_view path) {
    if (path.empty()) return {};
    std::string absolute;
    bool rooted = isSeparator(path[0]) || (path.size() >= 2 && path[1] == ':');
    if (!rooted) {
        char buffer[4096];
        if (!::getcwd(buffer, sizeof buffer)) return {};
        absolute = buffer;
        absolute += '/';
    }
    absolute.append(path);
    SplitPath split = splitPath(absolute);
    ktString result = split.root;
    if (result.view() != "/" && !result.isEmpty()) result.append("/");
    result.append(split.rest);
    return result;
}

ktString folderOf(std::string_view path, bool withSeparator) {
    ktString full = fullPath(path);
    // A path that ends in a separator names a folder; fullPath drops it.
    if (!path.empty() && isSeparator(path.back())) full.append("/");
    int32_t cut = full.findLast('/');
    if (cut < 0) return {};
    return full.left(withSeparator ? cut + 1 : (cut == 0 ? 1 : cut));
}

}  // namespace penwick
