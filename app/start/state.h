// The start page's transient state and how pointer and key input change it.
// The recent list itself belongs to the settings; the page only sees one
// flag pair per entry and answers with an action for the caller to carry out.
#pragma once

#include <string>
#include <vector>

#include "app/start/layout.h"
#include "app/start/path_entry.h"
#include "gfx/window/window.h"

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
};

struct StartState {
    Mode mode = Mode::kList;
    int selected = -1;  // the entry last clicked
    int first_visible = 0;
    HitResult hover;
    HitResult pressed;
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
    kOpenHelp,     // index: the help link
    kSubmitEntry,  // the path entry's text is ready
};

struct Action {
    ActionKind kind = ActionKind::kNone;
    int index = -1;
    bool operator==(const Action&) const = default;
};

// A click is a press and a release over the same target.
Action start_mouse(StartState* state, const std::vector<RowFlags>& rows, const gfx::MouseMsg& msg);
Action start_key(StartState* state, const gfx::KeyMsg& key);

// Keeps the scroll window inside a list of `count` entries.
void clamp_scroll(StartState* state, int count);
void scroll_by(StartState* state, int count, int rows);
// Brings entry `index` into the scroll window.
void scroll_to(StartState* state, int count, int index);

// True when the selected entry is one another process holds open.
bool selected_in_use(const StartState& state, const std::vector<RowFlags>& rows);

}  // namespace nd::start
