// Whole files as byte strings, for tests that prepare inputs and read back
// what a program wrote. A missing file reads as empty.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeText(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
