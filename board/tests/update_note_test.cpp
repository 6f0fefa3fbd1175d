// The update note on a headless window: its hit areas at their edges, its
// texts and what it draws with and without an offered update, the button,
// the link, dragging and re-centring, and the top bar's badge.
#include "board/update_note.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "board/commands.h"
#include "board/menu.h"
#include "board/pointer.h"
#include "board/tests/board_fixture.h"
#include "board/top_bar.h"
#include "gfx/window/input_queue.h"
#include "skins/palette.h"
#include "skins/pictures.h"
#include "skins/skin.h"

namespace nd {
namespace {

TEST(UpdateNoteAreas, EveryAreaIsAnOpenInterval) {
    struct Case {
        int x, y;
        NoteArea area;
    };
    const Case cases[] = {
        // the update button, x 52..152, y 226..258
        {52, 240, kNoteNowhere},
        {53, 240, kNoteUpdateButton},
        {151, 240, kNoteUpdateButton},
        {152, 240, kNoteNowhere},
        {100, 226, kNoteNowhere},
        {100, 227, kNoteUpdateButton},
        {100, 257, kNoteUpdateButton},
        {100, 258, kNoteNowhere},
        // the close button, x 553..598, y 2..22, inside the drag area
        {553, 10, kNoteDrag},
        {554, 10, kNoteClose},
        {597, 10, kNoteClose},
        {598, 10, kNoteDrag},
        {560, 2, kNoteDrag},
        {560, 3, kNoteClose},
        {560, 21, kNoteClose},
        {560, 22, kNoteDrag},
        // the link, x 230..365, y 166..196
        {230, 180, kNoteNowhere},
        {231, 180, kNoteLink},
        {364, 180, kNoteLink},
        {365, 180, kNoteNowhere},
        {300, 166, kNoteNowhere},
        {300, 167, kNoteLink},
        {300, 195, kNoteLink},
        {300, 196, kNoteNowhere},
        // the drag area, the full width and y 0..136
        {0, 50, kNoteNowhere},
        {1, 50, kNoteDrag},
        {599, 50, kNoteDrag},
        {600, 50, kNoteNowhere},
        {300, 0, kNoteNowhere},
        {300, 1, kNoteDrag},
        {300, 135, kNoteDrag},
        {300, 136, kNoteNowhere},
        {-5, 50, kNoteNowhere},
    };
    for (const Case& c : cases) EXPECT_EQ(update_note_area(c.x, c.y), c.area) << c.x << ", " << c.y;
}

class UpdateNoteTest : public testing::WindowBoardTest {
protected:
    ReleaseNews news;

    void SetUp() override {
        WindowBoardTest::SetUp();
        lay_out();
        install_update_note(view);
    }
    void TearDown() override {
        free_update_note();
        WindowBoardTest::TearDown();
    }

    ui::Panel& note() { return *ui::panel_find(&view_state().panels, kPanelUpdateNote); }

    void offer(ReleaseNumbers numbers) {
        news.offer(numbers);
        follow_release_news(view, news);
    }

    // A left click through the board's pointer path, as the window gives
    // it; clicks are far apart, so no two make a double click.
    void click(int x, int y) {
        ticks += 10000;
        pointer_message(view, {x, y, gfx::kMouseMove, 0, 0}, ticks);
        pointer_message(view, {x, y, gfx::kMouseDown, gfx::kMouseLeft, 0}, ticks);
        pointer_message(view, {x, y, gfx::kMouseUp, gfx::kMouseLeft, 0}, ticks + 10);
    }
    uint64_t ticks = 100000;

