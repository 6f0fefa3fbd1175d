// The Case window's state and geometry, shared by its files. Not part of
// its surface (case_window.h is).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "content/editor.h"
#include "content/window_clipboard.h"
#include "gfx/gfx.h"
#include "session/view_state.h"

namespace nd::content::detail {

inline constexpr int kCaptionHeight = 30;
inline constexpr int kTabWidth = 40;
inline constexpr int kTabHeight = 25;
inline constexpr int kTabLeft = 6;
inline constexpr int kBodyTop = kCaptionHeight + kTabHeight + 4;  // from the window's top
inline constexpr int kBodyInset = 6;
inline constexpr int kRowStep = 38;
inline constexpr int kInfoTop = 15;
inline constexpr int kLinksTop = 6;
inline constexpr int kResourcesTop = 6;
inline constexpr int kMessageHeight = 22;
inline constexpr int kCloseSize = 20;
// The +/- buttons of a hovered resource row: their left edges lie this far
// from the row's right end.
inline constexpr int kAddButtonFromRight = 57;
inline constexpr int kSubtractButtonFromRight = 35;
inline constexpr int kOverlayButtonSize = 20;

// A web link waiting for the title fetcher.
struct LinkFetch {
    int ticket = 0;
    content::CaseRef ref;
    int slot = -1;
    std::string address;
};

struct CaseWindow {
    bool open = false;
    nd::CaseRef ref;
    gfx::Rect rect;
    int tab = 3;  // kTabContent
    int hovered = -1;         // row under the pointer on the current tab
    int hovered_button = 0;   // +1 / -1: the add or subtract button of that row
    int first_row[3] = {0, 0, 0};  // first visible row of the information, links and resources tabs
    bool pressed_editor = false;
    EditorEnv env;
    EditorState editor;
    WindowClipboard clipboard;
    std::vector<LinkFetch> fetches;
    std::string message;  // GBK
    uint64_t message_until = 0;
    int blink = 0;
};

CaseWindow& window();

// The window's parts, in board coordinates.
gfx::Rect close_button(const gfx::Rect& r);
gfx::Rect tab_rect(const gfx::Rect& r, int tab);
gfx::Rect body_rect(const CaseWindow& w);
// The record shown, or null when its slot no longer holds the Case.
CaseRecord* shown_record(const CaseWindow& w);

// Rows of the three list tabs: how many there are, and the row under a
// point of the body (-1 none).
int tab_rows(const CaseWindow& w, int tab);
int row_at(const CaseWindow& w, int x, int y);
// The overlay button under a point of the hovered resource row: +1, -1 or 0.
int overlay_button_at(const CaseWindow& w, int row, int x, int y);
gfx::Rect row_rect(const CaseWindow& w, int row);

// Drawing of the information, links and resources tabs (reads state only).
void draw_list_tab(const CaseWindow& w, gfx::IMAGE* canvas);

}  // namespace nd::content::detail
