#pragma once
// Whole files as byte strings, for tests that set up and check what a program reads and writes.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace qinglan::test {

// The file's bytes; "" when it cannot be read.
inline std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Replaces the file with `text`, making its folders first.
inline void writeFile(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

} // namespace qinglan::test
