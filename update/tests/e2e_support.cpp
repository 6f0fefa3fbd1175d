#include "update/tests/e2e_support.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

extern char** environ;

namespace nd::testing {

pid_t spawn(const std::vector<std::string>& argv, const std::string& cwd, int* stdout_fd) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    int pipe_fds[2] = {-1, -1};
    if (stdout_fd) {
        if (pipe(pipe_fds) != 0) return -1;
        posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
        posix_spawn_file_actions_addclose(&actions, pipe_fds[1]);
    }
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (stdout_fd) {
        close(pipe_fds[1]);
        *stdout_fd = pipe_fds[0];
    }
    return pid;
}

int wait_exit(pid_t pid, int timeout_ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (done < 0) return -1;
        if (std::chrono::steady_clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

ServeUpdates::ServeUpdates(const std::string& tool, const std::string& directory,
                           const std::vector<std::string>& extra,
                           const std::vector<std::string>& launcher) {
    std::vector<std::string> argv = launcher;
    const std::vector<std::string> serve = {tool,     "serve-updates",   directory,
                                            "--bind", "127.0.0.1",       "--control-port",
                                            "0",      "--download-port", "0"};
    argv.insert(argv.end(), serve.begin(), serve.end());
    argv.insert(argv.end(), extra.begin(), extra.end());
    int out = -1;
    pid_ = spawn(argv, "/", &out);
    if (pid_ < 0) return;
    // The server prints one line once it listens; give it five seconds.
    std::string line;
    pollfd p{out, POLLIN, 0};
    while (line.find('\n') == std::string::npos && poll(&p, 1, 5000) == 1) {
        char buf[256];
        const ssize_t n = read(out, buf, sizeof buf);
        if (n <= 0) break;
        line.append(buf, static_cast<size_t>(n));
    }
    close(out);
    const size_t at = line.find(" control ");
    if (at != std::string::npos)
        std::sscanf(line.c_str() + at, " control %d download %d", &control_port_, &download_port_);
}

ServeUpdates::~ServeUpdates() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (wait_exit(pid_, 5000) < 0) std::fprintf(stderr, "serve-updates had to be killed\n");
}

}  // namespace nd::testing
