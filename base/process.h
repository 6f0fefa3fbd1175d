// Starting other programs and collecting them: never through a shell, so an
// argument reaches the program as the one string it is. Used for the
// updater, the file chooser and the browser.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace nd {

struct SpawnOptions {
    // Look the program up in PATH when its name has no '/'.
    bool search_path = false;
    // The program's standard input reads /dev/null instead of ours.
    bool null_input = false;
    // Its standard output goes to a pipe whose reading end is returned
    // (close-on-exec, non-blocking) instead of to ours.
    bool capture_output = false;
    // Its standard error goes to /dev/null (desktop tools warn about things
    // that are no concern of the user's).
    bool quiet_errors = false;
};

struct Spawned {
    pid_t pid = -1;
    int output = -1;  // the pipe of capture_output, else -1
};

// Starts `program` with `args` (without the program name). 0, or -1 when it
// could not be started (nothing is left open then).
[[nodiscard]] int spawn_process(const std::string& program, const std::vector<std::string>& args,
                                const SpawnOptions& options, Spawned* out);

// Waits for the process to end, however long it takes. Its exit status, or
// -1 when it was killed by a signal or cannot be waited for.
int wait_process(pid_t pid);

// Lets a process run for as long as it likes: a detached thread waits for
// it, so it leaves no zombie behind.
void reap_in_background(pid_t pid);

}  // namespace nd
