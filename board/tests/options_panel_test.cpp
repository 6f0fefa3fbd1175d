// The options panel: switches flip their byte and reach "config.cfg" at
// once, themes switch only once the board has loaded, and the panel closes
// from its buttons and from a click beside it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "board/dialog.h"
#include "board/options.h"
#include "board/options_panel.h"
#include "board/testing/view_fixture.h"
#include "settings/settings.h"
#include "store/locks.h"

namespace nd {
namespace {

class OptionsPanel : public testing::BoardViewTest {
protected:
    void SetUp() override {
        BoardViewTest::SetUp();
        const std::string path = temp / "config.cfg";
        std::snprintf(app.ConfigCfgPath, sizeof app.ConfigCfgPath, "%s", path.c_str());
        open({{.title = "a", .x = 600, .y = 400}});
        toggle_options_panel(*view);
        ASSERT_TRUE(options_panel_open(*view));
    }
    void click(int x, int y) {
        press(x, y);
        release(x, y);
    }
    void click(const gfx::Rect& r) { click(r.x + 5, r.y + 5); }
    uint8_t on_disk(int row) {
        ConfigRecord cfg{};
        EXPECT_EQ(read_config(app.ConfigCfgPath, cfg), 0);
        return cfg.profiles[kProductCode].options[row];
    }
};

TEST_F(OptionsPanel, EachShownSwitchFlipsItsByteOnDiskAtOnce) {
    for (int k = 0; k < 5; ++k) {
        const int row = kShownOptions[k];
        const uint8_t before = program_config().profiles[kProductCode].options[row];
        click(option_switch_rect(k));
        EXPECT_NE(program_config().profiles[kProductCode].options[row], before) << row;
        EXPECT_EQ(on_disk(row), before ? 0 : 1) << row;
    }
    // The bytes come back as they were saved when the program starts again.
    ConfigRecord again{};
    ASSERT_EQ(load_config(app.ConfigCfgPath, again), 0);
    EXPECT_EQ(std::memcmp(again.profiles[kProductCode].options,
                          program_config().profiles[kProductCode].options, 9),
              0);
    EXPECT_TRUE(options_panel_open(*view)) << "switches leave the panel open";
}

TEST_F(OptionsPanel, HighPerformanceTakesEffectWithoutARestart) {
    const bool before = option_on(kOptionHighPerformance);
    click(option_switch_rect(4));
    EXPECT_NE(option_on(kOptionHighPerformance), before);
}

TEST_F(OptionsPanel, ASwitchThatCannotBeSavedStaysAsItWas) {
    std::snprintf(app.ConfigCfgPath, sizeof app.ConfigCfgPath, "%s", "/nonexistent/dir/config.cfg");
    const uint8_t before = program_config().profiles[kProductCode].options[0];
    EXPECT_EQ(flip_option(*view, 0), -1);
    EXPECT_EQ(program_config().profiles[kProductCode].options[0], before);
}

TEST_F(OptionsPanel, AThemeSwitchesOnlyOnceTheBoardHasLoaded) {
    ASSERT_EQ(current_skin(), kSkinBlack);
    LoadProgress.store(50.0f);
    click(theme_tile_rect(2));
    EXPECT_EQ(current_skin(), kSkinBlack) << "ignored while loading";
    LoadProgress.store(100.0f);
    click(theme_tile_rect(2));
    EXPECT_EQ(current_skin(), kSkinWhite);
    click(theme_tile_rect(0));
    EXPECT_EQ(current_skin(), kSkinBlack);
}

TEST_F(OptionsPanel, ItClosesFromItsButtonsAndFromAClickBesideIt) {
    click(kOptionsWidth + 100, 400);
    EXPECT_FALSE(options_panel_open(*view));
    toggle_options_panel(*view);
    click(kOptionsWidth - 40, 8);  // the close button
    EXPECT_FALSE(options_panel_open(*view));
    toggle_options_panel(*view);
    toggle_options_panel(*view);
    EXPECT_FALSE(options_panel_open(*view)) << "the top bar's button closes it again";
}

}  // namespace
}  // namespace nd
