#include "app/command_line.h"

#include <filesystem>
#include <ostream>

#include "framework/platform/version.h"

namespace penwick {

std::string commandLineOf(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (i > 1) line += ' ';
        bool quoted = argument.find(' ') != argument.npos;
        if (quoted) line += '"';
        line += argument;
        if (quoted) line += '"';
    }
    return line;
}

std::string fileOfCommandLine(std::string_view line) {
    auto skipBlanks = [](std::string_view s) {
        while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
            s.remove_prefix(1);
        return s;
    };
    line = skipBlanks(line);
    if (line.empty()) return {};
    std::string first;
    std::string_view rest;
    if (line.front() == '"') {
        std::size_t close = line.find('"', 1);
        first = std::string(line.substr(1, close == line.npos ? line.npos : close - 1));
        rest = close == line.npos ? std::string_view{} : line.substr(close + 1);
    } else {
        std::size_t end = 0;
        while (end < line.size() && static_cast<unsigned char>(line[end]) > ' ')
            ++end;
        first = std::string(line.substr(0, end));
        rest = line.substr(end);
    }
    std::error_code ignored;
    if (!first.empty() && std::filesystem::is_regular_file(first, ignored)) return first;
    std::string others(skipBlanks(rest));
    if (others.size() >= 2 && others.front() == '"' && others.back() == '"' &&
        others.find('"', 1) == others.size() - 1)
        others = others.substr(1, others.size() - 2);
    if (!others.empty() && std::filesystem::is_regular_file(others, ignored)) return others;
    return {};
}

std::optional<int> answerInformationOption(int argc, char** argv, std::ostream& out) {
    if (argc != 2) return std::nullopt;
    std::string_view option = argv[1];
    const VersionRecord& version = versionRecord();
    if (option == "--version") {
        out << "penwick " << version.productVersion.view() << '\n';
        return 0;
    }
    if (option == "--help") {
        out << "Usage: penwick [FILE]\n"
               "Draws with a pen tablet or a mouse; the pages are kept in the Sketchbook\n"
               "folder of the documents folder.\n"
               "\n"
               "  FILE       a sketch file (.wnk) to open; without one, the last page opens\n"
               "  --help     show this text and exit\n"
               "  --version  show the version and exit\n";
        return 0;
    }
    return std::nullopt;
}

}  // namespace penwick
