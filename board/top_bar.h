// The top bar: the window's own caption buttons (minimise, size, maximise or
// restore, close, menu) and the bar's buttons for the board and the selected
// Case, over the board at top_bar_rect() (board/layout.h). Its pointer input
// arrives with hit code -5; a click on the close button sets
// MainView::close_requested.
#pragma once

#include <array>

#include "gfx/gfx.h"
#include "gfx/window/window.h"
#include "skins/skin.h"
#include "ui/button.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// The bar's buttons, left to right.
enum TopButton : int {
    kTopLogo,        // the small logo button: "检查更新", "关于 Nodrel (A)"
    kTopArrange,     // the arrangements of the board
    kTopColour,      // the selected Case's colour ...
    kTopKind,        // ... kind,
    kTopImportance,  // importance,
    kTopDifficulty,  // difficulty
    kTopCognition,   // and cognition, shown while a Case is selected
    kTopMenu,        // the main menu: window size, lock, quit
    kTopOptions,     // the options panel
    kTopMinimise,
    kTopSize,
    kTopMaximise,  // maximise, or restore while maximised
    kTopClose,
    kTopButtonCount,
};

// Where each button lies now; a Case's buttons are empty while none is
// selected.
struct TopBarPlaces {
    std::array<gfx::Rect, kTopButtonCount> rects{};
    // The Case buttons' labels carry their names ("类型：…"); in a window
    // too narrow for them they show the values alone.
    bool named_labels = true;
};

struct TopBarState {
    std::array<ui::Button, kTopButtonCount> buttons{};
    int pressed = -1;               // the button under a press, until the release
    SkinPictures top;               // TOP_*
    SkinPictures tools;             // T_*
    SkinPictures logo;              // ABOUT_LOGO, ABOUT_LOGO_SMALL
    gfx::IMAGE* badge = nullptr;    // STATUS_BREAK, on the logo while an update is offered
    gfx::IMAGE* bar = nullptr;      // the bar's background at the window's width
    gfx::IMAGE* measure = nullptr;  // where label texts are measured
};

// Places the bar's buttons for the window width.
void top_bar_layout(MainView& view);
// Where the buttons lie for the current window and selected Case.
TopBarPlaces top_bar_places(const MainView& view);
// The menu object (session/menu_objects.h) of the button at (x, y), or 0
// for a point on no button with a menu.
int top_bar_menu_object(const MainView& view, int x, int y);
// A pointer message over the bar, or one that follows a press on it. True
// when the bar used it.
bool top_bar_pointer(MainView& view, const gfx::MouseMsg& msg);
void draw_top_bar(const MainView& view, gfx::IMAGE* canvas);
void top_bar_skin_changed(MainView& view);
void free_top_bar(MainView& view);

}  // namespace nd
