// Whole files as byte strings, for tests that damage files and check what
// reached the disk.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

namespace nd::testing {

// The bytes of `path`; empty when it cannot be read.
inline std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Makes `path` hold exactly `bytes`, written in place (as damage is).
inline void write_raw(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace nd::testing
