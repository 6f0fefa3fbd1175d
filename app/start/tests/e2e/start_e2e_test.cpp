// The real program on a private X display: creating, listing and opening
// workspaces from the start page, driven with xdotool, checked on disk.
// Screenshots of the page are kept in the build tree for people to look at.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fstream>
#include <string>

#include "app/start/layout.h"
#include "app/start/tests/e2e/desktop.h"
#include "base/testing/temp_dir.h"
#include "gfx/gfx.h"
#include "settings/settings.h"

namespace nd::e2e {
namespace {

using gfx::Rect;
namespace layout = start::layout;

constexpr char kStartPage[] = "Nodrel 6$";
constexpr int kWindowWait = 15000;
// The screen of tools/testing/with-xvfb.sh, which the main window fills.
constexpr int kScreenWidth = 1600;
constexpr int kScreenHeight = 900;

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The caption takes the workspace's name as soon as its loader starts, so a
// file the loader writes is waited for rather than expected at once.
bool loaded(const std::string& path) {
    return wait_until([&] { return exists(path); }, kWindowWait);
}

std::string file_name(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

int centre_x(const Rect& r) {
    return r.x + r.w / 2;
}
int centre_y(const Rect& r) {
    return r.y + r.h / 2;
}

// The pixels inside `r` of a screenshot, as bytes to compare; "" when the
// screenshot cannot be read.
std::string region_pixels(const std::string& png, const Rect& r) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    std::string bytes;
    if (gfx::getimage(image, png.c_str()) == 0) {
        for (int y = r.y; y < r.y + r.h && y < image->height; ++y) {
            const uint32_t* row = &image->pixels[static_cast<size_t>(y) * image->width];
            for (int x = r.x; x < r.x + r.w && x < image->width; ++x) {
                bytes.append(reinterpret_cast<const char*>(&row[x]), sizeof row[x]);
            }
        }
    }
    gfx::delete_image(image);
    return bytes;
}

// Pixels inside `r` of a screenshot whose colour is within `tolerance` of
// `rgb` in every channel.
int count_colour(const std::string& png, const Rect& r, uint32_t rgb, int tolerance) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    int count = -1;
    if (gfx::getimage(image, png.c_str()) == 0) {
        count = 0;
        for (int y = r.y; y < r.y + r.h && y < image->height; ++y) {
            for (int x = r.x; x < r.x + r.w && x < image->width; ++x) {
                uint32_t p = image->pixels[static_cast<size_t>(y) * image->width + x];
                bool near = true;
                for (int shift : {0, 8, 16}) {
                    int a = (p >> shift) & 0xFF, b = (rgb >> shift) & 0xFF;
                    near = near && std::abs(a - b) <= tolerance;
                }
                count += near ? 1 : 0;
            }
        }
    }
    gfx::delete_image(image);
    return count;
}

class StartPageE2e : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.empty());
        mkdir(ND_ARTIFACTS_DIR, 0777);
        // The stand-in for the desktop's file chooser answers with whatever
        // the test wrote into "choice", or cancels when there is nothing.
        // Each run leaves a line in "asked", so a test can tell it was asked.
        chooser_ = dir_ + "/chooser.sh";
        std::ofstream(chooser_) << "#!/bin/sh\n"
                                << "echo asked >> '" << dir_ << "/asked'\n"
                                << "[ -s '" << dir_ << "/choice' ] || exit 1\n"
                                << "cat '" << dir_ << "/choice'\n";
        chmod(chooser_.c_str(), 0755);
    }
    void TearDown() override {
        for (Program& p : programs_) quit(&p);
    }

    Program& start_nodrel(const std::string& chooser = "") {
        programs_.emplace_back();
        Program& p = programs_.back();
        std::string program = chooser.empty() ? chooser_ : chooser;
        EXPECT_EQ(start_program(&p, dir_, {ND_NODREL_PATH}, {"ND_FILE_CHOOSER=" + program},
                                dir_ + "/nodrel.log"),
                  0);
        return p;
    }
    // Asks the program to end as a user closing it would, and waits.
    int quit(Program* p) {
        if (p->pid > 0) kill(p->pid, SIGTERM);
        return stop_program(p, 10000);
    }
    void choose(const std::string& path) { std::ofstream(dir_ + "/choice") << path << "\n"; }
    std::string workspace(const std::string& file) { return dir_ + "/workspace/" + file; }
    std::string log() {
        std::ifstream in(dir_ + "/nodrel.log");
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }
    RecentTable recent_on_disk() {
        RecentTable table{};
        EXPECT_EQ(read_sealed(dir_ + "/table.cfg", &table, sizeof table), 0);
        return table;
    }
    std::string artifact(const std::string& name) {
        return std::string(ND_ARTIFACTS_DIR) + "/" + name;
    }
    // The pixels of `r` in a fresh screenshot of the page.
    std::string probe(const std::string& page, const Rect& r) {
        const std::string png = dir_ + "/probe.png";
        return screenshot(page, png) == 0 ? region_pixels(png, r) : std::string();
    }
    // Waits until `r` shows something other than `before` and has settled
    // (two looks in a row agree).
    bool wait_for_change(const std::string& page, const Rect& r, const std::string& before) {
        std::string last;
        return wait_until(
            [&] {
                std::string now = probe(page, r);
                bool settled = !now.empty() && now != before && now == last;
                last = now;
                return settled;
            },
            kWindowWait);
    }
    // Moves the pointer onto (x, y) and waits until the page has drawn the
    // hover in `shows`. The pointer first leaves, since a window that opens
    // under it shows a hover at once; then it is nudged by a pixel on every
    // look, so a page that ignored a move (while it waited for the chooser)
    // gets another.
    bool hover_drawn(const std::string& page, int x, int y, const Rect& shows) {
        hover(page, 2, layout::kHeight - 2);
        std::string before, previous;
        if (!wait_until(
                [&] {
                    before = probe(page, shows);
                    bool settled = !before.empty() && before == previous;
                    previous = before;
                    return settled;
                },
                kWindowWait)) {
            return false;
        }
        int nudge = 0;
        std::string last;
        return wait_until(
            [&] {
                hover(page, x + (nudge++ % 2), y);
                const std::string now = probe(page, shows);
                const bool settled = !now.empty() && now != before && now == last;
                last = now;
                return settled;
            },
            kWindowWait);
    }
    int chooser_runs() {
        std::ifstream in(dir_ + "/asked");
        int lines = 0;
        for (std::string line; std::getline(in, line);) ++lines;
        return lines;
    }

    // The screenshot's row text pixels: the names are drawn in 0xC3C3C3.
    int name_pixels(const std::string& png, int slot) {
        Rect row = start::row_rect(slot);
        return count_colour(png, row, layout::kRowTextColor, 24);
    }

    testing::TempDir temp_{"nd_start_e2e"};
    const std::string& dir_ = temp_.path();
    std::string chooser_;
    std::deque<Program> programs_;  // stable addresses: tests keep references
};

