#include "analysis/report_panel.h"

#include <algorithm>

#include "analysis/draw_kit.h"
#include "analysis/panel_kit.h"
#include "analysis/timeline_panel.h"
#include "session/menu_objects.h"
#include "session/requests.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "store/cases.h"
#include "store/tables.h"
#include "ui/panel.h"

namespace nd {

namespace {

// The tabs name the pages' subjects: 基本情况, 分类, 岗哨, 难度, 认知, 资源, 关系.
constexpr const char* kTabText[kReportTabs] = {
    "\xBB\xF9\xB1\xBE\xC7\xE9\xBF\xF6",
    "\xB7\xD6\xC0\xE0",
    "\xB8\xDA\xC9\xDA",
    "\xC4\xD1\xB6\xC8",
    "\xC8\xCF\xD6\xAA",
    "\xD7\xCA\xD4\xB4",
    "\xB9\xD8\xCF\xB5",
};
constexpr int kMaxWidth = 900;
constexpr int kMaxHeight = 640;
constexpr int kCaptionHeight = 28;
constexpr int kInset = 10;
constexpr int kTabTextSize = 13;

ReportPanelState g_report;

int most_scroll(const ReportPanelState& s, const gfx::Rect& page) {
    return std::max(0, s.layout.height - page.h);
}

void lay_out(ReportPanelState& s, const gfx::Rect& page) {
    layout_report_page(s.report, s.page, page.w, s.layout);
    s.scroll = std::clamp(s.scroll, 0, most_scroll(s, page));
    s.hover = ReportHover{};
}

// The member a name or bubble under canvas point (x, y) stands for, or -1.
int member_at(const ReportPanelState& s, const gfx::Rect& page, int x, int y, int* bubble,
              int* name) {
    *bubble = -1;
    *name = -1;
    if (!page.contains(x, y)) return -1;
    const int px = x - page.x, py = y - page.y + s.scroll;
    *bubble = report_bubble_at(s.layout, px, py);
    if (*bubble >= 0) return s.layout.bubbles[size_t(*bubble)].member;
    *name = report_name_at(s.layout, px, py);
    if (*name < 0) return -1;
    const LocationRef& at = s.layout.names[size_t(*name)].at;
    for (size_t m = 0; m < s.report.members.size(); ++m)
        if (same_location(s.report.members[m].at, at)) return int(m);
    return -1;
}

bool member_ref(const ReportPanelState& s, int member, CaseRef* ref) {
    if (member < 0 || member >= int(s.report.members.size())) return false;
    const LocationRef& at = s.report.members[size_t(member)].at;
    const CaseRecord* record = find_case(at.group, at.board, at.slot);
    if (!record) return false;
    ref->where = at;
    ref->key = record->key;
    return true;
}

void close_report(ui::Panel& panel) {
    panel.visible = false;
    g_report.moving = false;
    free_case_icons(g_report.icons);
    redraw_panels();
}

void left_press(ui::Panel& panel, ReportPanelState& s, const ReportPanelLayout& l, int x, int y) {
    for (int t = 0; t < kReportTabs; ++t) {
        if (l.tabs[t].contains(x, y)) {
            report_panel_show_page(t + 1);
            return;
        }
    }
    int bubble = -1, name = -1;
    const int member = member_at(s, l.page, x, y, &bubble, &name);
    CaseRef ref;
    if (member_ref(s, member, &ref)) {
        s.selected = member;
        (void)post_request(jump_to_case(ref));
    } else if (l.title.contains(x, y)) {
        s.moving = true;
        s.grab_x = x - panel.rect.x;
        s.grab_y = y - panel.rect.y;
    }
}

bool pointer(ui::Panel& panel, const gfx::MouseMsg& msg) {
    ReportPanelState& s = *static_cast<ReportPanelState*>(panel.state);
    const ReportPanelLayout l = report_panel_layout(panel.rect);
    if (ui::dialog_frame_update(&s.frame, msg)) {
        close_report(panel);
        return true;
    }
    const bool left = (msg.flags & gfx::kMouseLeft) != 0;
    switch (msg.kind) {
        case gfx::kMouseDown:
            if (left) left_press(panel, s, l, msg.x, msg.y);
            break;
        case gfx::kMouseMove:
            if (s.moving) {
                panel.rect.x = msg.x - s.grab_x;
                panel.rect.y = msg.y - s.grab_y;
                ui::dialog_frame_place(&s.frame, panel.rect);
            } else {
                const ReportHover before = s.hover;
                member_at(s, l.page, msg.x, msg.y, &s.hover.bubble, &s.hover.name);
                if (before.bubble == s.hover.bubble && before.name == s.hover.name) return true;
            }
            break;
        case gfx::kMouseUp:
            if (left) {
                s.moving = false;
            } else if (s.hover.bubble >= 0) {
                // Only a bubble has a menu, and only while it is pointed at.
                const int member = s.layout.bubbles[size_t(s.hover.bubble)].member;
                CaseRef ref;
                if (member_ref(s, member, &ref)) {
                    s.selected = member;
                    (void)post_request(context_menu(kMenuAssessmentEntry, ref, msg.x, msg.y));
                }
            }
            break;
        default:
            break;
    }
    redraw_panels();
    return panel.rect.contains(msg.x, msg.y) || s.moving;
}

bool wheel(ui::Panel& panel, int, int, int delta) {
    ReportPanelState& s = *static_cast<ReportPanelState*>(panel.state);
    const ReportPanelLayout l = report_panel_layout(panel.rect);
    // A notch up shows 100 pixels higher on the page, a notch down lower.
    const int notches = delta / 120 != 0 ? delta / 120 : (delta > 0) - (delta < 0);
    s.scroll = std::clamp(s.scroll - notches * kReportWheelStep, 0, most_scroll(s, l.page));
    s.hover = ReportHover{};
    redraw_panels();
    return true;
}

void draw(const ui::Panel& panel, gfx::IMAGE* canvas) {
    const ReportPanelState& s = *static_cast<const ReportPanelState*>(panel.state);
    const int skin = current_skin();
    const ReportPanelLayout l = report_panel_layout(panel.rect);
    ui::draw_dialog_frame(canvas, s.frame, skin);
    const uint32_t text = palette_color(kPalPanelText, skin);
    for (int t = 0; t < kReportTabs; ++t) {
        const gfx::Rect& r = l.tabs[t];
        gfx::set_fill_color(
            palette_color(t + 1 == s.page ? kPalOptionSelect : kPalOptionRule, skin), canvas);
        gfx::fill_bar(r.x, r.y, r.right(), r.bottom(), canvas);
        const int w = draw_kit::text_width(canvas, kTabTextSize, kTabText[t]);
        draw_kit::text(canvas, r.x + (r.w - w) / 2, r.y + 6, kTabTextSize, text, kTabText[t]);
    }
    const ReportView view{l.page.x, l.page.y, l.page.w, l.page.h, s.scroll, skin};
    draw_report_page(s.report, s.layout, view, s.hover, s.icons, canvas);
}

void skin_changed(ui::Panel& panel, int) {
    ReportPanelState& s = *static_cast<ReportPanelState*>(panel.state);
    if (panel.visible) load_case_icons(s.icons);
}

constexpr ui::PanelHooks kHooks = {
    .pointer = pointer,
    .double_click = nullptr,
    .wheel = wheel,
    .key = nullptr,
    .draw = draw,
    .skin_changed = skin_changed,
};

}  // namespace

ReportPanelLayout report_panel_layout(const gfx::Rect& p) {
    ReportPanelLayout l;
    l.title = {p.x, p.y, p.w - ui::kDialogCloseWidth - 2, kCaptionHeight};
    for (int t = 0; t < kReportTabs; ++t)
        l.tabs[t] = {p.x + kInset + t * (kReportTabWidth + 2), p.y + kCaptionHeight,
                     kReportTabWidth, kReportTabHeight};
    const int top = p.y + kCaptionHeight + kReportTabHeight + 4;
    l.page = {p.x + kInset, top, p.w - 2 * kInset, p.bottom() - kInset - top};
    return l;
}

ReportPanelState& report_panel_state() {
    return g_report;
}

void install_report_panel() {
    install_hidden_panel(kPanelAssessment, &g_report, &kHooks);
}

bool open_report_panel(const LocationRef& subject, int view_width, int view_height) {
    ui::Panel* panel = find_panel(kPanelAssessment);
    if (!panel) return false;
    ReportPanelState& s = g_report;
    Report report;
    if (build_report(subject, report) != kReportOk) return false;
    s.report = std::move(report);
    s.caption = report_window_title(s.report);
    s.frame.title = s.caption.c_str();
    s.selected = -1;
    s.moving = false;
    const int w = std::min(kMaxWidth, view_width - 80), h = std::min(kMaxHeight, view_height - 120);
    panel->rect = {(view_width - w) / 2, (view_height - h) / 2, w, h};
    ui::dialog_frame_place(&s.frame, panel->rect);
    panel->visible = true;
    load_case_icons(s.icons);
    ui::panel_bring_to_front(&view_state().panels, kPanelAssessment);
    timeline_mark_key_nodes(timeline_panel_state().timeline, s.report);
    report_panel_show_page(1);
    return true;
}

void report_panel_show_page(int page) {
    ui::Panel* panel = find_panel(kPanelAssessment);
    if (!panel) return;
    g_report.page = std::clamp(page, 1, kReportPages);
    g_report.scroll = 0;
    lay_out(g_report, report_panel_layout(panel->rect).page);
    redraw_panels();
}

void place_report_panel(int view_width, int view_height) {
    ui::Panel* panel = find_panel(kPanelAssessment);
    if (!panel || panel->rect.empty()) return;
    keep_inside(panel->rect, view_width, view_height);
    ui::dialog_frame_place(&g_report.frame, panel->rect);
}

void refresh_report_panel() {
    ui::Panel* panel = find_panel(kPanelAssessment);
    if (!panel || !panel->visible) return;
    ReportPanelState& s = g_report;
    Report report;
    if (build_report(s.report.subject, report) != kReportOk) {
        close_report(*panel);
        return;
    }
    s.report = std::move(report);
    s.caption = report_window_title(s.report);
    s.frame.title = s.caption.c_str();
    if (s.selected >= int(s.report.members.size())) s.selected = -1;
    const int scroll = s.scroll;
    lay_out(s, report_panel_layout(panel->rect).page);
    s.scroll = std::clamp(scroll, 0, most_scroll(s, report_panel_layout(panel->rect).page));
    redraw_panels();
}

bool report_entry_case(int x, int y, CaseRef* ref, int* anchor_x, int* anchor_y) {
    const ui::Panel* panel = find_panel(kPanelAssessment);
    if (!panel || !panel->visible) return false;
    const gfx::Rect page = report_panel_layout(panel->rect).page;
    int bubble = -1, name = -1;
    const int member = member_at(g_report, page, x, y, &bubble, &name);
    if (!member_ref(g_report, member, ref)) return false;
    // A link starts from the middle of the bubble or of the name.
    if (bubble >= 0) {
        const PageBubble& b = g_report.layout.bubbles[size_t(bubble)];
        *anchor_x = page.x + b.cx;
        *anchor_y = page.y + b.cy - g_report.scroll;
    } else {
        const PageName& n = g_report.layout.names[size_t(name)];
        *anchor_x = page.x + n.x + n.w / 2;
        *anchor_y = page.y + n.y + n.h / 2 - g_report.scroll;
    }
    return true;
}

bool report_selected_case(CaseRef* ref) {
    const ui::Panel* panel = find_panel(kPanelAssessment);
    return panel && panel->visible && member_ref(g_report, g_report.selected, ref);
}

}  // namespace nd
