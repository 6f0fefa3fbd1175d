// Whole-file helpers for the updater's tests, beside the shared scratch
// folder.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// Makes the first 20 bytes of `bytes` (at least that many) the header of a
// 64-bit little-endian x86-64 executable, which is what the updater installs.
inline void stamp_elf_header(std::vector<uint8_t>& bytes) {
    const uint8_t header[20] = {0x7F, 'E', 'L', 'F', 2, 1, 1, 0, 0,  0,
                                0,    0,   0,   0,   0, 0, 3, 0, 62, 0};
    std::copy(header, header + sizeof header, bytes.begin());
}

// A program for the updater's tests: that header, then `text`.
inline std::vector<uint8_t> elf_program(const std::string& text) {
    std::vector<uint8_t> bytes(20);
    stamp_elf_header(bytes);
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

}  // namespace nd::testing
