// The start page's transient state and how pointer and key input change it.
// The recent list itself belongs to the settings; the page only sees one
// flag pair per entry and answers with an action for the caller to carry out.
// Its targets are the kit's widgets, placed from layout.h.
#pragma once

#include <string>
#include <vector>

#include "app/start/layout.h"
#include "app/start/path_entry.h"
#include "gfx/window/window.h"
#include "ui/button.h"
#include "ui/list_view.h"

namespace nd::start {

struct RowFlags {
    bool in_use = false;
    bool locked = false;
};

enum class Mode {
    kList,      // the recent list, waiting for the user
    kChoosing,  // the file chooser program is open
    kEntry,     // the path entry stands in for the chooser
    kLoading,   // a workspace is loading; input is ignored
    kNotice,    // it has loaded; what opening it mended is shown until the user has read it
};

// The recent list's pane, rows and arrows.
constexpr ui::ListView recent_list_view() {
    return {.pane = layout::kList,
            .row_top = layout::kRowTop,
            .row_pitch = layout::kRowPitch,
            .row_height = layout::kRowHeight,
            .scroll_up = {layout::kScrollUp},
            .scroll_down = {layout::kScrollDown}};
}

struct StartState {
    Mode mode = Mode::kList;
    ui::ListView list = recent_list_view();  // its selection is the entry last clicked
    ui::Button new_button{layout::kNew};
    ui::Button open_button{layout::kOpen};
    ui::Button minimise{layout::kMinimise};
    ui::Button close{layout::kClose};
    ui::Button help[layout::kHelpLinks] = {{layout::kHelp[0]}, {layout::kHelp[1]}};
    // The path entry's buttons, and its field as a target of clicks.
    ui::Button entry_ok{layout::kEntryOk};
    ui::Button entry_cancel{layout::kEntryCancel};
    ui::Button entry_field{layout::kEntryField};
    ui::Button notice_ok{layout::kNoticeOk};
    std::vector<std::string> notice;  // GBK lines of the notice
    std::string message;  // GBK; a failure to show at the message line
    std::string detail;   // GBK; the file it concerns, on the line below
    PathEntry entry;
};

enum class ActionKind {
    kNone,
    kOpenRecent,  // index: the recent entry
    kChooseNew,
    kChooseOpen,
    kMinimise,
    kClose,
    kOpenHelp,       // index: the help link
    kSubmitEntry,    // the path entry's text is ready
    kDismissNotice,  // the notice was read: the workspace goes on to open
};

struct Action {
    ActionKind kind = ActionKind::kNone;
    int index = -1;
    bool operator==(const Action&) const = default;
};

// A click is a press and a release over the same target; any click clears
// the message.
Action start_mouse(StartState* state, const std::vector<RowFlags>& rows, const gfx::MouseMsg& msg);
// Keys go to the path entry while it shows: Enter submits, Esc goes back to
// the list. While the notice shows, Enter or Esc dismisses it, as its button
// does.
Action start_key(StartState* state, const gfx::KeyMsg& key);

// Keeps the scroll window inside a list of `count` entries.
void clamp_scroll(StartState* state, int count);
// Brings entry `index` into the scroll window.
void scroll_to(StartState* state, int count, int index);

// True when the selected entry is one another process holds open.
bool selected_in_use(const StartState& state, const std::vector<RowFlags>& rows);

}  // namespace nd::start
