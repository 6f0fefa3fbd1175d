#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "skins/names.h"
#include "skins/palette.h"
#include "skins/pictures.h"
#include "skins/skin.h"

namespace nd {
namespace {

// What the hooks saw, in order, with the screen page's colours at the time.
std::vector<std::string> g_log;
bool g_loading = false;

std::string hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

void store_hook(uint8_t skin) {
    g_log.push_back("store " + std::to_string(skin) + " current " + std::to_string(current_skin()) +
                    " screen " + hex(gfx::screen_page()->state.bk_color));
}

void rebuild_hook() {
    g_log.push_back("rebuild screen " + hex(gfx::screen_page()->state.fill_color) + " " +
                    hex(gfx::screen_page()->state.bk_color) + " last " +
                    std::to_string(last_loaded_skin()));
}

bool loading_hook() {
    return g_loading;
}

class SkinSwitch : public ::testing::Test {
protected:
    void SetUp() override {
        install_skin_pictures();
        board_ = gfx::new_image(8, 8);
        screen_ = gfx::new_image(8, 8);
        previous_screen_ = gfx::screen_page();
        gfx::set_screen_page(screen_);
        g_log.clear();
        g_loading = false;
        set_skin_hooks({board_, loading_hook, store_hook, rebuild_hook});
        set_current_skin(kSkinBlack);
    }
    void TearDown() override {
        set_skin_hooks({});
        gfx::set_screen_page(previous_screen_);
        gfx::delete_image(board_);
        gfx::delete_image(screen_);
    }
    gfx::IMAGE* board_ = nullptr;
    gfx::IMAGE* screen_ = nullptr;
    gfx::IMAGE* previous_screen_ = nullptr;
};

TEST_F(SkinSwitch, StepsRunInOrder) {
    uint32_t white = palette_color(kPalPageBackground, kSkinWhite);
    uint32_t old_screen = screen_->state.bk_color;
    ASSERT_EQ(switch_skin(kSkinWhite), kSkinSwitched);
    EXPECT_EQ(board_->state.bk_color, white);
    // The index is stored before the screen page changes; the screen page has
    // its new colours before the rebuild; the skin counts as loaded after it.
    ASSERT_EQ(g_log.size(), 2u);
    EXPECT_EQ(g_log[0], "store 3 current 3 screen " + hex(old_screen));
    EXPECT_EQ(g_log[1], "rebuild screen " + hex(white) + " " + hex(white) + " last -1");
    EXPECT_EQ(current_skin(), kSkinWhite);
    EXPECT_EQ(last_loaded_skin(), kSkinWhite);
}

TEST_F(SkinSwitch, SameSkinOrLoadingOnlyRepaintsTheBoard) {
    // The same skin again: the board background is set, nothing else happens.
    board_->state.bk_color = 0xFF123456;
    EXPECT_EQ(switch_skin(kSkinBlack), kSkinUnchanged);
    EXPECT_EQ(board_->state.bk_color, palette_color(kPalPageBackground, kSkinBlack));
    EXPECT_TRUE(g_log.empty());

    // While loading, even a different skin stops after the board.
    g_loading = true;
    EXPECT_EQ(switch_skin(kSkinStars), kSkinUnchanged);
    EXPECT_EQ(board_->state.bk_color, palette_color(kPalPageBackground, kSkinStars));
    EXPECT_EQ(current_skin(), kSkinBlack);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(SkinSwitch, IndexOutsideTheSkinsIsRefused) {
    board_->state.bk_color = 0xFF123456;
    for (int bad : {-1, 4, 255}) {
        EXPECT_EQ(switch_skin(bad), kSkinBadIndex) << bad;
        EXPECT_EQ(board_->state.bk_color, 0xFF123456u);
    }
    EXPECT_TRUE(g_log.empty());
    EXPECT_EQ(current_skin(), kSkinBlack);
}

TEST_F(SkinSwitch, AllFourIndexesAreAccepted) {
    for (int skin : {kSkinCake, kSkinStars, kSkinWhite, kSkinBlack}) {
        EXPECT_EQ(switch_skin(skin), kSkinSwitched) << skin;
        EXPECT_EQ(current_skin(), skin);
    }
}

TEST_F(SkinSwitch, KeptPicturesReloadOnlyWhenTheSkinChanges) {
    SkinPictures pictures;
    ASSERT_EQ(reload_on_change(&pictures, kUpdateNames), kPicturesReloaded);
    gfx::IMAGE* first = pictures.images[pic::UPDATE_YES_0];
    EXPECT_EQ(first->width, 100);
    EXPECT_EQ(first->height, 32);

    // Choosing the current skin again reloads nothing.
    EXPECT_EQ(switch_skin(kSkinBlack), kSkinUnchanged);
    EXPECT_EQ(reload_on_change(&pictures, kUpdateNames), kPicturesKept);
    EXPECT_EQ(pictures.images[pic::UPDATE_YES_0], first);

    ASSERT_EQ(switch_skin(kSkinStars), kSkinSwitched);
    EXPECT_EQ(reload_on_change(&pictures, kUpdateNames), kPicturesReloaded);
    EXPECT_EQ(pictures.skin, kSkinStars);
    EXPECT_EQ(pictures.images[pic::UPDATE_YES_0]->width, 100);
    EXPECT_EQ(reload_on_change(&pictures, kUpdateNames), kPicturesKept);
    free_skin_pictures(&pictures);
    EXPECT_EQ(pictures.count, 0);
}

TEST_F(SkinSwitch, MissingOrUndecodablePictureStaysAPlaceholder) {
    // A PNG signature followed by nothing useful, and bytes of no format.
    static const uint8_t truncated_png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0};
    static const uint8_t junk[] = {'J', 'U', 'N', 'K'};
    static const gfx::Resource broken[] = {
        {"IMGS", "BLACK_BROKEN_PNG", truncated_png, sizeof truncated_png},
        {"IMGS", "BLACK_BROKEN_JUNK", junk, sizeof junk},
    };
    gfx::set_resource_table(broken, 2);
    const char names[4][32] = {"BLACK_TOP_CLOSE_0", "BLACK_NOT_A_PICTURE", "BLACK_BROKEN_PNG",
                               "BLACK_BROKEN_JUNK"};
    SkinPictures pictures;
    ASSERT_EQ(reload_on_change(&pictures, names, 4), kPicturesReloaded);
    EXPECT_EQ(pictures.images[0]->width, 45);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(pictures.images[i]->width, 1) << names[i];
        EXPECT_EQ(pictures.images[i]->height, 1) << names[i];
    }
    free_skin_pictures(&pictures);
    gfx::set_resource_table(broken, 0);
}

// The largest table fills the pictures exactly; a row longer than that, from
// a caller that counted wrong, is refused and leaves what was loaded alone.
TEST_F(SkinSwitch, KeptPicturesTakeTheLargestTableAndRefuseMore) {
    SkinPictures pictures;
    ASSERT_EQ(reload_on_change(&pictures, kToolNames), kPicturesReloaded);
    EXPECT_EQ(pictures.count, kSkinPictureRoom);
    gfx::IMAGE* last = pictures.images[kSkinPictureRoom - 1];
    ASSERT_NE(last, nullptr);
    static char names[kSkinPictureRoom + 1][32] = {};
    ASSERT_EQ(switch_skin(kSkinStars), kSkinSwitched);
    EXPECT_EQ(reload_on_change(&pictures, names, kSkinPictureRoom + 1), kPicturesTooMany);
    EXPECT_EQ(reload_on_change(&pictures, names, -1), kPicturesTooMany);
    EXPECT_EQ(pictures.count, kSkinPictureRoom);
    EXPECT_EQ(pictures.images[kSkinPictureRoom - 1], last);
    EXPECT_EQ(pictures.skin, kSkinBlack);
    free_skin_pictures(&pictures);
}

TEST(StoredSkin, StartsInAnOfferedSkin) {
    struct Case {
        uint8_t stored, starts;
    };
    const Case cases[] = {{0, 0}, {1, 2}, {2, 2}, {3, 3}, {4, 0}, {255, 0}};
    for (const Case& c : cases) EXPECT_EQ(skin_from_stored(c.stored), c.starts) << int(c.stored);
}

}  // namespace
}  // namespace nd
