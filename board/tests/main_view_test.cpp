// The main view's life: it opens on the board the workspace was left on,
// and leaving saves that board and the workspace's view fields.
#include "board/main_view.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "board/cards.h"
#include "board/testing/view_fixture.h"
#include "session/workspace.h"
#include "settings/settings.h"
#include "store/paths.h"

namespace nd {
namespace {

class MainViewLife : public testing::BoardViewTest {};

TEST_F(MainViewLife, LeavingSavesTheBoardAndResetsTheViewFields) {
    ASSERT_TRUE(testing::make_scene(wk(), {}, {}, 2, 3));
    std::string reason;
    WorkspaceSettings& ws = open_workspace_settings();
    ASSERT_GE(load_workspace_settings(ws, wk(), &reason), 0) << reason;
    ws.record.value28 = 11;
    ws.record.value32 = 12;
    ws.record.value36 = 13;
    ws.record.value40 = 14;
    ws.record.last_board = 2;

    app.WindowWidth = kWidth;
    app.WindowHeight = kHeight;
    app.Canvas = gfx::new_image(kWidth, kHeight);
    MainViewState* shown = create_main_view(app);
    EXPECT_EQ(view_state().board, 2) << "it opens where the workspace was left";
    make_all_cards(*shown);
    ASSERT_EQ(shown->card_count, 3);
    set_origin(*shown, 30, 40);
    move_card(*shown, 2, 500, 500);
    select_card(*shown, 2);
    board_view_steps().destroy(shown, app);
    gfx::delete_image(app.Canvas);
    close_workspace_settings(ws);

    WorkspaceRecord stored{};
    ASSERT_EQ(read_sealed(wk(), &stored, sizeof stored), 0);
    EXPECT_EQ(stored.value28, 0);
    EXPECT_EQ(stored.value32, 6);
    EXPECT_EQ(stored.value36, 0);
    EXPECT_EQ(stored.value40, 0);
    EXPECT_EQ(stored.last_board, 2);

    // On disk: the moved Case at its board place, the display order with
    // the selected card first, and the board's origin.
    const Board on_disk = stored_board(0, 2);
    EXPECT_EQ(on_disk.view_x, 30);
    EXPECT_EQ(on_disk.view_y, 40);
    EXPECT_EQ(on_disk.cases[2].ordinal, 1);
    EXPECT_EQ(on_disk.cases[0].ordinal, 2);
    EXPECT_EQ(on_disk.cases[1].ordinal, 3);
    const CaseRecord record = stored_case(0, 2, 2);
    EXPECT_EQ(record.x, 470);
    EXPECT_EQ(record.y, 460);
}

// A workspace made by this run opens with one sticky note, where a jump
// puts a card.
TEST_F(MainViewLife, ANewWorkspaceGreetsWithAStickyNote) {
    ASSERT_TRUE(testing::make_scene(wk(), {}, {}));
    WorkspaceSettings settings;
    std::string reason;
    ASSERT_GE(load_workspace_settings(settings, wk(), &reason), 0) << reason;
    adopt_open_workspace(settings, true);
    app.WindowWidth = kWidth;
    app.WindowHeight = kHeight;
    app.Canvas = gfx::new_image(kWidth, kHeight);
    view = create_main_view(app);
    make_all_cards(*view);
    ASSERT_EQ(view->card_count, 1);
    EXPECT_STREQ(card(0).title, "\xB5\xDA\xD2\xBB\xB8\xF6\xB1\xE3\xC7\xA9");  // 第一个便签
    EXPECT_EQ(card(0).record->key.type, kAttrFragment);
    EXPECT_EQ(card(0).rect.x, kWidth / 2 - 116);
    EXPECT_EQ(card(0).rect.y, kHeight / 2 - 50);
    EXPECT_EQ(stored_case(0, 0, 0).x, kWidth / 2 - 116);
    adopt_open_workspace(settings, false);
    release_open_workspace();
    gfx::delete_image(app.Canvas);
}

}  // namespace
}  // namespace nd
