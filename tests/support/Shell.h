#pragma once
// Running the ffmpeg tools from tests and benchmarks: a shell command's standard output, and a
// path quoted for that shell. Header-only, so a benchmark can use it without the test media.
#include <cstdio>
#include <string>

namespace qinglan::test {

// The command's standard output; empty when it could not be started.
inline std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (size_t n = std::fread(buffer, 1, sizeof buffer, p))
            out.append(buffer, n);
        ::pclose(p);
    }
    return out;
}

// One shell word, whatever the path holds (a quote inside is closed, escaped and reopened).
inline std::string shellQuoted(const std::string& path) {
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace qinglan::test
