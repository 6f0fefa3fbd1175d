#include "app/start/layout.h"

namespace nd::start {

HitResult hit_list_page(int x, int y, int count, int first_visible) {
    using namespace layout;
    if (kClose.contains(x, y)) return {Hit::kClose};
    if (kMinimise.contains(x, y)) return {Hit::kMinimise};
    if (kNew.contains(x, y)) return {Hit::kNew};
    if (kOpen.contains(x, y)) return {Hit::kOpen};
    for (int k = 0; k < kHelpLinks; ++k) {
        if (kHelp[k].contains(x, y)) return {Hit::kHelp, k};
    }
    if (count > kVisibleRows) {
        if (kScrollUp.contains(x, y)) return {Hit::kScrollUp};
        if (kScrollDown.contains(x, y)) return {Hit::kScrollDown};
    }
    for (int slot = 0; slot < kVisibleRows; ++slot) {
        int index = first_visible + slot;
        if (index >= count) break;
        if (row_rect(slot).contains(x, y)) return {Hit::kRow, index};
    }
    return {};
}

HitResult hit_entry(int x, int y) {
    using namespace layout;
    if (kEntryOk.contains(x, y)) return {Hit::kEntryOk};
    if (kEntryCancel.contains(x, y)) return {Hit::kEntryCancel};
    if (kEntryField.contains(x, y)) return {Hit::kEntryField};
    if (kClose.contains(x, y)) return {Hit::kClose};
    return {};
}

}  // namespace nd::start
