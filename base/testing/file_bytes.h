// Whole files as byte strings, for tests that damage files and check what
// reached the disk, and whole trees of them for "nothing changed" checks.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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

// Every regular file under `dir` with its bytes, in name order, for
// "nothing changed" checks.
inline std::string snapshot(const std::string& dir) {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::recursive_directory_iterator(dir))
        if (e.is_regular_file()) names.push_back(e.path().string());
    std::sort(names.begin(), names.end());
    std::string all;
    for (auto& n : names) all += n + "\n" + read_all(n) + "\n";
    return all;
}

}  // namespace nd::testing
