#include "board/link_gesture.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "analysis/panels.h"
#include "analysis/report_panel.h"
#include "board/cards.h"
#include "board/command_case.h"
#include "board/hit_codes.h"
#include "board/left_bar.h"
#include "board/main_view.h"
#include "board/map_marks.h"
#include "board/pointer.h"
#include "content/case_window.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd {

namespace {

// The three link tables of a record and their count, to put a record's
// links back when its partner could not be written.
struct LinkTables {
    uint32_t count = 0;
    RecordKey keys[kMaxLinks];
    LocationRef locations[kMaxLinks];
    uint8_t extra[kMaxLinks][16];
};

void keep(const CaseRecord& r, LinkTables& t) {
    t.count = r.link_count;
    std::memcpy(t.keys, r.link_keys, sizeof t.keys);
    std::memcpy(t.locations, r.link_locations, sizeof t.locations);
    std::memcpy(t.extra, r.link_extra, sizeof t.extra);
}

void put_back(CaseRecord& r, const LinkTables& t) {
    r.link_count = t.count;
    std::memcpy(r.link_keys, t.keys, sizeof t.keys);
    std::memcpy(r.link_locations, t.locations, sizeof t.locations);
    std::memcpy(r.link_extra, t.extra, sizeof t.extra);
}

CaseRecord* loaded(const CaseRef& ref) {
    if (ref.where.flag != 0) return nullptr;
    MenuTarget target;
    target.target = ref;
    return command_case(target);
}

// The first link of `record` to the Case `to`, or -1.
int find_link(const CaseRecord& record, const CaseRef& to) {
    for (int i = 0; i < link_count(record); ++i) {
        if (same_location(record.link_locations[i], to.where) &&
            same_item(record.link_keys[i], to.key)) {
            return i;
        }
    }
    return -1;
}

int save(const LocationRef& at) {
    return save_case(0, at.group, at.board, at.slot);
}

void refresh_shown(MainView& view, const CaseRef& ref) {
    const int card = find_card(view, ref);
    if (card >= 0) refresh_card(view, card);
}

}  // namespace

bool link_gesture_active(const MainView& view) {
    return view.link.state != kLinkIdle;
}

void start_link_gesture(MainView& view, const CaseRef& source, int x, int y, int origin, int row) {
    view.link.state =
        origin >= kLinkFromCard && origin <= kLinkFromAssessment ? origin : kLinkFromCard;
    view.link.source = source;
    view.link.source_row = row;
    view.link.start_x = x;
    view.link.start_y = y;
    request_redraw(view);
}

void cancel_link_gesture(MainView& view) {
    if (view.link.state != kLinkIdle) request_redraw(view);
    view.link = LinkGesture{};
}

bool link_target_at(const MainView& view, int x, int y, CaseRef* target, int* mark) {
    *mark = -1;
    const int hit = hit_test(view, x, y);
    switch (hit) {
        // A search result or timeline entry under the pointer.
        case kPanelSearch:
        case kPanelTimeline: {
            int anchor_x = 0, anchor_y = 0;
            return analysis_case_at(hit, x, y, target, &anchor_x, &anchor_y);
        }
        case kPanelAssessment:
            return report_selected_case(target);
        case kPanelLeftBar:
            return left_bar_selected_case(target);
        // The Case window stands for its own Case.
        case kPanelContentEditor:
            if (!content::case_window_open()) return false;
            *target = content::case_window_case();
            return true;
        default:
            break;
    }
    if (!hit_is_card(hit)) return false;
    const Card& card = view.cards[size_t(card_of_hit(hit))];
    if (!card.record) return false;
    *target = card.ref;
    if (card.form != kFormMap) return true;
    const CaseRecord& map = *card.record;
    const int at = mark_at(map, x - card.rect.x, y - card.rect.y);
    if (at < 0) return true;
    const MapMark& m = map.map_marks[at];
    for (int i = 0; i < link_count(map); ++i) {
        const LinkDetail d = link_detail(map, i);
        if (d.kind == kLinkMapMark && d.mark_x == m.x && d.mark_y == m.y) {
            target->where = map.link_locations[i];
            target->key = map.link_keys[i];
            return true;
        }
    }
    *mark = at;
    return true;
}

