// The real nodrel on a private X server (run under tools/testing/with-xvfb.sh,
// which gives a 1600x900 screen and no window manager). Each test starts the
// program in a fresh program directory, opens a workspace from the start
// page, and checks the main window, the files on disk and the exit status.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/start/layout.h"
#include "app/tests/asset_host.h"
#include "app/tests/e2e/nodrel_fixture.h"
#include "app/tests/e2e/x11_window.h"
#include "base/file_io.h"
#include "base/testing/temp_dir.h"
#include "board/testing/scene.h"
#include "gfx/gfx.h"
#include "skins/pictures.h"
#include "store/paths.h"
#include "store/tables.h"
#include "update/net.h"
#include "update/protocol.h"
#include "update/tests/e2e_support.h"
#include "update/tests/fake_server.h"
#include "update/tests/test_files.h"

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
    expect_program_icon(page);
    EXPECT_TRUE(fs::is_directory(m_dir / "prog" / "workspace"));
    EXPECT_TRUE(fs::is_directory(m_dir / "tmp" / "{0319-0407-0119-0418-dc85ec87209e}"));

    WindowInfo board = open_board();
    ASSERT_NE(board.id, 0u);
    EXPECT_EQ(board.x, 0);
    EXPECT_EQ(board.y, 0);
    EXPECT_TRUE(board.borderless);
    expect_background(board);

    expect_program_icon(board);

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

// The idle program in front, then minimised: printed, and held to bounds
// far above what it costs (0.5 % of a core and 30 wake-ups a second in
// front, 6 minimised), so only a real regression fails, such as a loop that
// stopped sleeping. ND_IDLE_SECONDS sets each period (2 s by default).
TEST_F(NodrelE2e, IdleCost) {
    const char* env = std::getenv("ND_IDLE_SECONDS");
    const int seconds = env ? std::atoi(env) : 2;
    start();
    WindowInfo board = open_board();
    ASSERT_NE(board.id, 0u);
    nap(3000);  // past the 2.5 s after which an idle window drops to 30 fps
    auto measure = [&](const char* what, double max_cpu_percent, double max_wakeups) {
        Usage a = usage_of(m_pid);
        nap(seconds * 1000);
        Usage b = usage_of(m_pid);
        const double cpu = (b.cpu_ms - a.cpu_ms) / (seconds * 10.0);
        const double wakeups = static_cast<double>(b.wakeups - a.wakeups) / seconds;
        std::printf("idle, %-10s cpu %5.2f%% of one core, main thread %5.1f wake-ups/s\n", what,
                    cpu, wakeups);
        EXPECT_LT(cpu, max_cpu_percent) << what;
        EXPECT_LT(wakeups, max_wakeups) << what;
    };
    measure("in front:", 10.0, 90.0);
    m_x.unmap(board.id);
    nap(500);
    measure("minimised:", 10.0, 30.0);
    kill(m_pid, SIGTERM);
    EXPECT_EQ(wait_exit(), 0) << log();
}

// ---- Updates and assets ------------------------------------------------------

using nd::testing::read_file;
using nd::testing::text_bytes;
using nd::testing::write_file;

