// A card: one Case of the current whiteboard as the board shows it. Cards
// point into the workspace tables and never own records; their rectangle is
// in screen pixels, so panning moves every unpinned card with the origin.
#pragma once

#include <array>
#include <cstdint>

#include "gfx/rect.h"
#include "session/view_state.h"
#include "store/records.h"

namespace nd {

// The smallest window-form card; its grip sits 10 pixels in from the
// bottom-right corner.
inline constexpr int kWindowCardMinWidth = 232;
inline constexpr int kWindowCardMinHeight = 225;
inline constexpr int kWindowCardGrip = 10;
// A title-form card is its title's extent in "微软雅黑" 16 px plus this much
// in width and in height.
inline constexpr int kTitlePadding = 14;
inline constexpr int kTitleFontSize = 16;
// A card shows at most this much of its title (less one byte for the end):
// more than any window is wide.
inline constexpr int kCardTitleRoom = 256;

// A link as the card draws it: the Case it points at on this board (by
// card index), and how.
struct CardLink {
    int target_slot = -1;  // the target's slot on the current board, -1 when elsewhere
    uint8_t kind = kLinkOrdinary;
    int16_t mark_x = -1;  // for kLinkMapMark: the mark's place on the target map
    int16_t mark_y = -1;
    uint16_t relation = kRelationLoose;
};

struct Card {
    int slot = -1;  // the Case's slot in the CaseTable row of the current board
    CaseRef ref;
    CaseRecord* record = nullptr;  // owned by the tables
    gfx::Rect rect;                // on the screen
    int form = kFormTitle;         // CaseForm, as shown
    int saved_form = kFormTitle;   // the form before zooming out
    int board_x = 0;  // its place in board units, which the screen place follows
    int board_y = 0;
    bool pinned = false;  // keeps its screen place while the board pans
    int first_line = 0;  // a window card's content scrolled by the wheel
    char title[kCardTitleRoom] = {};  // the start of the Case's title, GBK, zero-terminated
    int title_width = 0;              // its text extent at 16 px
    int cell_column = 0;  // the board cell it lies in
    int cell_row = 0;
    std::array<CardLink, kMaxLinks> links{};
    int link_count = 0;
};

}  // namespace nd
