#include "app/page_order.h"

#include <algorithm>

#include "framework/platform/folder_listing.h"
#include "framework/text/matching.h"
#include "framework/text/path_names.h"
#include "framework/text/string.h"

namespace penwick {

std::vector<std::string> pagesInOrder(std::string_view folder, std::string_view extension) {
    std::string pattern(folder);
    pattern += "/*";
    pattern += extension;
    std::vector<std::string> names;
    // An empty file is no page: at most a new page's name, claimed and not
    // yet written.
    for (const FileEntry& entry : listFiles(pattern))
        if (!entry.isFolder && entry.size > 0) names.emplace_back(entry.name.view());
    // The listing comes sorted by bytes; a stable sort keeps that order
    // among names the natural order calls equal.
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return naturalCompare(a, b) < 0;
    });
    return names;
}

std::string steppedPage(std::string_view reference, int step) {
    std::string_view name = fileNameOf(reference);
    std::string_view folder = reference.substr(0, reference.size() - name.size());
    if (!folder.empty()) folder.remove_suffix(1);  // the separator
    std::string extension;
    if (name.find('.') != std::string_view::npos) extension = "." + std::string(extensionOf(name));
    const std::vector<std::string> pages = pagesInOrder(folder, extension);

    const long count = long(pages.size());
    // The page by its own name, else by one that differs only in case.
    long index = count;
    for (long i = 0; i < count && index == count; ++i)
        if (pages[std::size_t(i)] == name) index = i;
    for (long i = 0; i < count && index == count; ++i)
        if (ktString(pages[std::size_t(i)]).equalsNoCase(name)) index = i;
    auto pathOf = [&](long i) { return std::string(folder) + "/" + pages[std::size_t(i)]; };
    if (index == count && step < 0) return count > 0 ? pathOf(count - 1) : std::string(reference);
    const long target = index + step;
    if (count < 2 || target < 0 || target >= count) return std::string(reference);
    return pathOf(target);
}

}  // namespace penwick
