#include "analysis/timeline_panel.h"

#include <algorithm>

#include "analysis/panel_kit.h"
#include "session/app.h"
#include "session/menu_objects.h"
#include "session/progress.h"
#include "session/requests.h"
#include "skins/skin.h"
#include "ui/panel.h"

namespace nd {

namespace {

TimelinePanelState g_timeline;

StripRect strip_of(const ui::Panel& panel) {
    return {panel.rect.x, panel.rect.y, panel.rect.w};
}

void show(bool shown) {
    if (ui::Panel* panel = find_panel(kPanelTimeline)) panel->visible = shown;
    redraw_panels();
}

bool entry_ref(const Timeline& t, int entry, CaseRef* ref) {
    if (entry < 0 || entry >= int(t.entries.size())) return false;
    ref->where = t.entries[size_t(entry)].at;
    ref->key = t.entries[size_t(entry)].key;
    return true;
}

bool pointer(ui::Panel& panel, const gfx::MouseMsg& msg) {
    TimelinePanelState& s = *static_cast<TimelinePanelState*>(panel.state);
    Timeline& t = s.timeline;
    const StripRect strip = strip_of(panel);
    const int before = t.hovered;
    timeline_pointer(t, strip, msg.x, msg.y);
    const int entry = t.hovered;
    CaseRef ref;
    if (msg.kind == gfx::kMouseDown && (msg.flags & gfx::kMouseLeft)) {
        s.pressed = entry;
    } else if (msg.kind == gfx::kMouseUp && (msg.flags & gfx::kMouseLeft)) {
        // A click on an entry shows its Case on the board, which selects it
        // here in turn.
        if (entry >= 0 && entry == s.pressed && entry_ref(t, entry, &ref))
            (void)post_request(jump_to_case(ref));
        s.pressed = -1;
    } else if (msg.kind == gfx::kMouseUp && (msg.flags & gfx::kMouseRight)) {
        if (entry_ref(t, entry, &ref))
            (void)post_request(context_menu(kMenuTimelineEntry, ref, msg.x, msg.y));
    }
    if (t.hovered != before) redraw_panels();
    return panel.rect.contains(msg.x, msg.y);
}

bool wheel(ui::Panel& panel, int, int, int delta) {
    timeline_wheel(static_cast<TimelinePanelState*>(panel.state)->timeline, delta);
    redraw_panels();
    return true;
}

void draw(const ui::Panel& panel, gfx::IMAGE* canvas) {
    const TimelinePanelState& s = *static_cast<const TimelinePanelState*>(panel.state);
    timeline_draw(s.timeline, strip_of(panel), current_skin(), int(load_percent()), s.pictures,
                  canvas);
}

void skin_changed(ui::Panel& panel, int) {
    load_timeline_pictures(static_cast<TimelinePanelState*>(panel.state)->pictures);
}

constexpr ui::PanelHooks kHooks = {
    .pointer = pointer,
    .double_click = nullptr,
    .wheel = wheel,
    .key = nullptr,
    .draw = draw,
    .skin_changed = skin_changed,
};

// Whether an entry that pulses can be seen in a strip `width` pixels wide.
bool pulse_in_view(const Timeline& t, int width) {
    const int first = std::max(0, t.scroll / kEntryStep - 1);
    const int last = std::min(int(t.entries.size()) - 1, (t.scroll + width) / kEntryStep + 1);
    for (int i = first; i <= last; ++i)
        if (timeline_pulses(t.entries[size_t(i)].importance)) return true;
    return false;
}

}  // namespace

TimelinePanelState& timeline_panel_state() {
    return g_timeline;
}

void install_timeline_panel() {
    g_timeline.timeline = Timeline{};
    install_hidden_panel(kPanelTimeline, &g_timeline, &kHooks);
}

void place_timeline_panel(int view_width, int view_height) {
    if (ui::Panel* panel = find_panel(kPanelTimeline))
        panel->rect = {0, view_height - kTimelineHeight, view_width, kTimelineHeight};
}

void timeline_panel_select(const CaseRef& ref) {
    if (!g_timeline.pictures.strip[0]) load_timeline_pictures(g_timeline.pictures);
    timeline_select(g_timeline.timeline, ref.key);
    show(g_timeline.timeline.shown);
}

void timeline_panel_clear() {
    timeline_clear(g_timeline.timeline);
    g_timeline.pressed = -1;
    redraw_panels();
}

void timeline_panel_refresh() {
    Timeline& t = g_timeline.timeline;
    if (!t.has_selection) return;
    const RecordKey key = t.selected_key;
    const int scroll = t.scroll;
    t.has_selection = false;
    timeline_select(t, key);
    t.scroll = scroll;
    redraw_panels();
}

void step_timeline_panel() {
    const ui::Panel* panel = find_panel(kPanelTimeline);
    Timeline& t = g_timeline.timeline;
    if (!panel || !panel->visible || !board_ready()) return;
    // A scroll asks for each of its eight frames. The pulse steps every
    // frame and shows in every frame the board composes anyway; on its own
    // it asks for a frame only when the pulse thread's phase flips, so an
    // idle board with a key node in view composes twice a second, not at
    // the full frame rate.
    const int phase = the_app().BlinkPhase.load();
    const bool flipped = phase != g_timeline.pulse_phase;
    g_timeline.pulse_phase = phase;
    const bool ask = t.scroll_frames > 0 || (flipped && pulse_in_view(t, panel->rect.w));
    timeline_step(t);
    if (ask) redraw_panels();
}

bool timeline_entry_case(int x, int y, CaseRef* ref, int* anchor_x, int* anchor_y) {
    const ui::Panel* panel = find_panel(kPanelTimeline);
    if (!panel || !panel->visible) return false;
    const Timeline& t = g_timeline.timeline;
    const int entry = timeline_entry_at(t, strip_of(*panel), x, y);
    if (!entry_ref(t, entry, ref)) return false;
    const TimelineEntry& e = t.entries[size_t(entry)];
    // The icon's centre.
    *anchor_x = panel->rect.x + e.x - t.scroll + kIconBox / 2;
    *anchor_y = panel->rect.y + e.y + kIconBox / 2;
    return true;
}

}  // namespace nd
