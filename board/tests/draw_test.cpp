#include <gtest/gtest.h>

#include "base/testing/temp_dir.h"
#include "board/board_switch.h"
#include "board/frame.h"
#include "board/main_view.h"
#include "board/picture.h"
#include "board/testing/scene.h"
#include "session/workspace.h"
#include "skins/pictures.h"
#include "skins/skin.h"
#include "store/tables.h"

namespace nd {
namespace {

TEST(Draw, Sketch) {
    nd::testing::TempDir dir("nd_board_draw");
    install_skin_pictures();
    default_config(program_config());
    std::vector<nd::testing::SceneCard> cards = {
        {.title = "Top card", .x = 300, .y = 300, .colour = 1},
        {.title = "Red", .x = 500, .y = 150, .colour = 2, .kind = kKindPerson},
        {.title = "Yellow", .x = 700, .y = 500, .colour = 3, .kind = kKindTask, .pinned = true},
        {.title = "Window", .x = 900, .y = 200, .form = kFormCase, .content = "line one\nline two\n**img:01\nline three"},
        {.title = "Map", .x = 100, .y = 500, .form = kFormMap, .marks = {{50, 80}, {120, 150}}},
    };
    ASSERT_TRUE(nd::testing::make_scene(dir / "S.wk", cards,
                                        {{0, 1}, {0, 2, true}, {0, 3}, {1, 4, false, 0}}));
    App app;
    gfx::IMAGE* canvas = gfx::new_image(1600, 900);
    MainViewState* view = create_picture_view(app, canvas, 0, 0);
    make_all_cards(*view);
    compose_frame(*view);
    make_opaque(canvas);
    gfx::save_png(canvas, "/tmp/board_sketch.png");
    free_main_view(view);
    gfx::delete_image(canvas);
    clear_tables();
}

}  // namespace
}  // namespace nd
