#include "framework/platform/shell.h"

#include "framework/text/string.h"
#include "framework/text/tokenizer.h"
#include "host/host.h"
#include "host/window_style.h"

namespace penwick {

bool shellRun(std::string_view commandLine, std::string_view folder) {
    ktTokenizer tokens(commandLine);
    tokens.skipSpace();
    ktString file;
    if (!tokens.readQuoted(file) || file.isEmpty()) return false;
    tokens.skipSpace();
    std::string_view parameters = tokens.rest();
    int show = file.equalsNoCase("start") ? host::SW_HIDE : host::SW_SHOWNORMAL;
    return host::instance().shellExecute(file.view(), parameters, folder, show);
}

}  // namespace penwick
