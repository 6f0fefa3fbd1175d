#include "session/requests.h"

#include <array>

namespace nd {

namespace {

struct Queue {
    std::array<BoardRequest, kRequestRoom> ring{};
    int first = 0;
    int count = 0;
};

Queue& queue() {
    static Queue q;
    return q;
}

}  // namespace

BoardRequest jump_to_case(const CaseRef& target) {
    BoardRequest r;
    r.kind = RequestKind::kJumpToCase;
    r.target = target;
    return r;
}

BoardRequest switch_board(int32_t group, int32_t board) {
    BoardRequest r;
    r.kind = RequestKind::kSwitchBoard;
    r.target.where = {0, group, board, -1};
    return r;
}

BoardRequest context_menu(int32_t object, const CaseRef& target, int32_t x, int32_t y) {
    BoardRequest r;
    r.kind = RequestKind::kContextMenu;
    r.object = object;
    r.target = target;
    r.x = x;
    r.y = y;
    return r;
}

BoardRequest start_link(const CaseRef& source, int32_t origin, int32_t x, int32_t y) {
    BoardRequest r;
    r.kind = RequestKind::kStartLink;
    r.target = source;
    r.object = origin;
    r.x = x;
    r.y = y;
    return r;
}

BoardRequest refresh_panels(uint32_t panels) {
    BoardRequest r;
    r.kind = RequestKind::kRefreshPanels;
    r.panels = panels;
    return r;
}

int post_request(const BoardRequest& request) {
    Queue& q = queue();
    if (q.count == kRequestRoom) return kRequestQueueFull;
    q.ring[static_cast<size_t>((q.first + q.count) % kRequestRoom)] = request;
    ++q.count;
    return kRequestPosted;
}

bool take_request(BoardRequest* request) {
    Queue& q = queue();
    if (q.count == 0) return false;
    *request = q.ring[static_cast<size_t>(q.first)];
    q.first = (q.first + 1) % kRequestRoom;
    --q.count;
    return true;
}

void clear_requests() {
    queue() = Queue{};
}

}  // namespace nd
