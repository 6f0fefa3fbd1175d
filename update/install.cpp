#include "update/install.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "zip/block_file.h"

namespace nd {
namespace {

// The ELF header's fields that say for which machine a program is.
constexpr uint8_t kElfClass64 = 2;
constexpr uint8_t kElfLittleEndian = 1;
constexpr uint16_t kElfExecutable = 2;
constexpr uint16_t kElfShared = 3;
constexpr uint16_t kElfX86_64 = 62;

// Flushes a file or directory to the disk. False when that fails.
bool sync_path(const std::string& path, int flags) {
    const int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = fsync(fd) == 0;
    close(fd);
    return ok;
}

}  // namespace

std::string release_file_path(const std::string& program_dir, const Version& v) {
    char name[48];
    std::snprintf(name, sizeof name, "/%u.%u.%u.BIN", v.major, v.minor, v.patch);
    return program_dir + name;
}

bool runnable_here(const std::string& path) {
    uint8_t header[20];
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    const bool whole = std::fread(header, 1, sizeof header, f) == sizeof header;
    std::fclose(f);
    if (!whole || std::memcmp(header,
                              "\x7F"
                              "ELF",
                              4) != 0)
        return false;
    const uint16_t type = static_cast<uint16_t>(header[16] | header[17] << 8);
    const uint16_t machine = static_cast<uint16_t>(header[18] | header[19] << 8);
    return header[4] == kElfClass64 && header[5] == kElfLittleEndian &&
           (type == kElfExecutable || type == kElfShared) && machine == kElfX86_64;
}

int install_release(CCompress& codec, const InstallPaths& paths, const std::string& release_path) {
    const std::string fresh = paths.program + ".new";
    const int rebuilt =
        read_block_file(codec, release_path.c_str(), fresh.c_str(), kMaxProgramBytes);
    std::remove(release_path.c_str());
    if (rebuilt != kBlockOk) {
        std::fprintf(stderr, "update: %s: %s\n", release_path.c_str(), block_status_text(rebuilt));
        std::remove(fresh.c_str());
        return kInstallRebuild;
    }
    if (!runnable_here(fresh)) {
        std::fprintf(stderr, "update: %s holds no program for this machine\n",
                     release_path.c_str());
        std::remove(fresh.c_str());
        return kInstallNotProgram;
    }
    // The new program keeps the old one's permission bits, above all its
    // executable bit; a first install gets the usual program mode.
    struct stat st;
    const bool had_program = stat(paths.program.c_str(), &st) == 0;
    chmod(fresh.c_str(), had_program ? (st.st_mode & 07777) : 0755);

    // The new program reaches the disk before its name is changed, and one
    // rename then moves the program's name from the old file to the new one.
    // The name never stands for a missing or partly written program, even
    // when the machine stops halfway, so no backup copy is needed to undo a
    // failed swap; a backup left behind by an older updater is removed.
    std::remove(paths.backup.c_str());
    if (!sync_path(fresh, O_RDONLY) || std::rename(fresh.c_str(), paths.program.c_str()) != 0) {
        std::remove(fresh.c_str());
        return kInstallSwap;
    }
    sync_path(paths.program_dir, O_RDONLY | O_DIRECTORY);
    return kInstallOk;
}

}  // namespace nd
