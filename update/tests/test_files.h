// Whole-file helpers for the updater's tests, beside the shared scratch
// folder.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/testing/temp_dir.h"

namespace nd::testing {

inline void write_file(const std::string& path, const std::vector<uint8_t>& data) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
}

inline std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline bool exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

inline unsigned mode_of(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

inline std::vector<uint8_t> text_bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

}  // namespace nd::testing
