#include "framework/platform/folder_listing.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>

#include "framework/text/matching.h"
#include "framework/text/path_names.h"

namespace penwick {

namespace {

// The folder part of a pattern (with its final "/"), "./" when there is none.
std::string folderPart(std::string_view pattern) {
    std::size_t cut = pattern.find_last_of("/\\");
    if (cut == std::string_view::npos) return "./";
    std::string folder(pattern.substr(0, cut + 1));
    for (char& c : folder)
        if (c == '\\') c = '/';
    return folder;
}

// Keeps the folder as the caller wrote it, "" for a bare pattern.
std::string givenFolder(std::string_view pattern) {
    std::size_t cut = pattern.find_last_of("/\\");
    return cut == std::string_view::npos ? std::string() : folderPart(pattern);
}

}  // namespace

std::vector<FileEntry> listFiles(std::string_view pattern) {
    std::vector<FileEntry> entries;
    std::string folder = folderPart(pattern);
    std::string_view namePattern = fileNameOf(pattern);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return entries;
    while (const dirent* d = ::readdir(dir.get())) {
        std::string_view name = d->d_name;
        if (name == "." || name == "..") continue;
        if (!wildcardMatch(name, namePattern)) continue;
        FileEntry entry;
        entry.name = ktString(name);
        struct stat info {};
        if (::stat((folder + std::string(name)).c_str(), &info) == 0) {
            entry.isFolder = S_ISDIR(info.st_mode);
            entry.isReadOnly = (info.st_mode & 0222) == 0;
            entry.modified = double(info.st_mtim.tv_sec) + double(info.st_mtim.tv_nsec) * 1e-9;
            entry.size = info.st_size;
        }
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.name.view() < b.name.view(); });
    return entries;
}

ktString nthFile(std::string_view pattern, int i) {
    std::vector<FileEntry> entries = listFiles(pattern);
    std::erase_if(entries, [](const FileEntry& e) { return e.isFolder; });
    int count = int(entries.size());
    if (i < 0) i += count;
    if (i < 0 || i >= count) return {};
    ktString result(givenFolder(pattern));
    return result.append(entries[std::size_t(i)].name);
}

ktString neighbourFile(std::string_view path, int offset, bool wrap, bool selfWhenNone,
                       std::string_view nameFilter) {
    std::string folder = givenFolder(path);
    std::string_view name = fileNameOf(path);
    std::string_view extension = extensionOf(name);
    std::string pattern = folder + std::string(nameFilter);
    if (name.find('.') != std::string_view::npos) pattern.append(".").append(extension);

    std::vector<FileEntry> entries = listFiles(pattern);
    std::erase_if(entries, [](const FileEntry& e) { return e.isFolder; });
    std::stable_sort(entries.begin(), entries.end(), [](const FileEntry& a, const FileEntry& b) {
        return naturalCompare(a.name.view(), b.name.view()) < 0;
    });
    const int count = int(entries.size());
    auto at = [&](int i) { return ktString(folder).append(entries[std::size_t(i)].name); };
    ktString none = selfWhenNone ? ktString(path) : ktString();

    int index = -1;
    for (int i = 0; i < count && index < 0; ++i)
        if (entries[std::size_t(i)].name.equalsNoCase(name)) index = i;
    if (index < 0) {
        // Paging from a file outside the list (a page not saved yet) enters
        // it at its end or its start, even when it holds one file only.
        if (count == 0) return none;
        return at(offset < 0 ? count - 1 : 0);
    }
    if (count < 2) return none;
    long target = long(index) + offset;
    if (wrap) return at(int(((target % count) + count) % count));
    if (target >= 0 && target < count) return at(int(target));
    return none;
}

}  // namespace penwick
