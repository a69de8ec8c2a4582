#include "app/sketch_app.h"

#include <filesystem>

#include "app/program_resources.h"
#include "host/window_style.h"

namespace penwick {

SketchApp::~SketchApp() = default;

std::string commandLineOf(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += '"';
        line += argv[i];
        line += '"';
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
    if (std::filesystem::exists(first, ignored)) return first;
    std::string others(skipBlanks(rest));
    if (others.size() >= 2 && others.front() == '"' && others.back() == '"' &&
        others.find('"', 1) == others.size() - 1)
        others = others.substr(1, others.size() - 2);
    if (!others.empty() && std::filesystem::exists(others, ignored)) return others;
    return first;
}

bool SketchApp::init() {
    if (!ktApp::init()) return false;
    loadMenuAndAccelerators(kMainMenuResource);
    frame_ = std::make_shared<MainFrame>();
    if (!frame_->create(nullptr, "", host::WS_OVERLAPPEDWINDOW | host::WS_CLIPCHILDREN, 0,
                        host::kNoWindow, host::CW_USEDEFAULT, host::CW_USEDEFAULT,
                        host::CW_USEDEFAULT, host::CW_USEDEFAULT, 0))
        return false;
    host::Host& h = host::instance();
    h.setWindowIcon(frame_->handle(), loadIcon(kMainMenuResource), false);
    h.setWindowIcon(frame_->handle(), loadIcon(kMainMenuResource), true);
    h.setWindowMenu(frame_->handle(), menu());
    h.showWindow(frame_->handle(), showCommand());
    // The file is opened once the window shows, so that a failure is
    // reported over it.
    std::string file = fileOfCommandLine(commandLine().view());
    if (!file.empty()) frame_->openFile(file);
    registerWindow(frame_);
    return true;
}

int SketchApp::exit() {
    int result = ktApp::exit();
    frame_.reset();
    return result;
}

}  // namespace penwick