    // Pixels of `rgb` in `box` after the note is drawn on a fresh canvas.
    long pixels_in(const gfx::Rect& box, uint32_t rgb) {
        gfx::IMAGE* canvas = gfx::new_image(1600, 900);
        gfx::set_bk_color(0xFF000000, canvas);
        gfx::clear_image(canvas);
        ui::draw_panels(view_state().panels, canvas);
        long n = 0;
        for (int y = box.y; y < box.bottom(); ++y)
            for (int x = box.x; x < box.right(); ++x)
                n += (gfx::get_pixel(x, y, canvas) & 0xFFFFFF) == (rgb & 0xFFFFFF);
        gfx::delete_image(canvas);
        return n;
    }
};

TEST_F(UpdateNoteTest, TheTitleAndVersionLineFollowTheFlag) {
    struct Case {
        ReleaseNumbers offered;
        bool available;
        const char* version_line;
    };
    const Case cases[] = {
        {{6, 0, 0}, false, "   Nodrel 6.0.0"}, {{7, 0, 0}, false, "   Nodrel 6.0.0"},
        {{5, 9, 9}, false, "   Nodrel 6.0.0"}, {{6, 0, 1}, true, "   Nodrel 6.0.1"},
        {{6, 2, 0}, true, "   Nodrel 6.2.0"},  // a still newer one replaces it
        {{6, 1, 0}, true, "   Nodrel 6.2.0"},  // an older one does not
    };
    for (const Case& c : cases) {
        offer(c.offered);
        const UpdateNoteState& s = update_note_state();
        EXPECT_EQ(s.available, c.available) << c.version_line;
        EXPECT_EQ(update_note_version_line(s), c.version_line);
        EXPECT_EQ(view.menu.update.offered, c.available);
    }
    EXPECT_STREQ(update_note_title(false), "\xD2\xD1\xCA\xC7\xD7\xEE\xD0\xC2\xB0\xE6\xB1\xBE");
    EXPECT_STREQ(update_note_title(true),
                 "\xB7\xA2\xCF\xD6\xBF\xC9\xD3\xC3\xB8\xFC\xD0\xC2\xA3\xA1");
    EXPECT_EQ(view.menu.update.major, 6);
    EXPECT_EQ(view.menu.update.minor, 2);
}

// Command 55 opens the note centred; a drag by its top moves it, the close
// button closes it, and opening it again centres it again.
TEST_F(UpdateNoteTest, ReopeningCentresTheNoteAgain) {
    const gfx::Rect centred{800 - 300, 450 - 190, kUpdateNoteWidth, kUpdateNoteHeight};
    run_command(view, 55, {});
    ASSERT_TRUE(note().visible);
    EXPECT_EQ(note().rect, centred);

    const int x = centred.x + 300, y = centred.y + 60;
    pointer_message(view, {x, y, gfx::kMouseDown, gfx::kMouseLeft, 0}, 1000);
    pointer_message(view, {x + 40, y + 30, gfx::kMouseMove, gfx::kMouseLeft, 0}, 1010);
    pointer_message(view, {x - 60, y + 10, gfx::kMouseMove, gfx::kMouseLeft, 0}, 1020);
    pointer_message(view, {x - 60, y + 10, gfx::kMouseUp, gfx::kMouseLeft, 0}, 1030);
    EXPECT_EQ(note().rect, (gfx::Rect{centred.x - 60, centred.y + 10, 600, 380}));
    EXPECT_TRUE(note().visible);

    // A press below the drag area moves nothing.
    const gfx::Rect moved = note().rect;
    pointer_message(view, {moved.x + 300, moved.y + 300, gfx::kMouseDown, gfx::kMouseLeft, 0},
                    5000);
    pointer_message(view, {moved.x + 350, moved.y + 320, gfx::kMouseMove, gfx::kMouseLeft, 0},
                    5010);
    pointer_message(view, {moved.x + 350, moved.y + 320, gfx::kMouseUp, gfx::kMouseLeft, 0}, 5020);
    EXPECT_EQ(note().rect, moved);

    click(moved.x + 600 - 20, moved.y + 10);
    EXPECT_FALSE(note().visible);
    run_command(view, 55, {});
    EXPECT_TRUE(note().visible);
    EXPECT_EQ(note().rect, centred);
    run_command(view, 55, {});
    EXPECT_FALSE(note().visible);
}

TEST_F(UpdateNoteTest, TheButtonAsksToQuitAndUpdateOnlyWhileAnUpdateIsOffered) {
    run_command(view, 55, {});
    const gfx::Rect r = note().rect;
    const gfx::Rect button{r.x + 53, r.y + 227, 99, 31};
    const uint32_t plain = palette_color(kPalPanelBackground, current_skin());
    EXPECT_EQ(pixels_in(button, plain), long(button.w) * button.h) << "no button without an update";
    offer({6, 0, 0});
    click(r.x + 100, r.y + 240);
    EXPECT_EQ(app.RunState.load(), kRunning);

    offer({6, 0, 1});
    EXPECT_LT(pixels_in(button, plain), long(button.w) * button.h) << "the button shows";
    click(r.x + 152, r.y + 240);  // its edge is outside
    EXPECT_EQ(app.RunState.load(), kRunning);
    click(r.x + 100, r.y + 240);
    EXPECT_EQ(app.RunState.load(), kQuitAndUpdate);
}

// The link shows only with an offered update and a notes address, is
// underlined under the pointer, and hands the address to xdg-open.
TEST_F(UpdateNoteTest, TheLinkNeedsAnUpdateAndAnAddress) {
    const std::string address = "https://notes.nodrel.test/6.0.1?a=1&b=$HOME";
    std::snprintf(app.ProgramDir, sizeof app.ProgramDir, "%s", dir.c_str());
    std::ofstream(dir + "/servers.cfg") << "notes = " << address << "\n";
    const std::string opener = dir + "/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > " << dir << "/got\n";
    chmod(opener.c_str(), 0755);

    const uint32_t link = palette_color(kPalLinkText, current_skin());
    auto link_pixels = [&] {
        const gfx::Rect r = note().rect;
        return pixels_in({r.x + 230, r.y + 166, 135, 40}, link);
    };
    for (bool with_address : {false, true}) {
        SCOPED_TRACE(with_address ? "with an address" : "without one");
        if (!with_address) std::ofstream(dir + "/servers.cfg") << "notes = file:///etc\n";
        if (with_address) std::ofstream(dir + "/servers.cfg") << "notes = " << address << "\n";
        install_update_note(view);
        run_command(view, 55, {});
        EXPECT_EQ(link_pixels(), 0) << "no link without an update";
        offer({6, 0, 1});
        const long plain = link_pixels();
        EXPECT_EQ(plain > 0, with_address);
        if (!with_address) continue;
        const gfx::Rect r = note().rect;
        pointer_message(view, {r.x + 300, r.y + 180, gfx::kMouseMove, 0, 0}, 1000);
        EXPECT_GE(link_pixels(), plain + 120) << "the underline";

        const std::string saved_path = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", dir.c_str(), 1);
        click(r.x + 300, r.y + 180);
        setenv("PATH", saved_path.c_str(), 1);
        std::string got;
        for (int i = 0; i < 300 && got.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::stringstream in;
            in << std::ifstream(dir + "/got").rdbuf();
            got = in.str();
        }
        EXPECT_EQ(got, "1|" + address);
        EXPECT_EQ(app.RunState.load(), kRunning);
    }
}

TEST_F(UpdateNoteTest, TheTopBarCarriesTheBadgeWhileAnUpdateIsOffered) {
    const gfx::Rect logo = top_bar_places(view).rects[kTopLogo];
    auto badge_area = [&] {
        gfx::IMAGE* canvas = gfx::new_image(1600, 900);
        draw_top_bar(view, canvas);
        std::vector<uint32_t> pixels;
        for (int y = logo.y + 5; y < logo.y + 5 + 12; ++y)
            for (int x = logo.x + 16; x < logo.x + 16 + 12; ++x)
                pixels.push_back(gfx::get_pixel(x, y, canvas));
        gfx::delete_image(canvas);
        return pixels;
    };
    const std::vector<uint32_t> before = badge_area();
    offer({6, 0, 0});
    EXPECT_EQ(badge_area(), before);
    offer({6, 0, 1});
    EXPECT_NE(badge_area(), before);
}

}  // namespace
}  // namespace nd
