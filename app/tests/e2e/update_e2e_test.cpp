// The real nodrel and the real updater under Xvfb: an update offered by
// serve-updates on loopback shows its badge and version, the update note's
// button saves the workspace and installs the release, and the program
// comes back; with nothing newer offered nothing changes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/tests/e2e/nodrel_fixture.h"
#include "app/tests/e2e/x11_window.h"
#include "base/file_io.h"
#include "gfx/gfx.h"
#include "skins/pictures.h"
#include "update/net.h"
#include "update/protocol.h"
#include "update/tests/e2e_support.h"
#include "update/tests/fake_server.h"
#include "update/tests/test_files.h"

namespace nd::e2e {
namespace {

using nd::testing::read_file;
using nd::testing::text_bytes;
using nd::testing::write_file;

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

}  // namespace
}  // namespace nd::e2e