TEST_F(StartPageE2e, NewWorkspaceIsListedAfterRestartAndHeldAgainstASecondProgram) {
    Program& first = start_nodrel();
    std::string page = wait_for_window(kStartPage, kWindowWait);
    ASSERT_FALSE(page.empty()) << log();
    ASSERT_EQ(screenshot(page, artifact("start-fresh.png")), 0);
    EXPECT_EQ(name_pixels(artifact("start-fresh.png"), 0), 0);

    choose(workspace("Team"));
    click(page, centre_x(layout::kNew), centre_y(layout::kNew));
    ASSERT_FALSE(wait_for_window("^Team$", kWindowWait).empty()) << log();
    EXPECT_TRUE(loaded(workspace("Team.wk")));
    EXPECT_TRUE(loaded(workspace("Team/0/frame/root.frame")));
    RecentTable table = recent_on_disk();
    ASSERT_EQ(table.count, 1);
    EXPECT_STREQ(table.entries[0].name, "Team");
    EXPECT_EQ(std::string(table.entries[0].path), workspace("Team.wk"));
    EXPECT_EQ(quit(&first), 0) << log();

    // After a restart Team is the first row; opening it completes the
    // default groups.
    Program& second = start_nodrel();
    page = wait_for_window(kStartPage, kWindowWait);
    ASSERT_FALSE(page.empty()) << log();
    ASSERT_TRUE(hover_drawn(page, centre_x(start::row_rect(0)), centre_y(start::row_rect(0)),
                            start::row_rect(0)));
    ASSERT_EQ(screenshot(page, artifact("start-listed.png")), 0);
    EXPECT_GT(name_pixels(artifact("start-listed.png"), 0), 20);
    EXPECT_EQ(name_pixels(artifact("start-listed.png"), 1), 0);
    click(page, centre_x(start::row_rect(0)), centre_y(start::row_rect(0)));
    std::string team = wait_for_window_of_size("^Team$", kScreenWidth, kScreenHeight, kWindowWait);
    ASSERT_FALSE(team.empty()) << log();
    uint32_t groups = 0;
    wait_until(
        [&] {
            std::ifstream(workspace("Team/0/frame/root.frame"), std::ios::binary)
                .read(reinterpret_cast<char*>(&groups), sizeof groups);
            return groups == 3u;
        },
        kWindowWait);
    EXPECT_EQ(groups, 3u);

    // A third program meanwhile shows Team in use and will not open it.
    Program& third = start_nodrel();
    page = wait_for_window(kStartPage, kWindowWait);
    ASSERT_FALSE(page.empty()) << log();
    click(page, centre_x(start::row_rect(0)), centre_y(start::row_rect(0)));
    Rect message{layout::kMessageX, layout::kMessageY, 320, 24};
    EXPECT_TRUE(wait_until(
        [&] {
            return screenshot(page, artifact("start-in-use.png")) == 0 &&
                   count_colour(artifact("start-in-use.png"), message, 0xE0605A, 16) > 20;
        },
        kWindowWait))
        << "no in-use message";
    EXPECT_TRUE(window_exists(kStartPage));
    EXPECT_TRUE(program_running(&third));
    std::string out;
    ASSERT_EQ(run_capture({"xdotool", "search", "--onlyvisible", "--name", "^Team$"}, &out), 0);
    EXPECT_EQ(out, team + "\n") << "a second main window opened";

    EXPECT_EQ(quit(&third), 0) << log();
    EXPECT_EQ(quit(&second), 0) << log();
}

