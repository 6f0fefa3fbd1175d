#include "app/start/state.h"

#include <algorithm>

namespace nd::start {

namespace {

HitResult hit_for_mode(const StartState& state, int count, int x, int y) {
    if (state.mode == Mode::kEntry) return hit_entry(x, y);
    return hit_list_page(x, y, count, state.first_visible);
}

Action act_on_click(StartState* state, const std::vector<RowFlags>& rows, const HitResult& hit) {
    int count = static_cast<int>(rows.size());
    if (hit.what != Hit::kNone) {
        state->message.clear();
        state->detail.clear();
    }
    switch (hit.what) {
        case Hit::kRow:
            state->selected = hit.index;
            if (rows[hit.index].in_use) return {};
            return {ActionKind::kOpenRecent, hit.index};
        case Hit::kNew:
            return {ActionKind::kChooseNew};
        case Hit::kOpen:
            return {ActionKind::kChooseOpen};
        case Hit::kMinimise:
            return {ActionKind::kMinimise};
        case Hit::kClose:
            return {ActionKind::kClose};
        case Hit::kHelp:
            return {ActionKind::kOpenHelp, hit.index};
        case Hit::kScrollUp:
            scroll_by(state, count, -1);
            return {};
        case Hit::kScrollDown:
            scroll_by(state, count, 1);
            return {};
        case Hit::kEntryOk:
            return {ActionKind::kSubmitEntry};
        case Hit::kEntryCancel:
            state->mode = Mode::kList;
            return {};
        case Hit::kEntryField:
        case Hit::kNone:
            return {};
    }
    return {};
}

}  // namespace

void clamp_scroll(StartState* state, int count) {
    int last_first = std::max(0, count - layout::kVisibleRows);
    state->first_visible = std::clamp(state->first_visible, 0, last_first);
    if (state->selected >= count) state->selected = -1;
}

void scroll_by(StartState* state, int count, int rows) {
    state->first_visible += rows;
    clamp_scroll(state, count);
}

void scroll_to(StartState* state, int count, int index) {
    if (index < state->first_visible) state->first_visible = index;
    if (index >= state->first_visible + layout::kVisibleRows) {
        state->first_visible = index - layout::kVisibleRows + 1;
    }
    clamp_scroll(state, count);
}

bool selected_in_use(const StartState& state, const std::vector<RowFlags>& rows) {
    return state.selected >= 0 && state.selected < static_cast<int>(rows.size()) &&
           rows[state.selected].in_use;
}

Action start_mouse(StartState* state, const std::vector<RowFlags>& rows, const gfx::MouseMsg& msg) {
    if (state->mode == Mode::kLoading || state->mode == Mode::kChoosing) return {};
    int count = static_cast<int>(rows.size());
    HitResult hit = hit_for_mode(*state, count, msg.x, msg.y);
    state->hover = hit;
    if (msg.kind & gfx::kMouseWheel) {
        if (state->mode == Mode::kList && layout::kList.contains(msg.x, msg.y)) {
            scroll_by(state, count, msg.wheel > 0 ? -1 : 1);
            state->hover = hit_for_mode(*state, count, msg.x, msg.y);
        }
        return {};
    }
    if (!(msg.flags & gfx::kMouseLeft) && !(msg.kind & gfx::kMouseUp)) return {};
    if ((msg.kind & gfx::kMouseDown) && (msg.flags & gfx::kMouseLeft)) {
        state->pressed = hit;
        return {};
    }
    if (msg.kind & gfx::kMouseUp) {
        HitResult pressed = state->pressed;
        state->pressed = {};
        if (pressed == hit) return act_on_click(state, rows, hit);
    }
    return {};
}

Action start_key(StartState* state, const gfx::KeyMsg& key) {
    if (state->mode != Mode::kEntry) return {};
    switch (entry_key(&state->entry, key)) {
        case EntryResult::kSubmit:
            return {ActionKind::kSubmitEntry};
        case EntryResult::kCancel:
            state->mode = Mode::kList;
            return {};
        case EntryResult::kNone:
            return {};
    }
    return {};
}

}  // namespace nd::start
