// Runs a real program of the build from a test and captures what it says.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

struct RunResult {
    int status = -1;  // the exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Quotes one argument for the shell.
inline std::string shellQuoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs `program` with `args`; standard output and error go to files in
// `scratch` (a folder that exists) and are read back.
inline RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& scratch) {
    std::string command = shellQuoted(program);
    for (const std::string& a : args)
        command += " " + shellQuoted(a);
    const std::string out = scratch + "/stdout.txt";
    const std::string err = scratch + "/stderr.txt";
    command += " >" + shellQuoted(out) + " 2>" + shellQuoted(err) + " </dev/null";
    const int raw = std::system(command.c_str());
    RunResult r;
    if (raw != -1 && WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
    r.out = readFileText(out);
    r.err = readFileText(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

inline int lineCount(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}
