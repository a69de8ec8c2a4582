// The command line of penwick-export.
#pragma once

#include <string>
#include <vector>

namespace penwick {

struct ExportArguments {
    enum class Action { Export, Help, Invalid };
    Action action = Action::Invalid;
    int width = 1024;
    int height = 768;
    // --thumbnail: the whole drawing fitted into a square of width x height,
    // written as PNG whatever OUTPUT is called.
    bool thumbnail = false;
    std::string input;
    std::string output;
    // Why the arguments were refused, for a person; empty otherwise.
    std::string error;
};

// The largest width or height accepted, in pixels, which bounds the memory
// one picture may take.
constexpr int kMaxExportSide = 8192;

// Reads "[--size WIDTHxHEIGHT | --thumbnail SIZE] INPUT OUTPUT" or "--help"
// ("--size=WxH", "--thumbnail=SIZE" and "--" before names that start with
// "-" work too).
ExportArguments parseExportArguments(const std::vector<std::string>& args);

// Reads "WIDTHxHEIGHT" with both sides from 1 to kMaxExportSide.
bool parseSize(const std::string& text, int& width, int& height);

}  // namespace penwick
