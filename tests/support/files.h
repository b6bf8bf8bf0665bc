// Whole files read and written as bytes, and texts counted in what a test read or caught, for
// the tests of every folder (header only: tests that do not link the scenario kit use it too).
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace testkit {

// The file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// How often `part` occurs in `text`, overlapping occurrences included.
inline size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

}  // namespace testkit
