// The left bar "白板管理器": floating panel 5, 288 pixels wide, down the
// board's left edge below the top bar, with its three tabs: the categories
// of the current group ("分类"), the Cases of the whiteboard shown
// ("主 Case") and the Cases of a previewed category. Below it sits the
// colour-switch box (board/colour_switches.h).
//
// The bar shows a snapshot of the tables that left_bar_refresh takes when
// the board tells it something changed (a board switch, a refresh request),
// so drawing a frame reads no records.
#pragma once

#include <array>
#include <cstdint>

#include "board/commands.h"
#include "gfx/gfx.h"
#include "gfx/rect.h"
#include "session/view_state.h"
#include "skins/skin.h"
#include "store/records.h"

namespace nd {

inline constexpr int kLeftBarWidth = 288;
inline constexpr int kLeftBarLeft = 10;
inline constexpr int kLeftBarTop = 100;  // 10 below the top bar
inline constexpr int kCategoryRowStep = 64;
inline constexpr int kCaseRowStep = 38;
inline constexpr int kFirstRowY = 6;  // the first row's y inside the list

enum LeftTab : int { kTabCategories, kTabBoardCases, kTabPreview, kLeftTabCount };

// The bar's place in a window of width x height; the colour-switch box
// takes the room below it.
gfx::Rect left_bar_rect(int width, int height);

// A category row: a used slot, or a free one shown as the placeholder.
struct CategoryRow {
    int board = -1;
    bool used = false;
    char name[64] = {};
    int cases = 0;
    std::array<uint8_t, 4> colours{};  // its Cases by colour class, for the preview bar
};

struct LeftCaseRow {
    CaseRef ref;
    int colour = 0;
    char title[128] = {};
};

struct CaseList {
    std::array<LeftCaseRow, kCaseSlots> rows{};
    int count = 0;
};

struct LeftBarState {
    MainView* view = nullptr;
    int tab = kTabCategories;
    int group = 0;
    int board = -1;  // the whiteboard the "主 Case" tab lists
    std::array<CategoryRow, kBoardSlots> categories{};
    int category_count = 0;  // rows, placeholders included
    CaseList board_cases;
    CaseList preview_cases;
    int preview_board = -1;  // the previewed category, or -1
    std::array<int, kLeftTabCount> scroll{};  // pixels scrolled, per tab
    std::array<int, kLeftTabCount> selected{-1, -1, -1};  // the selected row, per tab
    int hover_tab = -1;
    int hover_row = -1;
    // Pre-rendered: each tab in its three looks (normal, hovered,
    // selected), and each category slot's preview bar.
    std::array<std::array<gfx::IMAGE*, 3>, kLeftTabCount> tabs{};
    std::array<gfx::Rect, kLeftTabCount> tab_rects{};  // inside the bar
    std::array<gfx::IMAGE*, kBoardSlots> bars{};
    std::array<uint32_t, kBoardSlots> bar_made{};  // what each bar was drawn for
    SkinPictures pictures;                         // the LEFT_ row
    gfx::IMAGE* measure = nullptr;
};

LeftBarState& left_bar_state();

// Adds the bar to the panel list, shown, and takes its first snapshot.
void install_left_bar(MainView& view);
// Places the bar and the colour-switch box for the window's size.
void left_bar_place(MainView& view);
// Takes the snapshot again from the tables.
void left_bar_refresh();
// Shows the Cases of category `board` of the current group in the preview
// tab without switching the whiteboard ("分类预览(E)").
void left_bar_preview(int board);
// The Case of the selected row of the tab shown, for the link gesture;
// false when the tab shows no selected Case.
bool left_bar_selected_case(CaseRef* out);
// The menu of the row at (x, y) on the bar; false on the tabs and header.
bool left_bar_menu_target(const MainView& view, int x, int y, MenuTarget* out);
// The list's first row at `top` and its rows `step` apart: which row the
// list point y (inside the list, scrolled by `scroll`) falls on, or -1.
int left_bar_row_at(int y, int scroll, int step, int rows);

// Drawing (left_bar_draw.cpp).
void draw_left_bar(const ui::Panel& panel, gfx::IMAGE* canvas);
void render_left_bar_tabs(LeftBarState& s);
void render_preview_bars(LeftBarState& s);
void free_left_bar(LeftBarState& s);
// The list's rectangle inside the bar, below the tabs.
gfx::Rect left_bar_list_rect(const gfx::Rect& bar);

}  // namespace nd
