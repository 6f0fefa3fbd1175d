#include "base/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace nd {

int spawn_process(const std::string& program, const std::vector<std::string>& args,
                  const SpawnOptions& options, Spawned* out) {
    int pipe_fds[2] = {-1, -1};
    if (options.capture_output && pipe2(pipe_fds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.null_input) posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (options.capture_output) posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
    if (options.quiet_errors) {
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int rc =
        options.search_path
            ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ)
            : posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (options.capture_output) close(pipe_fds[1]);
    if (rc != 0) {
        if (options.capture_output) close(pipe_fds[0]);
        return -1;
    }
    if (options.capture_output) {
        fcntl(pipe_fds[0], F_SETFL, fcntl(pipe_fds[0], F_GETFL) | O_NONBLOCK);
    }
    out->pid = pid;
    out->output = options.capture_output ? pipe_fds[0] : -1;
    return 0;
}

int wait_process(pid_t pid) {
    if (pid <= 0) return -1;
    int status = 0;
    pid_t r;
    while ((r = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    if (r != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

void reap_in_background(pid_t pid) {
    if (pid <= 0) return;
    std::thread([pid] { wait_process(pid); }).detach();
}

}  // namespace nd
