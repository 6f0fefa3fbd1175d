#include "analysis/timeline.h"

#include <algorithm>
#include <cmath>

#include "analysis/links.h"
#include "analysis/report.h"
#include "base/gbk.h"
#include "gfx/gfx.h"
#include "store/keys.h"
#include "store/tables.h"

namespace nd {

namespace {

void rebuild_entries(Timeline& t) {
    t.entries.clear();
    t.curves.clear();
    for (int g = 0; g < kGroupSlots; ++g) {
        if (!Tables.group_boards[g]) continue;
        for (int b = 0; b < kBoardSlots; ++b) {
            if (!find_board(g, b)) continue;
            for (int s = 0; s < kCaseSlots; ++s) {
                const CaseRecord* rec = find_case(g, b, s);
                if (!rec) continue;
                const int i = int(t.entries.size());
                t.entries.push_back({LocationRef{0, g, b, s}, rec, rec->key, rec->colour, rec->kind,
                                     false, i * kEntryStep, kEntryY, 0.0,
                                     field_text(rec->title, sizeof rec->title)});
            }
        }
    }
}

// Entries are in (group, board, slot) order, so a location is found by
// binary search.
int entry_of(const Timeline& t, const LocationRef& at) {
    auto less = [](const TimelineEntry& e, const LocationRef& l) {
        if (e.at.group != l.group) return e.at.group < l.group;
        if (e.at.board != l.board) return e.at.board < l.board;
        return e.at.slot < l.slot;
    };
    auto it = std::lower_bound(t.entries.begin(), t.entries.end(), at, less);
    if (it == t.entries.end() || !same_location(it->at, at)) return -1;
    return int(it - t.entries.begin());
}

// A cubic from 6 pixels right of the selected icon to 6 pixels beside the
// target, on the target's left when it lies to the left and on its right
// otherwise. The control points stand 10 and 30 pixels above the selected
// icon, so the curve arches up towards the strip's top edge.
void build_curve(TimelineCurve& c, const TimelineEntry& from, const TimelineEntry& to) {
    const double x0 = from.x + 6, y0 = from.y;
    const double x3 = to.x < from.x ? to.x - 6 : to.x + 6, y3 = to.y;
    const double x1 = x0 + (x3 - x0) / 3, x2 = x0 + 2 * (x3 - x0) / 3;
    const double y1 = from.y - 10, y2 = from.y - 30;
    for (int k = 0; k < kCurvePoints; ++k) {
        const double t = k / double(kCurvePoints - 1), u = 1 - t;
        const double x = u * u * u * x0 + 3 * u * u * t * x1 + 3 * u * t * t * x2 + t * t * t * x3;
        const double y = u * u * u * y0 + 3 * u * u * t * y1 + 3 * u * t * t * y2 + t * t * t * y3;
        c.points[k] = {int16_t(std::lround(x)), int16_t(std::lround(y))};
    }
}

}  // namespace

void timeline_select(Timeline& t, const RecordKey& key) {
    if (t.has_selection && same_item(t.selected_key, key)) return;
    t.has_selection = true;
    t.selected_key = key;
    rebuild_entries(t);
    t.selected = -1;
    for (size_t i = 0; i < t.entries.size(); ++i)
        if (same_item(t.entries[i].key, key)) {
            t.selected = int(i);
            break;
        }
    t.hovered = -1;
    t.shown = true;
    if (t.selected < 0) return;
    TimelineEntry& sel = t.entries[size_t(t.selected)];
    sel.y -= kRaise;
    for (int l = 0; l < link_count(*sel.record); ++l) {
        LocationRef at;
        if (!link_target(*sel.record, l, &at)) continue;
        int i = entry_of(t, at);
        if (i < 0 || i == t.selected || t.entries[size_t(i)].marked) continue;
        TimelineEntry& e = t.entries[size_t(i)];
        e.marked = true;
        e.y -= kRaise;
        TimelineCurve c{i, link_is_tight(*sel.record, l), {}};
        build_curve(c, sel, e);
        t.curves.push_back(c);
    }
    t.scroll = sel.x - kSelectedX;
    t.scroll_frames = 0;
}

void timeline_clear(Timeline& t) {
    t.entries.clear();
    t.curves.clear();
    t.has_selection = false;
    t.selected = -1;
    t.hovered = -1;
}

void timeline_mark_key_nodes(Timeline& t, const Report& report) {
    for (TimelineEntry& e : t.entries) e.importance = 0;
    for (int k : report.key_nodes) {
        const ReportMember& m = report.members[size_t(k)];
        int i = entry_of(t, m.at);
        if (i >= 0) t.entries[size_t(i)].importance = m.actual();
    }
}

bool timeline_pulses(double importance) {
    return importance >= 3.0 - 1e-6;
}

int timeline_entry_at(const Timeline& t, const StripRect& strip, int x, int y) {
    if (x < strip.left || x >= strip.left + strip.width || y < strip.top ||
        y >= strip.top + kTimelineHeight)
        return -1;
    const int sx = x - strip.left + t.scroll;
    if (sx < 0) return -1;
    const int i = sx / kEntryStep;
    if (i >= int(t.entries.size())) return -1;
    const TimelineEntry& e = t.entries[size_t(i)];
    const int sy = y - strip.top;
    if (sx >= e.x + kIconBox || sy < e.y || sy >= e.y + kIconBox) return -1;
    return i;
}

void timeline_pointer(Timeline& t, const StripRect& strip, int x, int y) {
    t.hovered = timeline_entry_at(t, strip, x, y);
}

void timeline_wheel(Timeline& t, int wheel) {
    if (wheel == 0 || t.scroll_frames > 0) return;
    t.scroll_frames = kScrollFrames;
    t.scroll_direction = wheel > 0 ? -1 : 1;
}

void timeline_step(Timeline& t) {
    if (t.scroll_frames > 0) {
        t.scroll += t.scroll_direction * kScrollStep;
        --t.scroll_frames;
    }
    if (t.pulse_direction > 0) {
        t.pulse += 16;
        if (t.pulse > 240) {
            t.pulse = kPulseHigh;
            t.pulse_direction = -1;
        }
    } else {
        t.pulse -= 10;
        if (t.pulse < kPulseLow) {
            t.pulse = kPulseLow;
            t.pulse_direction = 1;
        }
    }
    t.jitter_x = int(gfx::random_u32(2));
    t.jitter_y = int(gfx::random_u32(2));
}

}  // namespace nd
