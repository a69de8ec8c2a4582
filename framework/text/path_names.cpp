#include "framework/text/path_names.h"

#include "framework/text/ascii.h"

namespace penwick {

std::string_view extensionOf(std::string_view name) {
    size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

std::string_view fileNameOf(std::string_view name) {
    size_t slash = name.find_last_of("\\/");
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

bool hasExtension(std::string_view name, std::string_view list) {
    std::string_view extension = extensionOf(name);
    constexpr std::string_view kSeparators = " ;,./";
    size_t at = 0;
    while (at < list.size()) {
        size_t stop = list.find_first_of(kSeparators, at);
        if (stop == std::string_view::npos) stop = list.size();
        std::string_view entry = list.substr(at, stop - at);
        if (!entry.empty() && entry.size() == extension.size()) {
            bool same = true;
            for (size_t i = 0; i < entry.size() && same; ++i) {
                same = asciiLower(entry[i]) == asciiLower(extension[i]);
            }
            if (same) return true;
        }
        at = stop + 1;
    }
    return false;
}

}  // namespace penwick