TEST_F(StartPageE2e, AnEntryWhoseFileWasDeletedIsDroppedAtStart) {
    mkdir((dir_ + "/workspace").c_str(), 0777);
    std::string out;
    ASSERT_EQ(run_capture({ND_TOOL_PATH, "new", workspace("Kept.wk")}, &out), 0);
    RecentList list;
    ASSERT_EQ(load_recent(list, dir_ + "/table.cfg"), 0);
    ASSERT_GE(add_recent(list, workspace("Gone.wk").c_str(), "Gone.wk"), 0);
    ASSERT_GE(add_recent(list, workspace("Kept.wk").c_str(), "Kept.wk"), 0);
    ASSERT_EQ(save_recent(list), 0);

    Program& p = start_nodrel();
    ASSERT_FALSE(wait_for_window(kStartPage, kWindowWait).empty()) << log();
    RecentTable table = recent_on_disk();
    ASSERT_EQ(table.count, 1);
    EXPECT_STREQ(table.entries[0].name, "Kept");
    EXPECT_EQ(quit(&p), 0) << log();
}

TEST_F(StartPageE2e, AWorkspaceMadeByTheToolOpensFromOpen) {
    mkdir((dir_ + "/workspace").c_str(), 0777);
    std::string out;
    ASSERT_EQ(run_capture({ND_TOOL_PATH, "new", workspace("Tool.wk")}, &out), 0);
    Program& p = start_nodrel();
    std::string page = wait_for_window(kStartPage, kWindowWait);
    ASSERT_FALSE(page.empty()) << log();

    // A name with two dots is refused, so nothing opens: once the chooser
    // has answered, the page is back on its list and shows a hover again.
    choose(workspace("Tool.x.wk"));
    click(page, centre_x(layout::kOpen), centre_y(layout::kOpen));
    ASSERT_TRUE(wait_until([&] { return chooser_runs() == 1; }, kWindowWait));
    ASSERT_TRUE(hover_drawn(page, centre_x(layout::kNew), centre_y(layout::kNew), layout::kNew));
    EXPECT_TRUE(window_exists(kStartPage));

    choose(workspace("Tool.wk"));
    click(page, centre_x(layout::kOpen), centre_y(layout::kOpen));
    ASSERT_FALSE(wait_for_window("^Tool$", kWindowWait).empty()) << log();
    RecentTable table = recent_on_disk();
    ASSERT_EQ(table.count, 1);
    EXPECT_STREQ(table.entries[0].name, "Tool");
    EXPECT_EQ(quit(&p), 0) << log();
}

