// Replacing the program file with a downloaded release.
#pragma once

#include <cstdint>
#include <string>

#include "update/protocol.h"
#include "zip/lz77.h"

namespace nd {

struct InstallPaths {
    std::string program_dir;
    std::string program;  // program_dir/program name
    std::string backup;   // program_dir/backup name
};

// Status codes of install_release.
constexpr int kInstallOk = 0;
constexpr int kInstallRebuild = -2;     // the release did not rebuild into a file
constexpr int kInstallSwap = -3;        // the new program could not be put in place
constexpr int kInstallNotProgram = -4;  // the rebuilt file is no program for this machine

// The largest program a release may rebuild. A damaged or hostile release of
// a few megabytes could otherwise unpack to terabytes and fill the disk.
constexpr uint64_t kMaxProgramBytes = 1ull << 30;

// The release file name: "<program_dir>/<major>.<minor>.<patch>.BIN".
std::string release_file_path(const std::string& program_dir, const Version& v);

// True when the file starts with the header of an executable for this
// machine: ELF, 64-bit, little-endian, x86-64, an executable or a
// position-independent one. A release of any other content is no program.
bool runnable_here(const std::string& path);

// Rebuilds the program from the downloaded release file at `release_path`
// under a temporary name beside the program, checks that it is a program
// for this machine, gives it the old program's permission bits, flushes it
// to the disk and renames it over the program in one step. On any failure
// the old program is where it was. The release file is removed in every
// case, an old backup file once the new program is ready. Returns a status
// code above.
[[nodiscard]] int install_release(CCompress& codec, const InstallPaths& paths,
                                  const std::string& release_path);

}  // namespace nd
