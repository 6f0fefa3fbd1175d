#include "app/restart.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace nd {

namespace {

// Marks every descriptor above standard error close-on-exec. Kernels older
// than close_range's flag get the same by walking /proc/self/fd.
void close_on_exec_above_stderr() {
    if (close_range(3, ~0u, CLOSE_RANGE_CLOEXEC) == 0) return;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir) return;
    while (dirent* entry = readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        if (fd > 2 && fd != dirfd(dir)) fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    closedir(dir);
}

}  // namespace

FileIdentity identify_file(const std::string& path) {
    FileIdentity id;
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return id;
    id.exists = true;
    id.device = st.st_dev;
    id.inode = st.st_ino;
    id.size = st.st_size;
    id.modified = st.st_mtim;
    return id;
}

bool program_replaced(const FileIdentity& before, const FileIdentity& after) {
    if (!after.exists) return false;
    if (!before.exists) return true;
    return before.device != after.device || before.inode != after.inode ||
           before.size != after.size || before.modified.tv_sec != after.modified.tv_sec ||
           before.modified.tv_nsec != after.modified.tv_nsec;
}

int restart_program(const std::string& program, const std::vector<std::string>& args,
                    std::string* reason) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    std::fflush(nullptr);
    close_on_exec_above_stderr();
    // The signal mask survives exec; the new program starts with none blocked.
    sigset_t none;
    sigemptyset(&none);
    pthread_sigmask(SIG_SETMASK, &none, nullptr);
    execv(program.c_str(), argv.data());
    *reason = program + ": " + std::strerror(errno);
    return -1;
}

}  // namespace nd
