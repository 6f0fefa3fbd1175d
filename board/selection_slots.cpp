#include "board/selection_slots.h"

#include "board/main_view.h"

namespace nd {

int64_t case_identity(const RecordKey& key) {
    return int64_t{key.year} * 10000000000 + int64_t{key.month} * 100000000 +
           int64_t{key.day} * 1000000 + int64_t{key.hour} * 10000 + int64_t{key.minute} * 100 +
           key.second;
}

bool ctrl_list_toggle(CtrlList*, int64_t, const LocationRef&) {
    return false;
}

void draw_selection_slots(const MainView&, gfx::IMAGE*) {}

}  // namespace nd
