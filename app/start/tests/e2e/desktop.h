// Driving the real program on the test's private X display: starting it in a
// program directory, finding its windows by caption, clicking and taking
// screenshots with xdotool and ImageMagick. Every wait is bounded.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace nd::e2e {

// Runs a program to its end and gives its standard output; -1 when it could
// not run or ended with a failure status.
int run_capture(const std::vector<std::string>& argv, std::string* out, int timeout_ms = 10000);

struct Program {
    pid_t pid = -1;
};

// Starts `argv` in `dir` with `env` (NAME=value) added to the environment,
// its output going to `log_path`.
int start_program(Program* program, const std::string& dir, const std::vector<std::string>& argv,
                  const std::vector<std::string>& env, const std::string& log_path);
// True while it runs; reaps it once it has ended.
bool program_running(Program* program);
// Waits for it to end by itself, else ends it; its exit status, or -1.
int stop_program(Program* program, int grace_ms);

// The id of a visible window whose caption matches `regex` exactly, waiting
// up to `timeout_ms`; "" when none appears.
std::string wait_for_window(const std::string& regex, int timeout_ms);
// The same for a window of the given size: while a workspace loads, the
// start page already carries its name, and only the main window has the
// screen's size.
std::string wait_for_window_of_size(const std::string& regex, int width, int height,
                                    int timeout_ms);
// Whether such a window exists now.
bool window_exists(const std::string& regex);
// Moves the pointer to (x, y) inside the window and clicks the left button.
void click(const std::string& window, int x, int y);
// Moves the pointer to (x, y) inside the window. The page draws the hover
// in a later frame; tests wait for it by looking.
void hover(const std::string& window, int x, int y);
// Saves the window's picture as PNG.
int screenshot(const std::string& window, const std::string& png_path);

void sleep_ms(int ms);

// Sleeps in small steps until `done` returns true or `timeout_ms` passes.
template <typename F>
bool wait_until(F done, int timeout_ms) {
    for (int waited = 0; waited <= timeout_ms; waited += 50) {
        if (done()) return true;
        sleep_ms(50);
    }
    return done();
}

}  // namespace nd::e2e
