// Coming back after an update: the update note promises that the program
// restarts, so once the updater has replaced the program file the new
// program takes this process's place.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>
#include <vector>

namespace nd {

// What tells one program file from another: a release is rebuilt under a
// new name and renamed over the old one, so even a release of the same size
// and time has a new inode.
struct FileIdentity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
};

FileIdentity identify_file(const std::string& path);

// True when `after` is a program file that `before` was not: it exists, and
// it is a different file or the same one changed.
bool program_replaced(const FileIdentity& before, const FileIdentity& after);

// Puts `program` in this process's place with `args` after its own name.
// Only standard input, output and error carry over; every other descriptor
// is closed on the way. Returns only when the program cannot be started:
// -1, with `reason` set.
[[nodiscard]] int restart_program(const std::string& program, const std::vector<std::string>& args,
                                  std::string* reason);

}  // namespace nd
