// Making things on the board: a new Case, a new category and a new
// resource, through the dialog object or at once, and the commands that
// open their dialogs.
#pragma once

#include "session/view_state.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;
struct FormDialog;

// The Case kind code a new Case is made with when none is chosen: a plain
// Case with no kind.
inline constexpr int kPlainCaseCode = 102;

// Makes a Case on the board shown, under StorageLock: titled `title`, of
// kind `code` (101 object, 103 person, 106 event, 110 task; 102 plain, no
// kind), placed at the middle of the board view, with three line feeds as
// its content; its card is appended and brought to the top. Returns the new
// card's hit code, or -1 when the board holds 80 Cases or a file could not
// be written (nothing is made then).
int create_case_on_board(MainView& view, const char* title, int code);

// Adds a category (a whiteboard of `group`) named `name` at the free slot
// `slot`, or at the first free one for -1. Returns its slot, or -1 when the
// group holds 80 categories, the slot is taken or the files could not be
// written.
int create_category(int group, int slot, const char* name);

// Appends a resource named `name` with value 0 to the Case `target` and
// saves it. 0; -1 when the Case is not loaded or holds 30 resources; or the
// store's status when it could not be written (the resource is taken back).
int add_resource(const CaseRef& target, const char* name);

// Opens the new-Case dialog for a Case of kind `code`, or with the option
// "快速建立便签" on makes a plain Case with an empty title at once.
void new_case(MainView& view, int code);

// The confirms of dialog kinds 1, 2 and 10.
bool confirm_new_category(MainView& view, FormDialog& dialog);
bool confirm_new_case(MainView& view, FormDialog& dialog);
bool confirm_add_resource(MainView& view, FormDialog& dialog);

}  // namespace nd
