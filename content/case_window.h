// The Case window: the content-editor panel (panel 9) showing one Case in
// four tabs: information, links, resources and content. The content tab is
// the editor; keys reach it while the window is the front panel. The board
// opens the window (a double click on a card), runs its step once a frame,
// hands it dropped files and its menu commands, and closes it at exit;
// closing saves what changed.
#pragma once

#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "session/view_state.h"

namespace nd::content {

enum CaseTab : int { kTabInfo = 0, kTabLinks = 1, kTabResources = 2, kTabContent = 3 };

// Where the editor keeps its files: the workspace root and the program's
// temporary folder, each ending in '/'.
void set_case_window_folders(const std::string& root, const std::string& temp_dir);

// Shows the Case `ref` in the window at `rect`, on `tab`. A Case shown
// before is closed (and its changes saved) first. Returns 0, or -1 when
// `ref` names no loaded Case.
[[nodiscard]] int open_case_window(const nd::CaseRef& ref, const gfx::Rect& rect, int tab);
// Closes the window and writes every Case whose content changed.
void close_case_window();
// The same when the program ends: pictures of a paste still being stored
// are waited for (a few seconds at most) and go into the content first, so
// what the user pasted is not dropped.
void close_case_window_at_exit();
bool case_window_open();
// The Case shown (only meaningful while open).
const nd::CaseRef& case_window_case();
int case_window_tab();
// The window's rectangle on the board while it is open.
gfx::Rect case_window_rect();

// Once a frame: the answer of a paste, pictures stored meanwhile, fetched
// link titles, messages for the user and the caret's blink.
void case_window_step(int blink_phase);

// Files let go over the window (true: it took them, on its content tab).
bool case_window_drop(int x, int y, const std::vector<std::string>& paths);
// The records shown changed elsewhere (a menu command): lay out again.
void case_window_refresh();
// Copy and paste for the menu's items 11 and 12 (the same as Ctrl+C and
// Ctrl+V on the content tab).
void case_window_copy();
void case_window_paste();
// Shows a message (GBK) for the user in the open window.
void case_window_tell(const std::string& gbk);
// True while the editor holds a message for the user.
const std::string& case_window_message();

}  // namespace nd::content
