#include "update/single_instance.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cctype>
#include <string>

namespace nd {

int count_own_instances() {
    struct stat self;
    if (stat("/proc/self/exe", &self) != 0) return 1;
    DIR* proc = opendir("/proc");
    if (!proc) return 1;
    int count = 0;
    while (const dirent* entry = readdir(proc)) {
        if (!std::isdigit(static_cast<unsigned char>(entry->d_name[0]))) continue;
        struct stat other;
        const std::string exe = std::string("/proc/") + entry->d_name + "/exe";
        if (stat(exe.c_str(), &other) == 0 && other.st_dev == self.st_dev &&
            other.st_ino == self.st_ino)
            ++count;
    }
    closedir(proc);
    // Processes of other users cannot be inspected; this one always counts.
    return count < 1 ? 1 : count;
}

}  // namespace nd
