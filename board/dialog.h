// The dialog seam: at most one dialog (new category, new Case, password,
// window size, options ...) or the rename dialog is open over the board.
// Each dialog's file fills a DialogHooks and opens itself here; the board
// routes input to it and draws it in the frame's menu-or-dialog stage.
#pragma once

#include "gfx/gfx.h"
#include "gfx/window/window.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// Any hook may be null; the board then skips that step.
struct DialogHooks {
    // A pointer message while the dialog is open. True when it used it.
    bool (*pointer)(MainView& view, const gfx::MouseMsg& msg) = nullptr;
    // An editing key code (ui/keys.h); dialogs take every key while open.
    void (*key)(MainView& view, int code) = nullptr;
    void (*draw)(const MainView& view, gfx::IMAGE* canvas) = nullptr;
    // The dialog is being closed from outside (the board is left).
    void (*closing)(MainView& view) = nullptr;
    // Once a frame, before input: work the dialog waits for (a clipboard
    // read).
    void (*tick)(MainView& view) = nullptr;
};

// The rename dialog has a slot number of its own beside the dialog kinds.
inline constexpr int kDialogNone = 0;
inline constexpr int kDialogRename = 100;

struct DialogSlot {
    int kind = kDialogNone;
    const DialogHooks* hooks = nullptr;
    void* state = nullptr;  // the dialog's own, owned by its file
};

bool dialog_is_open(const MainView& view);
bool rename_dialog_open(const MainView& view);
// Opens a dialog, closing any open one and the menu first.
void open_dialog(MainView& view, int kind, const DialogHooks* hooks, void* state);
void close_dialog(MainView& view);
void draw_dialog(const MainView& view, gfx::IMAGE* canvas);
// The open dialog's tick, once a frame.
void dialog_tick(MainView& view);

}  // namespace nd
