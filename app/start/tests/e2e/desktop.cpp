#include "app/start/tests/e2e/desktop.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace nd::e2e {

namespace {

std::vector<char*> c_args(const std::vector<std::string>& args) {
    std::vector<char*> out;
    for (const std::string& a : args) out.push_back(const_cast<char*>(a.c_str()));
    out.push_back(nullptr);
    return out;
}

int wait_with_timeout(pid_t pid, int timeout_ms) {
    int status = 0;
    for (int waited = 0;; waited += 10) {
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (r < 0 && errno != EINTR) return -1;
        if (waited >= timeout_ms) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        sleep_ms(10);
    }
}

}  // namespace

void sleep_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int run_capture(const std::vector<std::string>& argv, std::string* out, int timeout_ms) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    std::vector<char*> args = c_args(argv);
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return -1;
    }
    // The programs run here print a few lines, far less than a pipe holds,
    // so reading after the end cannot dead-lock.
    int status = wait_with_timeout(pid, timeout_ms);
    if (out) out->clear();
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) {
        if (out) out->append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    return status == 0 ? 0 : -1;
}

int start_program(Program* program, const std::string& dir, const std::vector<std::string>& argv,
                  const std::vector<std::string>& env, const std::string& log_path) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log_path.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) environment.push_back(*e);
    for (const std::string& e : env) environment.push_back(e);
    std::vector<char*> args = c_args(argv);
    std::vector<char*> envp = c_args(environment);
    int rc = posix_spawn(&program->pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) program->pid = -1;
    return rc == 0 ? 0 : -1;
}

bool program_running(Program* program) {
    if (program->pid <= 0) return false;
    int status = 0;
    if (waitpid(program->pid, &status, WNOHANG) == 0) return true;
    program->pid = -1;
    return false;
}

int stop_program(Program* program, int grace_ms) {
    if (program->pid <= 0) return -1;
    int status = wait_with_timeout(program->pid, grace_ms);
    program->pid = -1;
    return status;
}

std::string wait_for_window(const std::string& regex, int timeout_ms) {
    std::string out;
    wait_until(
        [&] {
            return run_capture({"xdotool", "search", "--onlyvisible", "--name", regex}, &out) ==
                       0 &&
                   !out.empty();
        },
        timeout_ms);
    return out.substr(0, out.find('\n'));
}

std::string wait_for_window_of_size(const std::string& regex, int width, int height,
                                    int timeout_ms) {
    const std::string size =
        "WIDTH=" + std::to_string(width) + "\nHEIGHT=" + std::to_string(height) + "\n";
    std::string found;
    wait_until(
        [&] {
            std::string ids;
            if (run_capture({"xdotool", "search", "--onlyvisible", "--name", regex}, &ids) != 0) {
                return false;
            }
            size_t start = 0;
            for (size_t end; (end = ids.find('\n', start)) != std::string::npos; start = end + 1) {
                const std::string id = ids.substr(start, end - start);
                std::string shape;
                if (run_capture({"xdotool", "getwindowgeometry", "--shell", id}, &shape) == 0 &&
                    shape.find(size) != std::string::npos) {
                    found = id;
                    return true;
                }
            }
            return false;
        },
        timeout_ms);
    return found;
}

bool window_exists(const std::string& regex) {
    std::string out;
    return run_capture({"xdotool", "search", "--onlyvisible", "--name", regex}, &out) == 0 &&
           !out.empty();
}

void hover(const std::string& window, int x, int y) {
    run_capture({"xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y)},
                nullptr);
}

// The move reaches the window before the button does, and the page takes
// its pointer messages in order, so nothing needs to wait in between.
void click(const std::string& window, int x, int y) {
    hover(window, x, y);
    run_capture({"xdotool", "click", "1"}, nullptr);
}

int screenshot(const std::string& window, const std::string& png_path) {
    return run_capture({"import", "-window", window, png_path}, nullptr);
}

}  // namespace nd::e2e
