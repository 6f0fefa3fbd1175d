// The program's start, its exit on every path, and what it costs while idle.
#include <fstream>
#include <sstream>
#include <string>

#include "app/tests/e2e/nodrel_fixture.h"

namespace nd::e2e {
namespace {

// Processor time (ms) and voluntary context switches of the main thread,
// which sleeps once per frame.
struct Usage {
    double cpu_ms = 0;
    long wakeups = 0;
};

Usage usage_of(pid_t pid) {
    Usage u;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // Fields after the command name, which ends with the last ')'.
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::string field;
    long utime = 0, stime = 0;
    for (int i = 3; rest >> field; ++i) {
        if (i == 14) utime = std::stol(field);
        if (i == 15) {
            stime = std::stol(field);
            break;
        }
    }
    u.cpu_ms = (utime + stime) * 1000.0 / sysconf(_SC_CLK_TCK);
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    while (std::getline(status, line)) {
        if (line.rfind("voluntary_ctxt_switches:", 0) == 0) u.wakeups = std::stol(line.substr(24));
    }
    return u;
}

TEST_F(NodrelE2e, FreshStartShowsTheBoardAndEndsOnACloseRequest) {
    start();
    WindowInfo page = m_x.wait_window(15000);
    ASSERT_NE(page.id, 0u) << log();
    EXPECT_TRUE(fs::is_directory(m_dir / "prog" / "workspace"));
    EXPECT_TRUE(fs::is_directory(m_dir / "tmp" / "{0319-0407-0119-0418-dc85ec87209e}"));

    WindowInfo board = open_board();
    ASSERT_NE(board.id, 0u);
    EXPECT_EQ(board.x, 0);
    EXPECT_EQ(board.y, 0);
    EXPECT_TRUE(board.borderless);
    expect_background(board);

    m_x.request_close(board.id);
    EXPECT_EQ(wait_exit(), 0) << log();
}

TEST_F(NodrelE2e, TerminalAndSessionSignalsEndWithStatusZero) {
    struct Case {
        const char* name;
        std::vector<int> signals;
    };
    const Case cases[] = {
        {"SIGTERM", {SIGTERM}},
        // The second one arrives while the first one's shutdown runs.
        {"SIGTERM twice", {SIGTERM, SIGTERM}},
        {"SIGINT", {SIGINT}},
    };
    for (const Case& c : cases) {
        start();
        ASSERT_NE(open_board().id, 0u) << c.name;
        for (int sig : c.signals) kill(m_pid, sig);
        EXPECT_EQ(wait_exit(), 0) << c.name << "\n" << log();
        ASSERT_EQ(m_pid, -1) << c.name;
    }
}

// The start page's loop drains both queues each frame; a window that stops
// there must end the program, not leave the loop reading an empty queue.
TEST_F(NodrelE2e, TheStartPageEndsOnACloseRequestOrASignal) {
    struct Case {
        const char* name;
        bool by_signal;
    };
    for (const Case& c : {Case{"close request", false}, Case{"SIGTERM", true}}) {
        start();
        WindowInfo page = m_x.wait_window(15000);
        ASSERT_NE(page.id, 0u) << c.name << "\n" << log();
        if (c.by_signal) {
            kill(m_pid, SIGTERM);
        } else {
            m_x.request_close(page.id);
        }
        EXPECT_EQ(wait_exit(), 0) << c.name << "\n" << log();
        ASSERT_EQ(m_pid, -1) << c.name;
    }
}

TEST_F(NodrelE2e, AnUnknownArgumentIsIgnored) {
    start({"-x"});
    WindowInfo board = open_board();
    ASSERT_NE(board.id, 0u);
    EXPECT_TRUE(board.borderless);
    expect_background(board);
    m_x.request_close(board.id);
    EXPECT_EQ(wait_exit(), 0) << log();
}

// A measurement, printed and not judged: the idle program in front, then
// minimised. ND_IDLE_SECONDS sets each period (2 s by default).
TEST_F(NodrelE2e, IdleCost) {
    const char* env = std::getenv("ND_IDLE_SECONDS");
    const int seconds = env ? std::atoi(env) : 2;
    start();
    WindowInfo board = open_board();
    ASSERT_NE(board.id, 0u);
    nap(3000);  // past the 2.5 s after which an idle window drops to 30 fps
    auto measure = [&](const char* what) {
        Usage a = usage_of(m_pid);
        nap(seconds * 1000);
        Usage b = usage_of(m_pid);
        std::printf("idle, %-10s cpu %5.2f%% of one core, main thread %5.1f wake-ups/s\n", what,
                    (b.cpu_ms - a.cpu_ms) / (seconds * 10.0),
                    static_cast<double>(b.wakeups - a.wakeups) / seconds);
    };
    measure("in front:");
    m_x.unmap(board.id);
    nap(500);
    measure("minimised:");
    kill(m_pid, SIGTERM);
    EXPECT_EQ(wait_exit(), 0) << log();
}

}  // namespace
}  // namespace nd::e2e
