// Requests to the board from the views that cannot act on the board
// themselves: content and analysis panels never include board/, so a search
// result that jumps to a Case, a timeline click that switches boards, or an
// editor that wants the context menu of an attribute posts a request here,
// and the board carries the requests out at the start of its next frame,
// oldest first.
//
// Main thread only, like every panel. The queue has fixed room and costs no
// allocation.
#pragma once

#include <cstdint>

#include "session/view_state.h"

namespace nd {

enum class RequestKind : int32_t {
    kJumpToCase,     // show `target`, switching boards when it is on another
    kSwitchBoard,    // make target.where's group and board current
    kContextMenu,    // open the menu of `object` (a hit code) for `target` at (x, y)
    kStartLink,      // start the link gesture from `target`, the pointer at (x, y);
                     // `object` is the source's origin (2 content editor ... 6
                     // assessment entry; 0 or 1 a card)
    kRefreshPanels,  // the panels in `panels` show changed data
};

struct BoardRequest {
    RequestKind kind = RequestKind::kRefreshPanels;
    CaseRef target;
    int32_t object = 0;
    int32_t x = 0;
    int32_t y = 0;
    uint32_t panels = 0;  // one bit (1 << id) per panel; 0 for every panel
};

BoardRequest jump_to_case(const CaseRef& target);
BoardRequest switch_board(int32_t group, int32_t board);
BoardRequest context_menu(int32_t object, const CaseRef& target, int32_t x, int32_t y);
BoardRequest start_link(const CaseRef& origin, int32_t x, int32_t y);
BoardRequest refresh_panels(uint32_t panels);

inline constexpr int kRequestRoom = 32;
inline constexpr int kRequestPosted = 0;
inline constexpr int kRequestQueueFull = -1;  // nothing was queued

[[nodiscard]] int post_request(const BoardRequest& request);
// The oldest request, taken out of the queue; false when there is none.
bool take_request(BoardRequest* request);
// Drops every request (the board is going away).
void clear_requests();

}  // namespace nd
