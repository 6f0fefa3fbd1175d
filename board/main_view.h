// The main view: the board with its cards, links and floating panels, which
// the frame driver runs one step at a time. The program owns exactly one,
// made once a workspace is open and destroyed at exit; `nodrel-tool render`
// makes one of its own on an image.
//
// Every part of the board keeps its state here, in a struct of its own
// declared by its header; the parts reach each other through the functions
// of those headers.
#pragma once

#include <array>
#include <mutex>

#include "board/arrange.h"
#include "board/board_switch.h"
#include "board/card.h"
#include "board/dialog.h"
#include "board/exerciser.h"
#include "board/link_gesture.h"
#include "board/lock_screen.h"
#include "board/menu.h"
#include "board/pictures.h"
#include "board/pointer.h"
#include "board/selection_slots.h"
#include "board/top_bar.h"
#include "board/window_mgmt.h"
#include "board/zoom.h"
#include "gfx/gfx.h"
#include "session/app.h"
#include "session/main_view.h"
#include "session/view_state.h"

namespace nd {

// A card whose board position changed and is not saved yet. The autosave
// thread takes these under StorageLock, so they are only written under it.
struct PendingMove {
    bool pending = false;
    int32_t board_x = 0;
    int32_t board_y = 0;
};

struct MainViewState {
    App* app = nullptr;
    gfx::IMAGE* canvas = nullptr;   // where frames are composed
    bool on_screen = false;         // the program's view: frames go to the window
    gfx::IMAGE* measure = nullptr;  // holds the title font, for measuring titles
    BoardPictures pictures;
    int skin = -1;  // the skin the board's parts were last made for
    int width = 0;                 // W and H, the window's client size
    int height = 0;

    // The board shown: view_state().group and .board, its origin on the
    // screen and its cards.
    int origin_x = 0;
    int origin_y = 0;
    std::array<Card, kCaseSlots> cards{};
    int card_count = 0;
    std::array<int, kCaseSlots> slot_card{};  // the card of each slot, -1 for none
    // Card indices front to back; the first is the top (selected) card.
    std::array<int, kCaseSlots> z_order{};
    int z_count = 0;
    // One visibility switch per colour class.
    std::array<bool, 4> colour_shown{true, true, true, true};
    int cell_width = 100;  // the board cell of the current arrangement
    int cell_height = 100;
    // The group frames of the last grouping arrangement.
    ArrangeFrames arrange_frames;

    ExerciserState exerciser;
    ZoomState zoom;
    PointerState pointer;
    CtrlList ctrl_list;
    bool ctrl_held = false;  // from the hot-key step
    bool alt_held = false;

    MenuState menu;
    DialogSlot dialog;
    LockState lock;
    LinkGesture link;
    TopBarState top_bar;
    WindowState window;
    SwitchState switching;

    // The grip resize in progress: the size shown by the overlay.
    bool resizing = false;
    int resize_width = 0;
    int resize_height = 0;
    bool border = false;  // frame the window (after a grip resize or the size dialog)

    bool close_requested = false;  // the top bar's close button was used
    bool quit_requested = false;   // a command asked the program to end
    bool dirty = true;             // the next frame must be composed

    // Positions waiting for the autosave thread, by slot of the board they
    // belong to; StorageLock guards all three.
    std::array<PendingMove, kCaseSlots> moves{};
    int moves_group = -1;
    int moves_board = -1;
};

// Builds the view for the open workspace at the window size in `app`,
// drawing into the screen page, and starts showing the board the workspace
// was left on.
MainViewState* create_main_view(App& app);

// A view that draws into `canvas` (width x height) and shows board `board`
// of group `group`, for pictures of a board. `app` may be a record of the
// caller's own.
MainViewState* create_picture_view(App& app, gfx::IMAGE* canvas, int group, int board);
// Frees a view without saving anything.
void free_main_view(MainViewState* view);

// The board's steps for App::View (what each does: session/main_view.h).
const MainViewSteps& board_view_steps();

// The next frame composes the whole window again.
void request_redraw(MainView& view);

}  // namespace nd