LinkChange toggle_link(const CaseRef& a, const CaseRef& b, const MapMark* mark) {
    if (same_location(a.where, b.where)) return LinkChange::kNone;
    std::lock_guard<std::mutex> hold(StorageLock);
    CaseRecord* ra = loaded(a);
    CaseRecord* rb = loaded(b);
    if (!ra || !rb) return LinkChange::kNotLoaded;
    // Both tables are kept whole: 70 links of three tables each is small
    // beside a record, and a failed save must leave no trace.
    LinkTables kept_a, kept_b;
    keep(*ra, kept_a);
    keep(*rb, kept_b);
    const int ia = find_link(*ra, b);
    const int ib = find_link(*rb, a);
    LinkChange change;
    if (ia >= 0 || ib >= 0) {
        if (ia >= 0) remove_link(*ra, uint32_t(ia));
        if (ib >= 0) remove_link(*rb, uint32_t(ib));
        change = LinkChange::kRemoved;
    } else {
        if (link_count(*ra) >= kMaxLinks || link_count(*rb) >= kMaxLinks) return LinkChange::kFull;
        static_cast<void>(add_link(*ra, b.key, b.where, false, mark));
        static_cast<void>(add_link(*rb, a.key, a.where, false, mark));
        change = LinkChange::kAdded;
    }
    if (save(a.where) != 0) {
        put_back(*ra, kept_a);
        put_back(*rb, kept_b);
        std::fprintf(stderr, "nodrel: a Case cannot be written; the link is not changed\n");
        return LinkChange::kUnsaved;
    }
    if (save(b.where) != 0) {
        put_back(*ra, kept_a);
        put_back(*rb, kept_b);
        // The first side is on disk already and goes back as it was.
        if (save(a.where) != 0) {
            std::fprintf(stderr,
                         "nodrel: two linked Cases cannot be written; they disagree on disk "
                         "until the next save\n");
        } else {
            std::fprintf(stderr, "nodrel: a Case cannot be written; the link is not changed\n");
        }
        return LinkChange::kUnsaved;
    }
    return change;
}

void complete_link_gesture(MainView& view, int x, int y) {
    const LinkGesture gesture = view.link;
    cancel_link_gesture(view);
    CaseRef target;
    int mark_index = -1;
    if (gesture.state == kLinkIdle || !link_target_at(view, x, y, &target, &mark_index)) return;
    MapMark mark{};
    const MapMark* to_mark = nullptr;
    if (mark_index >= 0) {
        // A link to a map mark is made only between Cases of the board shown.
        const CaseRecord* map = loaded(target);
        if (!map || !on_shown_board(gesture.source.where) || !on_shown_board(target.where)) return;
        mark = map->map_marks[mark_index];
        to_mark = &mark;
    }
    const LinkChange change = toggle_link(gesture.source, target, to_mark);
    if (change != LinkChange::kAdded && change != LinkChange::kRemoved) return;
    refresh_shown(view, gesture.source);
    refresh_shown(view, target);
    refresh_panels_later(panel_bit(kPanelTimeline) | panel_bit(kPanelContentEditor) |
                         panel_bit(kPanelAssessment));
}

int set_link_relation(const CaseRef& of, int index, bool tight) {
    std::lock_guard<std::mutex> hold(StorageLock);
    CaseRecord* record = loaded(of);
    if (!record || index < 0 || index >= link_count(*record)) return -1;
    LinkDetail detail = link_detail(*record, index);
    const uint16_t before = detail.relation;
    detail.relation = tight ? kRelationTight : kRelationLoose;
    std::memcpy(record->link_extra[index], &detail, sizeof detail);
    const int status = save(of.where);
    if (status != 0) {
        detail.relation = before;
        std::memcpy(record->link_extra[index], &detail, sizeof detail);
    }
    return status;
}

}  // namespace nd
