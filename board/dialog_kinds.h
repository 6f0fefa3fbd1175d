// The kinds of the board's dialog object and what each one is: its place on
// the screen, its text fields and their byte limits, its title and what
// Enter does. A new kind is one row of the table in dialog_kinds.cpp (and
// its number here); the dialog object (form_dialog.h) does the rest.
#pragma once

#include <array>

#include "gfx/gfx.h"
#include "gfx/window/window.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;
struct FormDialog;

// The kind numbers, as the open-dialog slot holds them.
inline constexpr int kDialogNewCategory = 1;
inline constexpr int kDialogNewCase = 2;
inline constexpr int kDialogSetPassword = 3;
inline constexpr int kDialogChangePassword = 4;
inline constexpr int kDialogUnlock = 5;
// 6 is the options panel and 7 the second side panel; they come with the
// options and are not rows of the table yet.
inline constexpr int kDialogOptions = 6;
inline constexpr int kDialogSidePanel = 7;
inline constexpr int kDialogWindowSize = 8;
inline constexpr int kDialogAddResource = 10;

inline constexpr int kDialogMaxFields = 3;
// The OK button.
inline constexpr int kDialogOkWidth = 100;
inline constexpr int kDialogOkHeight = 32;

// Where a dialog of one kind lies for a window of W x H opened at the
// anchor A: its box, its OK button (empty when it has none) and its text
// fields (each field's text starts 8 pixels inside its rectangle).
struct DialogGeometry {
    gfx::Rect box;
    gfx::Rect ok;
    int field_count = 0;
    std::array<gfx::Rect, kDialogMaxFields> fields{};
};

struct DialogKind {
    int kind = 0;
    // The most bytes each field's text holds: the room of the record field
    // the text goes into, less its terminating zero.
    int max_bytes = 0;
    // Password kinds show one '*' per byte, refuse the clipboard, and a click
    // on a field moves the focus there.
    bool password = false;
    DialogGeometry (*layout)(int width, int height, int anchor_x, int anchor_y) = nullptr;
    // The title (GBK) for the dialog's argument; null for none.
    const char* (*title)(int argument) = nullptr;
    // Enter or OK: does the dialog's task; true when it is done and the
    // dialog closes, false when it stays (its message says why, if anything).
    bool (*confirm)(MainView& view, FormDialog& dialog) = nullptr;
    // What the kind draws inside its box besides the fields; may be null.
    void (*draw)(const MainView& view, const FormDialog& dialog, gfx::IMAGE* canvas) = nullptr;
};

// The row of `kind`, or null for a number that is no kind of the table.
const DialogKind* dialog_kind(int kind);

}  // namespace nd