// True when nobody holds the workspace's in-use lock.
bool lockable(const std::string& wk) {
    const int fd = open(wk.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool free = fcntl(fd, F_OFD_SETLK, &lock) == 0;
    close(fd);
    return free;
}

struct stat stat_of(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st;
}

// Where the board's update entries lie in a 1600 x 900 window: the top
// bar's logo (26 x 20 at (10, 50)) with the badge 16 right and 5 down, the
// first item of the logo's menu (检查更新, 210 x 28 at (15, 75)), and the
// update note centred at (500, 260) with its button at (52, 226) inside.
constexpr int kLogoX = 10 + 13, kLogoY = 50 + 10;
constexpr int kBadgeX = 10 + 16, kBadgeY = 50 + 5;
constexpr int kCheckItemX = 15 + 60, kCheckItemY = 75 + 14;
constexpr int kNoteX = 500, kNoteY = 260;
constexpr int kNoteButtonX = kNoteX + 100, kNoteButtonY = kNoteY + 242;
constexpr uint32_t kMenuVersionColour = 0x3FD668;  // "(6.0.1)" on 检查更新
constexpr uint32_t kNoteBackground = 0x1E1E1E;     // the panel colour of the first skin

class NodrelUpdateE2e : public NodrelE2e {
protected:
    void SetUp() override {
        NodrelE2e::SetUp();
        // The most yellow of the fully opaque pixels of the badge's picture,
        // which every skin shares, tells the badge on the screen.
        install_skin_pictures();
        gfx::IMAGE* badge = gfx::new_image(1, 1);
        gfx::getimage(badge, "IMGS", "STATUS_BREAK", 0, 0);
        int best = -1;
        for (int y = 0; y < gfx::image_height(badge); ++y)
            for (int x = 0; x < gfx::image_width(badge); ++x) {
                const uint32_t p = gfx::get_pixel(x, y, badge);
                const int yellow = int((p >> 16) & 0xFF) - int(p & 0xFF);
                if (p >> 24 != 0xFF || yellow <= best) continue;
                best = yellow;
                m_badge_x = x;
                m_badge_y = y;
                m_badge_rgb = p & 0xFFFFFF;
            }
        gfx::delete_image(badge);
        ASSERT_GT(best, 64) << "the badge has no yellow";
    }

    // The blend may round a channel by one or two.
    bool badge_shows(const WindowInfo& board) {
        const long p = m_x.pixel(board.id, kBadgeX + m_badge_x, kBadgeY + m_badge_y);
        if (p < 0) return false;
        for (int shift : {0, 8, 16}) {
            const int a = int((p >> shift) & 0xFF), b = int((m_badge_rgb >> shift) & 0xFF);
            if (a - b > 3 || b - a > 3) return false;
        }
        return true;
    }

    template <typename Condition>
    static bool wait_for(Condition done, int timeout_ms = 10000) {
        for (int waited = 0; waited < timeout_ms; waited += 50) {
            if (done()) return true;
            nap(50);
        }
        return done();
    }

    void click_at(const WindowInfo& w, int x, int y) {
        // The pause lets the program see the pointer arrive before the click.
        ASSERT_EQ(run({"xdotool", "mousemove", "--window", std::to_string(w.id), std::to_string(x),
                       std::to_string(y), "sleep", "0.3", "click", "1"}),
                  0);
    }

    // Opens the logo's menu, and from it the update note. Whether the menu
    // showed an offered version.
    bool open_update_note(const WindowInfo& board) {
        click_at(board, kLogoX, kLogoY);
        const bool version =
            wait_for([&] { return m_x.count_pixels(board.id, kMenuVersionColour) > 0; }, 3000);
        click_at(board, kCheckItemX, kCheckItemY);
        EXPECT_TRUE(wait_for([&] {
            return m_x.pixel(board.id, kNoteX + 300, kNoteY + 300) == long(kNoteBackground);
        })) << "the update note did not open";
        return version;
    }

    int m_badge_x = 0, m_badge_y = 0;
    uint32_t m_badge_rgb = 0;

    // A program directory as an installation has it: nodrel, update and
    // servers.cfg pointing at the test's servers on loopback.
    void install(int control_port, int download_port) {
        m_program = (m_dir / "prog" / "nodrel").string();
        fs::copy_file(ND_NODREL_PATH, m_program);
        fs::copy_file(ND_UPDATE_PATH, m_dir / "prog" / "update");
        std::ofstream(m_dir / "prog" / "servers.cfg")
            << "control = 127.0.0.1:" << control_port << "\nupdate = 127.0.0.1:" << download_port
            << "\n";
    }
};

// serve-updates offers 6.0.1: a copy of nodrel packed as a release. The
// top bar shows the badge and the logo's menu the version; the update
// note's button saves and lets go of the workspace, the program waits while
// the updater installs the release, and the new program comes back in its
// place from the program directory.
TEST_F(NodrelUpdateE2e, AnAcceptedUpdateSavesInstallsAndComesBack) {
    // A few bytes more tell the new program file from the old one.
    std::vector<uint8_t> release = read_file(ND_NODREL_PATH);
    const std::vector<uint8_t> marker = text_bytes("\nrelease 6.0.1\n");
    release.insert(release.end(), marker.begin(), marker.end());
    write_file(m_dir / "new-nodrel", release);
    fs::create_directories(m_dir / "releases" / "tw" / "6");
    ASSERT_EQ(run({ND_TOOL_PATH, "pack", (m_dir / "new-nodrel").string(),
                   (m_dir / "releases" / "tw" / "6" / "0.1.BIN").string()}),
              0);
    nd::testing::ServeUpdates server(ND_TOOL_PATH, (m_dir / "releases").string());
    ASSERT_TRUE(server.ok());
    install(server.control_port(), server.download_port());
    start();
    const WindowInfo board = open_board();
    ASSERT_NE(board.id, 0u);
    const ino_t saved_before = stat_of(m_workspace).st_ino;
    EXPECT_TRUE(wait_for([&] { return badge_shows(board); })) << "no badge\n" << log();
    EXPECT_TRUE(open_update_note(board)) << "no (6.0.1) on 检查更新";
    click_at(board, kNoteButtonX, kNoteButtonY);

    // The updater's window: the program has closed its own and waits.
    WindowInfo updater = m_x.wait_window(20000, 500, 200);
    ASSERT_NE(updater.id, 0u) << log();
    EXPECT_EQ(waitpid(m_pid, nullptr, WNOHANG), 0) << "the program waits for the updater";
    EXPECT_NE(stat_of(m_workspace).st_ino, saved_before) << "the workspace settings were saved";
    EXPECT_TRUE(lockable(m_workspace)) << "the workspace is still locked";

    // The updater leaves on a click once it has finished.
    const std::string id = std::to_string(updater.id);
    for (int tries = 0; tries < 100 && m_x.wait_window(0, 500, 200).id != 0; ++tries) {
        run({"xdotool", "mousemove", "--window", id, "250", "100", "click", "1"});
        nap(300);
    }
    ASSERT_EQ(m_x.wait_window(0, 500, 200).id, 0u) << "the updater did not finish\n" << log();

    // The start page of the program that came back: the same process, now
    // running the new file of the program directory.
    WindowInfo page = m_x.wait_window(15000, start::layout::kWidth, start::layout::kHeight);
    ASSERT_NE(page.id, 0u) << log();
    EXPECT_EQ(read_file(m_program), release);
    const struct stat running = stat_of("/proc/" + std::to_string(m_pid) + "/exe");
    const struct stat installed = stat_of(m_program);
    EXPECT_EQ(running.st_ino, installed.st_ino);
    EXPECT_EQ(running.st_dev, installed.st_dev);
    m_x.request_close(page.id);
    EXPECT_EQ(wait_exit(), 0) << log();
}

// A control server whose newest release is the program's own version: no
// badge, no version on the menu, and the note's button does nothing.
TEST_F(NodrelUpdateE2e, WithTheNewestReleaseInstalledNothingChanges) {
    std::atomic<int> answered{0};
    nd::testing::FakeServer control([&](int fd) {
        uint8_t hello[2 + sizeof(HelloRecord)];
        if (!recv_all(fd, hello, sizeof hello)) return;
        uint8_t reply[2 + kVersionReplySize];
        put_u16(reply, kMsgHello);
        encode_version_reply({6, 0, 0}, 0, reply + 2);
        if (send_all(fd, reply, sizeof reply)) ++answered;
        uint8_t rest[2];
        while (recv_all(fd, rest, 2)) {
        }
    });
    install(control.port(), control.port());
    start();
    WindowInfo board = open_board();
    ASSERT_NE(board.id, 0u);
    for (int waited = 0; waited < 10000 && answered == 0; waited += 50) nap(50);
    ASSERT_EQ(answered, 1);
    nap(500);  // frames in which an offered update would have reached the screen
    EXPECT_FALSE(badge_shows(board));
    EXPECT_FALSE(open_update_note(board)) << "a version on 检查更新";
    click_at(board, kNoteButtonX, kNoteButtonY);
    nap(1000);  // frames in which the program would have ended for the updater
    EXPECT_EQ(m_x.wait_window(0, 500, 200).id, 0u) << "an updater window appeared";
    EXPECT_EQ(waitpid(m_pid, nullptr, WNOHANG), 0) << log();
    m_x.request_close(board.id);
    EXPECT_EQ(wait_exit(), 0) << log();
    EXPECT_EQ(read_file(m_program), read_file(ND_NODREL_PATH));
}

// The asset host (a few lines of Python on loopback) is asked for each of
// the four files once: the first start fetches them while the start page
// shows, the second finds them there.
TEST_F(NodrelE2e, AssetsArriveOnceAcrossStarts) {
    const char* names[] = {"assets/taci", "assets/taci2", "assets/pcon", "assets/vellum/assess.jx"};
    auto content = [](const char* name) { return text_bytes(std::string("from ") + name); };
    for (const char* name : names) write_file(m_dir / "host" / name, content(name));
    nd::testing::AssetHost host((m_dir / "host").string(), (m_dir / "requests.log").string());
    ASSERT_TRUE(host.ok()) << "the asset server did not start";
    std::ofstream(m_dir / "prog" / "servers.cfg") << "assets = " << host.address() << "/\n";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "first start" : "second start");
        start();
        WindowInfo page = m_x.wait_window(15000);
        ASSERT_NE(page.id, 0u) << log();
        auto all_there = [&] {
            for (const char* name : names)
                if (read_file(m_dir / "prog" / name) != content(name)) return false;
            return true;
        };
        for (int waited = 0; waited < 15000 && !all_there(); waited += 50) nap(50);
        EXPECT_TRUE(all_there()) << log();
        m_x.request_close(page.id);
        EXPECT_EQ(wait_exit(), 0) << log();
    }
    EXPECT_EQ(host.requests(),
              (std::vector<std::string>{"/assets/taci", "/assets/taci2", "/assets/pcon",
                                        "/assets/vellum/assess.jx"}));
}

