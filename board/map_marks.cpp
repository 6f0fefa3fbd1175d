#include "board/map_marks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "board/cards.h"
#include "board/main_view.h"
#include "store/cases.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd {

namespace {

int mark_count(const CaseRecord& record) {
    return std::min<int>(record.map_mark_count, kMaxMapMarks);
}

bool ends_at(const CaseRecord& record, int link, const MapMark& mark) {
    const LinkDetail d = link_detail(record, link);
    return d.kind == kLinkMapMark && d.mark_x == mark.x && d.mark_y == mark.y;
}

// Links are walked from the back, so removing one never skips the next.
int remove_links_to(CaseRecord& record, const LocationRef& map, const MapMark& mark) {
    int removed = 0;
    for (int j = link_count(record) - 1; j >= 0; --j) {
        if (same_location(record.link_locations[j], map) && ends_at(record, j, mark)) {
            remove_link(record, static_cast<uint32_t>(j));
            ++removed;
        }
    }
    return removed;
}

}  // namespace

int mark_at(const CaseRecord& record, int x, int y) {
    for (int i = 0; i < mark_count(record); ++i) {
        const MapMark& m = record.map_marks[i];
        if (std::abs(x - m.x) <= kMarkReach && std::abs(y - m.y) <= kMarkReach) return i;
    }
    return -1;
}

bool add_mark(CaseRecord& record, int x, int y) {
    const int n = mark_count(record);
    if (n >= kMaxMapMarks) return false;
    record.map_marks[n] = MapMark{static_cast<int16_t>(x), static_cast<int16_t>(y)};
    record.map_mark_count = static_cast<uint16_t>(n + 1);
    return true;
}

int remove_mark(CaseRecord& record, const LocationRef& where, int index, LocationRef* changed,
                int* changed_count) {
    const int n = mark_count(record);
    *changed_count = 0;
    if (index < 0 || index >= n) return 0;
    const MapMark mark = record.map_marks[index];
    changed[(*changed_count)++] = where;
    int removed = 0;
    for (int i = std::min<int>(static_cast<int>(record.link_count), kMaxLinks) - 1; i >= 0; --i) {
        if (!ends_at(record, i, mark)) continue;
        const LocationRef other = record.link_locations[i];
        remove_link(record, static_cast<uint32_t>(i));
        ++removed;
        CaseRecord* far = other.flag == 0 ? find_case(other.group, other.board, other.slot) : nullptr;
        if (far && far != &record && remove_links_to(*far, where, mark) > 0) {
            changed[(*changed_count)++] = other;
        }
    }
    std::move(record.map_marks + index + 1, record.map_marks + n, record.map_marks + index);
    record.map_marks[n - 1] = MapMark{};
    record.map_mark_count = static_cast<uint16_t>(n - 1);
    return removed;
}

void start_mark_mode(MainView& view, bool remove) {
    if (view.z_count == 0) return;
    const int top = view.z_order[0];
    if (view.cards[static_cast<size_t>(top)].form != kFormMap) return;
    view.pointer.mark_mode = remove ? MarkMode::kRemove : MarkMode::kAdd;
    view.pointer.mark_card = top;
}

void mark_click(MainView& view, int index, int x, int y) {
    if (index != view.pointer.mark_card || index < 0 || index >= view.card_count) return;
    Card& card = view.cards[static_cast<size_t>(index)];
    if (card.form != kFormMap || !card.record) return;
    const int rx = x - card.rect.x, ry = y - card.rect.y;
    // Every Case a removal can touch: the map and one per link.
    LocationRef changed[kMaxLinks + 1];
    int count = 0;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        if (view.pointer.mark_mode == MarkMode::kAdd) {
            if (!add_mark(*card.record, rx, ry)) return;
            changed[count++] = card.ref.where;
        } else {
            const int mark = mark_at(*card.record, rx, ry);
            if (mark < 0) return;
            remove_mark(*card.record, card.ref.where, mark, changed, &count);
        }
        for (int i = 0; i < count; ++i) {
            static_cast<void>(save_case(0, changed[i].group, changed[i].board, changed[i].slot));
        }
    }
    for (int i = 0; i < count; ++i) {
        CaseRef ref;
        ref.where = changed[i];
        const int shown = find_card(view, ref);
        if (shown >= 0) refresh_card(view, shown);
    }
}

}  // namespace nd
