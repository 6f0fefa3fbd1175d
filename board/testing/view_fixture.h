// A board view over a scene workspace, drawn on an image of 1600 x 900, with
// every card made: what the board's tests feed pointer messages to.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/park_miller.h"
#include "base/testing/temp_dir.h"
#include "board/board_switch.h"
#include "board/main_view.h"
#include "board/testing/scene.h"
#include "session/requests.h"
#include "session/workspace.h"
#include "skins/pictures.h"
#include "skins/skin.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd::testing {

class BoardViewTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 1600;
    static constexpr int kHeight = 900;

    void SetUp() override {
        ASSERT_FALSE(temp.path().empty());
        setenv("TZ", "UTC", 1);
        tzset();
        seed_random(12345);
        set_sync_writes(false);
        install_skin_pictures();
        set_current_skin(kSkinBlack);
        default_config(program_config());
        view_state() = ViewState{};
        clear_requests();
    }

    void TearDown() override {
        // A switch still on its worker finishes before the tables go.
        for (int i = 0; view && view->switching.job && i < 5000; ++i) {
            if (!switch_take_result(*view)) usleep(1000);
        }
        if (view) free_main_view(view);
        if (canvas) gfx::delete_image(canvas);
        clear_tables();
        view_state() = ViewState{};
        set_sync_writes(true);
    }

    // Makes the scene and a view of its first board with every card made.
    void open(const std::vector<SceneCard>& cards, const std::vector<SceneLink>& links = {},
              int extra_boards = 0, int more_cards = 0) {
        ASSERT_TRUE(make_scene(wk(), cards, links, extra_boards, more_cards));
        canvas = gfx::new_image(kWidth, kHeight);
        view = create_picture_view(app, canvas, 0, 0);
        make_all_cards(*view);
        ASSERT_EQ(LoadProgress.load(), 100.0f);
    }

    std::string wk() const { return temp / "Board.wk"; }

    // What the files of a board and of a Case hold now.
    static Board stored_board(int group, int board) {
        Board on_disk{};
        const Board* b = find_board(group, board);
        EXPECT_NE(b, nullptr);
        if (b) {
            EXPECT_EQ(read_file_exact(make_path(Tables.root, kTypeBoard, b->key, 0), &on_disk,
                                      sizeof on_disk),
                      kIoOk);
        }
        return on_disk;
    }
    static CaseRecord stored_case(int group, int board, int slot) {
        CaseRecord on_disk{};
        const CaseRecord* c = find_case(group, board, slot);
        EXPECT_NE(c, nullptr);
        if (c) {
            EXPECT_EQ(read_file_exact(make_path(Tables.root, c->key.type, c->key, 0), &on_disk,
                                      sizeof on_disk),
                      kIoOk);
        }
        return on_disk;
    }

    Card& card(int index) { return view->cards[static_cast<size_t>(index)]; }
    int top() const { return view->z_order[0]; }

    // Pointer messages as the window would queue them.
    void send(uint32_t kind, uint32_t flags, int x, int y, int wheel = 0) {
        ticks += 16;
        pointer_message(*view, {x, y, kind, flags, wheel}, ticks);
    }
    void press(int x, int y, uint32_t button = gfx::kMouseLeft) {
        send(gfx::kMouseDown, button, x, y);
    }
    void release(int x, int y, uint32_t button = gfx::kMouseLeft) {
        send(gfx::kMouseUp, button, x, y);
    }
    void move(int x, int y, uint32_t held = gfx::kMouseLeft) { send(gfx::kMouseMove, held, x, y); }
    // A press, moves in `steps` equal steps, and the release.
    void drag(int x0, int y0, int x1, int y1, uint32_t button = gfx::kMouseLeft, int steps = 4) {
        press(x0, y0, button);
        for (int i = 1; i <= steps; ++i) {
            move(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps, button);
        }
        release(x1, y1, button);
    }

    TempDir temp{"nd_board"};
    App app;
    gfx::IMAGE* canvas = nullptr;
    MainViewState* view = nullptr;
    uint64_t ticks = 100000;
};

}  // namespace nd::testing
