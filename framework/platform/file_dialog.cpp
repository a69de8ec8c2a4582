#include "framework/platform/file_dialog.h"

#include "host/dialogs.h"
#include "host/host.h"

namespace penwick {

namespace {

std::vector<host::FileFilter> parseFilter(std::string_view filter) {
    std::vector<std::string_view> parts;
    while (!filter.empty()) {
        std::size_t bar = filter.find('|');
        std::string_view part = filter.substr(0, bar);
        if (part.empty()) break;  // "||" ends the list
        parts.push_back(part);
        if (bar == std::string_view::npos) break;
        filter.remove_prefix(bar + 1);
    }
    std::vector<host::FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        filters.push_back({std::string(parts[i]), std::string(parts[i + 1])});
    return filters;
}

}  // namespace

int FileDialog::run(bool open, std::string_view defaultExtension, std::string_view initialName,
                    std::uint32_t flags, std::string_view filter, host::Window owner) {
    host::FileDialogRequest request;
    request.open = open;
    request.owner = owner;
    request.defaultExtension = std::string(defaultExtension);
    request.initialName = std::string(initialName);
    request.filters = parseFilter(filter);
    request.flags = flags;
    host::FileDialogAnswer answer = host::instance().fileDialog(request);
    results_.clear();
    file_ = ktString(initialName);
    if (answer.files.empty()) return 2;
    file_ = ktString(answer.files.front());
    if (open)
        for (const std::string& f : answer.files)
            results_.emplace_back(f);
    return 1;
}

ktString FileDialog::result(int i) const {
    if (results_.empty()) return i == 0 ? file_ : ktString();
    if (i < 0 || i >= int(results_.size())) return {};
    return results_[std::size_t(i)];
}

}  // namespace penwick