// ---- The display ----------------------------------------------------------

// A DISPLAY no server answers, or a WAYLAND_DISPLAY naming no socket: the
// program says there is no display and ends with status 1 before it
// touches any file.
TEST_F(NodrelE2e, WithoutADisplayThatAnswersNothingIsTouched) {
    struct Case {
        const char* name;
        const char* display;
        const char* wayland;
    };
    const Case cases[] = {
        {"a display no server answers", ":987", nullptr},
        {"a Wayland socket that is not there", nullptr, "nd-no-such-socket"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_environment = {{"DISPLAY", c.display}, {"WAYLAND_DISPLAY", c.wayland}};
        start();
        EXPECT_EQ(wait_exit(), 1) << log();
        EXPECT_NE(log().find("no display"), std::string::npos) << log();
        EXPECT_TRUE(fs::is_empty(m_dir / "prog"));
        EXPECT_TRUE(fs::is_empty(m_dir / "tmp"));
    }
}

// An X server of the test's own, which the test can end.
class OwnXServer {
public:
    OwnXServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(fds[1], 3);
            const int quiet = open("/dev/null", O_WRONLY);
            if (quiet >= 0) dup2(quiet, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1600x900x24", "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (number.find('\n') == std::string::npos && poll(&p, 1, 20000) == 1 &&
               read(fds[0], &c, 1) == 1)
            number += c;
        close(fds[0]);
        if (!number.empty()) m_display = ":" + number.substr(0, number.find('\n'));
    }
    ~OwnXServer() { end(); }
    const std::string& display() const { return m_display; }
    void end() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

// The X server ends under the program while a workspace is open: the
// workspace is saved before the program ends.
TEST_F(NodrelE2e, TheWorkspaceIsSavedWhenTheDisplayGoesAway) {
    OwnXServer server;
    ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
    ino_t saved_before = 0;
    {
        // The test's own connection goes before the server does.
        XServer screen(server.display().c_str());
        ASSERT_TRUE(screen.ok());
        screen.make_window_manager_atoms();
        m_screen = &screen;
        m_environment = {{"DISPLAY", server.display().c_str()}};
        start();
        // xdotool clicks on the display the test names.
        const std::string outer = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
        setenv("DISPLAY", server.display().c_str(), 1);
        const WindowInfo board = open_board();
        setenv("DISPLAY", outer.c_str(), 1);
        m_screen = &m_x;
        ASSERT_NE(board.id, 0u) << log();
        saved_before = stat_of(m_workspace).st_ino;
        nap(500);
    }
    server.end();
    EXPECT_EQ(wait_exit(), 0) << log();
    EXPECT_NE(log().find("the display went away"), std::string::npos) << log();
    EXPECT_NE(stat_of(m_workspace).st_ino, saved_before) << "the workspace settings were saved";
    EXPECT_TRUE(lockable(m_workspace));
}

// Boards with cards: the workspace the chooser answers with is made as a
// scene of the board's tests.
class BoardE2e : public NodrelE2e {
protected:
    void use_scene(const std::vector<testing::SceneCard>& cards,
                   const std::vector<testing::SceneLink>& links, int extra_boards = 0,
                   int more_cards = 0) {
        fs::remove(m_workspace);
        fs::remove_all(m_dir / "elsewhere" / "E2E");
        set_sync_writes(false);
        ASSERT_TRUE(testing::make_scene(m_workspace, cards, links, extra_boards, more_cards));
        set_sync_writes(true);
    }

    // The cards are drawn once the board has loaded: a green card's frame
    // lines show.
    void wait_for_cards(const WindowInfo& board) {
        long green = 0;
        for (int waited = 0; waited < 10000 && green <= 0; waited += 100) {
            green = m_x.count_pixels(board.id, 0x34B36E);
            if (green <= 0) nap(100);
        }
        ASSERT_GT(green, 0) << log();
    }
};

// A workspace whose title cards sit at known places: one is dragged with
// the mouse, the program is ended by SIGTERM, and the dragged Case holds its
// new place on disk in a workspace that passes the check.
TEST_F(BoardE2e, ADraggedCardKeepsItsNewPlaceOnDisk) {
    use_scene({{.title = "dragged", .x = 400, .y = 300, .colour = kColourGood},
               {.title = "stays", .x = 800, .y = 300, .colour = kColourSevere}},
              {});
    const CaseRecord* dragged = find_case(0, 0, 0);
    const CaseRecord* stays = find_case(0, 0, 1);
    ASSERT_TRUE(dragged && stays);
    const std::string dragged_file = make_path(Tables.root, dragged->key.type, dragged->key, 0);
    const std::string stays_file = make_path(Tables.root, stays->key.type, stays->key, 0);
    clear_tables();

    start();
    WindowInfo board = open_board();
    ASSERT_NE(board.id, 0u);
    wait_for_cards(board);
    const std::string id = std::to_string(board.id);
    run({"xdotool", "mousemove", "--window", id, "410", "315", "mousedown", "1"});
    for (int step = 1; step <= 10; ++step) {
        run({"xdotool", "mousemove", "--window", id, std::to_string(410 + 15 * step),
             std::to_string(315 + 10 * step), "sleep", "0.03"});
    }
    run({"xdotool", "mouseup", "1", "sleep", "0.3"});
    kill(m_pid, SIGTERM);
    EXPECT_EQ(wait_exit(), 0) << log();

    CaseRecord record{};
    ASSERT_EQ(read_file_exact(dragged_file, &record, sizeof record), kIoOk);
    EXPECT_EQ(record.x, 550);
    EXPECT_EQ(record.y, 400);
    ASSERT_EQ(read_file_exact(stays_file, &record, sizeof record), kIoOk);
    EXPECT_EQ(record.x, 800);
    EXPECT_EQ(record.y, 300);
    EXPECT_EQ(run({ND_TOOL_PATH, "check", m_workspace}), 0);
}

// A loaded board of 80 cards with the top card's 70 links, left alone:
// the frames compose nothing new, so the program costs next to nothing.
TEST_F(BoardE2e, IdleWithAFullBoard) {
    use_scene(testing::full_board(80), testing::links_from_first(70));
    clear_tables();
    start();
    WindowInfo board = open_board();
    ASSERT_NE(board.id, 0u);
    wait_for_cards(board);
    nap(3000);
    Usage a = usage_of(m_pid);
    nap(3000);
    Usage b = usage_of(m_pid);
    const double cpu = (b.cpu_ms - a.cpu_ms) / 30.0;
    std::printf("idle, 80 cards:  cpu %5.2f%% of one core, main thread %5.1f wake-ups/s\n", cpu,
                static_cast<double>(b.wakeups - a.wakeups) / 3);
    EXPECT_LT(cpu, 3.0);
    kill(m_pid, SIGTERM);
    EXPECT_EQ(wait_exit(), 0) << log();
}

// "-test": the exerciser clicks cards and switches among boards on its own;
// a few seconds of it leave a running program and a sound workspace.
TEST_F(BoardE2e, TheExerciserRunsUnattended) {
    use_scene(testing::full_board(12), {}, 3, 5);
    clear_tables();
    start({"-test"});
    ASSERT_NE(open_board().id, 0u);
    nap(6000);
    int status = 0;
    ASSERT_EQ(waitpid(m_pid, &status, WNOHANG), 0) << "the program ended:\n" << log();
    kill(m_pid, SIGTERM);
    EXPECT_EQ(wait_exit(), 0) << log();
    EXPECT_EQ(run({ND_TOOL_PATH, "check", m_workspace}), 0);
}

}  // namespace
}  // namespace nd::e2e
