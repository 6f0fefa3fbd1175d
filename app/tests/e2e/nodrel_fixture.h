// The real nodrel on a private X server (run under tools/testing/with-xvfb.sh,
// which gives a 1600x900 screen and no window manager): a fresh program
// directory per test, a workspace made with nodrel-tool, the start page
// answered with it, and the program's exit status and log.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/start/layout.h"
#include "app/tests/e2e/x11_window.h"
#include "base/testing/temp_dir.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/tables.h"

extern char** environ;

namespace nd::e2e {

namespace fs = std::filesystem;

inline constexpr uint32_t kBackground = 0x5A5C50;
inline constexpr int kScreenWidth = 1600;
inline constexpr int kScreenHeight = 900;

inline struct stat stat_of(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st;
}

// True when nobody holds the workspace's in-use lock.
inline bool lockable(const std::string& wk) {
    const int fd = open(wk.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool free = fcntl(fd, F_OFD_SETLK, &lock) == 0;
    close(fd);
    return free;
}

inline void nap(int ms) {
    usleep(static_cast<useconds_t>(ms) * 1000);
}

// Runs a helper program to its end; its exit status, or -1.
inline int run(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class NodrelE2e : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_x.ok()) << "no X server: run under tools/testing/with-xvfb.sh";
        m_x.make_window_manager_atoms();
        ASSERT_FALSE(m_temp.path().empty());
        m_dir = m_temp.path();
        fs::create_directories(m_dir / "prog");
        fs::create_directories(m_dir / "tmp");
        fs::create_directories(m_dir / "elsewhere");
        // The workspace lives outside the program directory, so workspace/
        // there is made by the program alone.
        m_workspace = (m_dir / "elsewhere" / "E2E.wk").string();
        ASSERT_EQ(run({ND_TOOL_PATH, "new", m_workspace}), 0);
        // The file chooser's stand-in answers with that workspace.
        m_chooser = (m_dir / "chooser.sh").string();
        std::ofstream(m_chooser) << "#!/bin/sh\necho '" << m_workspace << "'\n";
        fs::permissions(m_chooser, fs::perms::owner_all);
    }

    void TearDown() override {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    void start(const std::vector<std::string>& extra_args = {}) {
        const std::string log = (m_dir / "nodrel.log").string();
        const std::string prog = (m_dir / "prog").string();
        const std::string tmp = (m_dir / "tmp").string();
        m_pid = fork();
        ASSERT_GE(m_pid, 0);
        if (m_pid == 0) {
            if (chdir(prog.c_str()) != 0) _exit(127);
            setenv("TMPDIR", tmp.c_str(), 1);
            setenv("ND_FILE_CHOOSER", m_chooser.c_str(), 1);
            for (const auto& [name, value] : m_environment) {
                if (value) {
                    setenv(name.c_str(), value, 1);
                } else {
                    unsetenv(name.c_str());
                }
            }
            if (!freopen(log.c_str(), "w", stdout) || !freopen(log.c_str(), "a", stderr)) {
                _exit(127);
            }
            std::vector<char*> args{const_cast<char*>(m_program.c_str())};
            for (const std::string& a : extra_args) args.push_back(const_cast<char*>(a.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
    }

    // From the start page to the main window: "open" answers with the
    // prepared workspace.
    WindowInfo open_board(int width = kScreenWidth, int height = kScreenHeight) {
        WindowInfo page = m_screen->wait_window(15000);
        EXPECT_NE(page.id, 0u) << "no start page; log:\n" << log();
        if (!page.id) return page;
        const start::Rect open = start::layout::kOpen;
        const std::string id = std::to_string(page.id);
        // A page that was not yet taking input when the click came gets
        // another; once the workspace loads the page ignores clicks.
        WindowInfo board;
        for (int waited = 0; board.id == 0 && waited < 15000; waited += 2000) {
            run({"xdotool", "mousemove", "--window", id, std::to_string(open.x + open.w / 2),
                 std::to_string(open.y + open.h / 2), "click", "1"});
            board = m_screen->wait_window(2000, width, height);
        }
        EXPECT_NE(board.id, 0u) << "no main window; log:\n" << log();
        return board;
    }

    // Waits up to 5 s for the program to end; its exit status, or -1 after
    // killing it.
    int wait_exit() {
        int status = 0;
        for (int waited = 0; waited < 5000; waited += 20) {
            pid_t r = waitpid(m_pid, &status, WNOHANG);
            if (r == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            nap(20);
        }
        return -1;
    }

    // The board shows: most of the window is the page colour, under the
    // grid, the frame, the top bar and the left bar.
    void expect_background(const WindowInfo& board) {
        const long total = static_cast<long>(board.width) * board.height;
        const long enough = total * 6 / 10;
        long match = 0;
        for (int tries = 0; tries < 20 && match < enough; ++tries) {
            match = m_x.count_pixels(board.id, kBackground);
            if (match < enough) nap(100);
        }
        EXPECT_GE(match, enough) << "pixels that are the background colour";
    }

    // The application icon on the window, for task bars and switchers: the
    // product mark at 128 pixels, a blue rounded square with transparent
    // corners.
    void expect_program_icon(const WindowInfo& window) {
        int width = 0, height = 0;
        std::vector<uint32_t> pixels;
        ASSERT_TRUE(m_x.icon(window.id, &width, &height, &pixels));
        ASSERT_EQ(width, 128);
        ASSERT_EQ(height, 128);
        EXPECT_EQ(pixels[0] >> 24, 0u);
        EXPECT_EQ(pixels[64 * 128 + 10], 0xFF2F8FDDu);
    }

    // Moves the pointer to (x, y) in the window, then runs `then` (more
    // xdotool commands: clicks, sleeps).
    void xdotool(const WindowInfo& w, int x, int y, const std::vector<std::string>& then) {
        std::vector<std::string> args{"xdotool",         "mousemove",
                                      "--window",        std::to_string(w.id),
                                      std::to_string(x), std::to_string(y)};
        args.insert(args.end(), then.begin(), then.end());
        ASSERT_EQ(run(args), 0);
    }

    // Waits up to `ms` for `done`. The default is long because a loaded
    // machine (the suite runs display tests side by side) can take seconds
    // to show a board; a condition that holds ends the wait at once.
    template <typename Condition>
    bool wait_for(Condition done, int ms = 15000) {
        for (int waited = 0; waited < ms; waited += 50) {
            if (done()) return true;
            nap(50);
        }
        return done();
    }

    std::string log() {
        std::ifstream in(m_dir / "nodrel.log");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    XServer m_x;
    testing::TempDir m_temp{"nd_app_e2e"};
    fs::path m_dir;
    std::string m_workspace;
    std::string m_chooser;
    // The program started, the changes to its environment (a null value
    // takes a variable out), and the X server its windows are looked for on.
    std::string m_program = ND_NODREL_PATH;
    std::vector<std::pair<std::string, const char*>> m_environment;
    XServer* m_screen = &m_x;
    pid_t m_pid = -1;
};

}  // namespace nd::e2e
