// The about box: its text from the version record, and the modal run.
#include "framework/application/app.h"
#include "framework/controls/message_box.h"
#include "framework/platform/version.h"
#include "framework/text/format.h"

namespace penwick {

ktString formatVersion(std::string_view fileVersion) {
    std::size_t cut = fileVersion.find_first_of(", ");
    std::string_view head = fileVersion.substr(0, cut);
    std::string rest;
    if (cut != std::string_view::npos)
        for (char c : fileVersion.substr(cut))
            if (c != ',' && c != ' ') rest.push_back(c);
    while (rest.size() > 1 && rest.back() == '0')
        rest.pop_back();
    ktString version(head);
    version.append(".").append(rest);
    return version;
}

ktString aboutText(const ktString& homePage) {
    const VersionRecord& v = versionRecord();
    ktString text = format("%s %s %s", v.fileDescription.c_str(),
                           formatVersion(v.fileVersion.view()).c_str(), v.specialBuild.c_str());
    if (!v.trademarks.isEmpty()) text.append("\r\n").append(v.trademarks);
    if (!homePage.isEmpty()) text.append(format("\r\n\r\nVisit: %s", homePage.c_str()));
    return text;
}

ktString aboutButtons(const ktString& homePage) {
    if (homePage.isEmpty()) return "*1 &OK";
    return format(":%s\t &Web...\n*1 &OK", homePage.c_str());
}

int showAboutModal(host::Window owner) {
    const ktString& homePage = versionRecord().homePage;
    ktMessageBox box(aboutText(homePage).view(), aboutButtons(homePage).view());
    if (!box.create(versionRecord().fileDescription.view(), owner)) return 0;
    return box.runModal(owner);
}

}  // namespace penwick