TEST_F(StartPageE2e, WithoutAChooserThePathIsTypedOnThePage) {
    Program& p = start_nodrel(dir_ + "/no-such-chooser");
    std::string page = wait_for_window(kStartPage, kWindowWait);
    ASSERT_FALSE(page.empty()) << log();
    const std::string before = probe(page, layout::kEntryBox);
    click(page, centre_x(layout::kNew), centre_y(layout::kNew));
    ASSERT_TRUE(wait_for_change(page, layout::kEntryBox, before)) << "no path entry";
    // The entry starts with the workspace folder; the name is typed after it.
    const std::string folder_only = probe(page, layout::kEntryField);
    run_capture({"xdotool", "windowfocus", page}, nullptr);
    run_capture({"xdotool", "type", "--window", page, "Typed"}, nullptr);
    ASSERT_TRUE(wait_for_change(page, layout::kEntryField, folder_only)) << "nothing typed";
    ASSERT_EQ(screenshot(page, artifact("start-path-entry.png")), 0);
    run_capture({"xdotool", "key", "--window", page, "Return"}, nullptr);
    ASSERT_FALSE(wait_for_window("^Typed$", kWindowWait).empty()) << log();
    EXPECT_TRUE(loaded(workspace("Typed.wk")));
    EXPECT_TRUE(loaded(workspace("Typed/0/frame/root.frame")));
    EXPECT_EQ(quit(&p), 0) << log();
}

TEST_F(StartPageE2e, ScreenshotsInEachOfferedSkin) {
    mkdir((dir_ + "/workspace").c_str(), 0777);
    struct Skin {
        int index;
        const char* file;
    } skins[] = {
        {0, "start-skin-black.png"}, {2, "start-skin-stars.png"}, {3, "start-skin-white.png"}};
    for (const Skin& skin : skins) {
        // The page takes the skin of the workspace at the top of the list.
        std::string path = workspace("Skin" + std::to_string(skin.index) + ".wk");
        WorkspaceSettings ws;
        ASSERT_GE(load_workspace_settings(ws, path, nullptr), 0);
        ws.record.skin = static_cast<uint8_t>(skin.index);
        ASSERT_EQ(save_workspace_settings(ws), 0);
        close_workspace_settings(ws);
        RecentList list;
        ASSERT_EQ(load_recent(list, dir_ + "/table.cfg"), 0);
        int index = add_recent(list, path.c_str(), file_name(path).c_str());
        ASSERT_GE(index, 0);
        ASSERT_EQ(move_recent_to_top(list, index), 0);

        Program& p = start_nodrel();
        std::string page = wait_for_window(kStartPage, kWindowWait);
        ASSERT_FALSE(page.empty()) << log();
        ASSERT_TRUE(hover_drawn(page, centre_x(start::row_rect(0)), centre_y(start::row_rect(0)),
                                start::row_rect(0)));
        std::string png = artifact(skin.file);
        ASSERT_EQ(screenshot(page, png), 0);
        uint32_t background = 0;
        switch (skin.index) {
            case 0:
                background = 0x5A5C50;
                break;
            case 2:
                background = 0x2D393E;
                break;
            case 3:
                background = 0xF9FBFC;
                break;
        }
        // The page background of the skin fills the empty band under the title.
        EXPECT_GT(count_colour(png, {0, 130, 40, 40}, background, 2), 1500) << skin.file;
        EXPECT_EQ(quit(&p), 0) << log();
    }
}

}  // namespace
}  // namespace nd::e2e
