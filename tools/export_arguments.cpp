#include "tools/export_arguments.h"

#include <utility>

namespace penwick {

namespace {

// Decimal digits only, no sign, no leading "+", at most kMaxExportSide.
bool parseSide(const std::string& text, int& value) {
    if (text.empty() || text.size() > 5) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > kMaxExportSide) return false;
    value = v;
    return true;
}

ExportArguments invalid(std::string why) {
    ExportArguments a;
    a.action = ExportArguments::Action::Invalid;
    a.error = std::move(why);
    return a;
}

}  // namespace

bool parseSize(const std::string& text, int& width, int& height) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    int w = 0;
    int h = 0;
    if (!parseSide(text.substr(0, x), w) || !parseSide(text.substr(x + 1), h)) return false;
    width = w;
    height = h;
    return true;
}

ExportArguments parseExportArguments(const std::vector<std::string>& args) {
    ExportArguments result;
    bool sized = false;
    std::vector<std::string> names;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            names.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            result.action = ExportArguments::Action::Help;
            return result;
        } else if (a == "--size" || a.rfind("--size=", 0) == 0) {
            std::string value;
            if (a == "--size") {
                if (i + 1 >= args.size()) return invalid("--size needs a value such as 1024x768");
                value = args[++i];
            } else {
                value = a.substr(7);
            }
            if (!parseSize(value, result.width, result.height))
                return invalid("bad size \"" + value + "\": give WIDTHxHEIGHT, each from 1 to " +
                               std::to_string(kMaxExportSide));
            sized = true;
        } else if (a == "--thumbnail" || a.rfind("--thumbnail=", 0) == 0) {
            std::string value;
            if (a == "--thumbnail") {
                if (i + 1 >= args.size()) return invalid("--thumbnail needs a size such as 256");
                value = args[++i];
            } else {
                value = a.substr(12);
            }
            int side = 0;
            if (!parseSide(value, side))
                return invalid("bad thumbnail size \"" + value + "\": give a number from 1 to " +
                               std::to_string(kMaxExportSide));
            result.width = side;
            result.height = side;
            result.thumbnail = true;
        } else {
            return invalid("unknown option " + a);
        }
    }
    if (sized && result.thumbnail) return invalid("--size and --thumbnail cannot go together");
    if (names.size() != 2)
        return invalid(names.size() < 2 ? "an input and an output file are needed"
                                        : "too many file names");
    if (names[0].empty() || names[1].empty()) return invalid("a file name is empty");
    result.input = names[0];
    result.output = names[1];
    result.action = ExportArguments::Action::Export;
    return result;
}

}  // namespace penwick
