// The board's dialog object: one small modal box for every text-entry task
// of the board (a new category or Case, a resource, the password dialogs,
// unlocking, the window size). Its kinds are the rows of dialog_kinds.h;
// this file holds the one open dialog's state, its input and its drawing.
//
// Text entry is the text field's (ui/text_field.h): whole GBK characters,
// the middle dot, Ctrl+A. Tab, Up and Down move the focus between fields,
// Esc closes (the unlock dialog ignores it), Enter confirms by kind. Ctrl+C
// and Ctrl+V go through the window's clipboard, which answers a read on a
// later frame: the pasted text lands when it does. Password kinds refuse
// both. The box can be dragged by its title strip.
#pragma once

#include <array>
#include <string>

#include "board/dialog_kinds.h"
#include "gfx/gfx.h"
#include "gfx/window/window.h"
#include "session/view_state.h"
#include "ui/button.h"
#include "ui/dialog_frame.h"
#include "ui/text_field.h"

namespace nd {

// The password kinds' messages.
enum DialogMessage : int {
    kMessageNone = -1,
    kMessageMismatch = 0,   // "两次密码不同"
    kMessageNoPassword = 1,  // "没有密码"
    kMessageWrongOld = 2,   // "原密码不正确"
    kMessageWrong = 3,      // "密码不正确"
};

struct FormDialog {
    int kind = 0;
    int argument = -1;  // kind 1: the category slot (-1 append); kind 2: the Case kind code
    ui::DialogFrame frame;
    ui::Button ok;
    bool has_ok = false;
    std::array<ui::TextField, kDialogMaxFields> fields{};
    std::array<gfx::Rect, kDialogMaxFields> field_rects{};
    int field_count = 0;
    int focus = 0;
    int message = kMessageNone;
    CaseRef target;  // kind 10: the Case the resource goes to
    // Dragging the box by its title strip: the press point's offset in it.
    bool dragging = false;
    int drag_dx = 0;
    int drag_dy = 0;
    int paste_ticket = 0;  // a clipboard read under way (0 none)
};

// Opens a dialog of `kind` (a row of dialog_kinds.h) with its argument at
// the anchor, closing any open dialog and the menu: the fields are cleared,
// the geometry is the kind's, the first field has the focus.
void open_form_dialog(MainView& view, int kind, int argument, int anchor_x, int anchor_y);

// The open dialog object, or null when none (or another dialog) is open.
FormDialog* form_dialog(MainView& view);
const FormDialog* form_dialog(const MainView& view);

// The text of field `index` of the open dialog.
const std::string& form_field_text(const FormDialog& dialog, int index);

// The message's text (GBK), or null.
const char* dialog_message_text(int message);

// What the board calls: one editing key code (ui/keys.h), one pointer
// message (true when the dialog used it), and once a frame the clipboard
// poll of a paste under way.
void form_dialog_key(MainView& view, int code);
bool form_dialog_pointer(MainView& view, const gfx::MouseMsg& msg);
void form_dialog_tick(MainView& view);

}  // namespace nd
