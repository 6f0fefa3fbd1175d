#include "board/selection_slots.h"

#include <algorithm>

#include "board/colours.h"
#include "board/main_view.h"
#include "board/shapes.h"

namespace nd {

bool ctrl_list_toggle(CtrlList* list, int64_t identity, const LocationRef& where) {
    // A full list takes no Ctrl press at all, not even one that would
    // remove a Case.
    if (list->count >= kCtrlListRoom) return false;
    auto begin = list->entries.begin(), end = begin + list->count;
    // Cases made in the same second share their identity; the place tells
    // them apart.
    auto found = std::find_if(begin, end, [&](const CtrlEntry& e) {
        return e.identity == identity && e.where.group == where.group &&
               e.where.board == where.board && e.where.slot == where.slot;
    });
    if (found != end) {
        std::move(found + 1, end, found);
        list->entries[static_cast<size_t>(--list->count)] = CtrlEntry{};
        return true;
    }
    list->entries[static_cast<size_t>(list->count++)] = CtrlEntry{identity, where};
    return true;
}

// A 4-pixel bar, 40 wide, under each slot of the top bar that holds a Case.
void draw_selection_slots(const MainView& view, gfx::IMAGE* canvas) {
    for (int i = 0; i < view.ctrl_list.count; ++i) {
        fill_rect(canvas, gfx::Rect{77 + 52 * i, 83, 40, 4}, kSelectionSlotColour);
    }
}

}  // namespace nd
