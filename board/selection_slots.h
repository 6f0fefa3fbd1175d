// The Ctrl selection list: up to ten Cases picked with Ctrl and a click,
// shown as bars under the top bar's slots.
#pragma once

#include <array>
#include <cstdint>

#include "gfx/gfx.h"
#include "store/records.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

inline constexpr int kCtrlListRoom = 10;

struct CtrlEntry {
    int64_t identity = 0;  // key_time_value() of the Case's creation key
    LocationRef where{};
};

struct CtrlList {
    std::array<CtrlEntry, kCtrlListRoom> entries{};
    int count = 0;
};

// Removes the Case when it is in the list (same identity and place; later
// entries move up), else appends it. A full list (ten entries) is left unchanged, whichever Case.
// True when the list changed.
bool ctrl_list_toggle(CtrlList* list, int64_t identity, const LocationRef& where);

void draw_selection_slots(const MainView& view, gfx::IMAGE* canvas);

}  // namespace nd
