// Process helpers for the end-to-end tests: start programs without a shell,
// wait for them with a bound, and run a release server on free loopback
// ports.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace nd::testing {

// Starts argv[0] with the given arguments in `cwd`. With `stdout_fd` given,
// the child's standard output comes back through a pipe. -1 on failure.
pid_t spawn(const std::vector<std::string>& argv, const std::string& cwd, int* stdout_fd = nullptr);

// Waits up to timeout_ms for the process to exit and returns its exit
// status; on timeout kills it and returns -1.
int wait_exit(pid_t pid, int timeout_ms);

// `nodrel-tool serve-updates` on 127.0.0.1 with ports picked by the system,
// started through `launcher` (a program and its arguments, such as prlimit)
// when one is given.
class ServeUpdates {
public:
    ServeUpdates(const std::string& tool, const std::string& directory,
                 const std::vector<std::string>& extra = {},
                 const std::vector<std::string>& launcher = {});
    ~ServeUpdates();
    bool ok() const { return control_port_ > 0 && download_port_ > 0; }
    pid_t pid() const { return pid_; }
    int control_port() const { return control_port_; }
    int download_port() const { return download_port_; }

private:
    pid_t pid_ = -1;
    int control_port_ = 0;
    int download_port_ = 0;
};

}  // namespace nd::testing
