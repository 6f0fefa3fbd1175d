#include "analysis/search_panel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "analysis/draw_kit.h"
#include "analysis/panel_kit.h"
#include "gfx/window/clipboard.h"
#include "session/app.h"
#include "session/menu_objects.h"
#include "session/requests.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "store/tables.h"
#include "ui/caret.h"
#include "ui/keys.h"
#include "ui/panel.h"

namespace nd {

namespace {

constexpr char kFace[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";  // 微软雅黑
constexpr char kTitle[] = "\xCB\xD1\xCB\xF7";                 // 搜索
constexpr const char* kScopeText[2] = {
    "\xB7\xB6\xCE\xA7\xA3\xBA\xB5\xB1\xC7\xB0\xB0\xD7\xB0\xE5",  // 范围：当前白板
    "\xB7\xB6\xCE\xA7\xA3\xBA\xCB\xF9\xD3\xD0\xB0\xD7\xB0\xE5",  // 范围：所有白板
};
constexpr int kMargin = 15;
constexpr int kTitleHeight = 28;
constexpr int kResizeEdge = 6;
constexpr int kTextSize = 13;
// Where the panel first opens: right of the board, under the top bar.
constexpr int kRightGap = 20;
constexpr int kTop = 100;

SearchPanelState g_search;

// A pasted text goes in at the caret: one line of it, at most 255 bytes,
// never past the box's capacity and never half a character.
void insert_pasted(SearchPanelState& s, const std::string& clip) {
    size_t end = 0;
    while (end < clip.size() && static_cast<unsigned char>(clip[end]) >= 0x20) ++end;
    ui::TextField& f = s.field;
    if (f.all_selected) ui::text_field_set(&f, "");
    const size_t take = paste_length(clip.data(), end, f.text.size());
    if (take == 0) return;
    std::string joined = f.text.substr(0, f.caret);
    joined.append(clip, 0, take).append(f.text, f.caret, std::string::npos);
    const size_t caret = f.caret + take;
    ui::text_field_set(&f, joined);
    f.caret = caret;
}

// The frame's close box and the two buttons follow the panel.
void place_parts(SearchPanelState& s, const gfx::Rect& panel) {
    const SearchLayout l = search_layout(panel, s.search.history.count);
    ui::dialog_frame_place(&s.frame, panel);
    s.go.rect = l.go;
    s.history_button.rect = l.history;
}

void close_lists(SearchPanelState& s) {
    s.scope_open = false;
    s.history_open = false;
}

void hide(ui::Panel& panel) {
    SearchPanelState& s = g_search;
    panel.visible = false;
    close_lists(s);
    s.drag = SearchDrag::kNone;
    if (s.paste_ticket > 0) gfx::clipboard_cancel(s.paste_ticket);
    s.paste_ticket = 0;
    redraw_panels();
}

void run(SearchPanelState& s) {
    s.search.query = s.field.text;
    close_lists(s);
    if (run_search(s.search, view_state().group, view_state().board) >= 0) s.searched = true;
    redraw_panels();
}

void pick_history(SearchPanelState& s, int entry) {
    const char* text = s.search.history.entries[entry];
    ui::text_field_set(&s.field, std::string_view(text, strnlen(text, kHistoryWidth)));
    run(s);
}

// The Case of result `row`, when its slot still holds a Case.
bool result_case(const SearchPanelState& s, int row, CaseRef* ref) {
    if (row < 0 || row >= int(s.search.results.size())) return false;
    const SearchResult& r = s.search.results[size_t(row)];
    const CaseRecord* record = find_case(r.group, r.board, r.slot);
    if (!record) return false;
    ref->where = LocationRef{0, r.group, r.board, r.slot};
    ref->key = record->key;
    return true;
}

void scroll_to(SearchPanelState& s, const ResultListView& list, int first) {
    const int most = std::max(0, int(s.search.results.size()) - visible_result_rows(list));
    s.search.first_visible = std::clamp(first, 0, most);
}

bool key(ui::Panel& panel, int code) {
    SearchPanelState& s = *static_cast<SearchPanelState*>(panel.state);
    redraw_panels();
    switch (code) {
        case ui::kKeyPaste:
            // The clipboard answers on its own thread; the text goes in when
            // it arrives (step_search_panel).
            if (s.paste_ticket == 0) {
                const int ticket = gfx::clipboard_request(gfx::ClipAccept::kTextOnly);
                s.paste_ticket = ticket > 0 ? ticket : 0;
            }
            return true;
        case ui::kKeyCopy:
            if (s.field.all_selected)
                (void)gfx::clipboard_write_text(s.field.text.data(), s.field.text.size());
            return true;
        case ui::kKeyEscape:
            if (s.field.all_selected || s.scope_open || s.history_open) {
                s.field.all_selected = false;
                close_lists(s);
            } else {
                hide(panel);
            }
            return true;
        default:
            break;
    }
    switch (ui::text_field_key(&s.field, code)) {
        case ui::FieldKey::kEnter:
            if (!s.field.text.empty()) run(s);
            return true;
        case ui::FieldKey::kUsed:
            return true;
        default:
            return false;
    }
}

void left_press(ui::Panel& panel, SearchPanelState& s, const SearchLayout& l, int x, int y) {
    s.pressed_row = -1;
    if (s.scope_open) {
        s.scope_open = false;
        if (l.scope_list.contains(x, y)) {
            s.search.scope =
                (y - l.scope_list.y) / kSearchListRow == 0 ? kScopeBoard : kScopeAllBoards;
            return;
        }
    }
    if (s.history_open) {
        s.history_open = false;
        if (l.history_list.contains(x, y)) {
            pick_history(s, (y - l.history_list.y) / kSearchListRow);
            return;
        }
    }
    const ResultListView& list = l.list;
    const int bar_left = list.left + kResultRowWidth;
    if (l.scope.contains(x, y)) {
        s.scope_open = true;
    } else if (l.resize.contains(x, y)) {
        s.drag = SearchDrag::kResize;
        s.grab_y = panel.rect.bottom() - y;
    } else if (x >= bar_left && x < bar_left + kResultScrollBar && y >= list.top &&
               y < list.top + list.height) {
        const ScrollThumb thumb = result_thumb(s.search, list);
        s.drag = SearchDrag::kThumb;
        s.grab_y = std::clamp(y - list.top - thumb.top, 0, thumb.height);
    } else if (const int row = result_row_at(s.search, list, x, y); row >= 0) {
        s.drag = SearchDrag::kRow;
        s.pressed_row = row;
    } else if (l.title.contains(x, y)) {
        s.drag = SearchDrag::kMove;
        s.grab_x = x - panel.rect.x;
        s.grab_y = y - panel.rect.y;
    }
}

void drag_to(ui::Panel& panel, SearchPanelState& s, const SearchLayout& l, int x, int y) {
    switch (s.drag) {
        case SearchDrag::kMove:
            panel.rect.x = x - s.grab_x;
            panel.rect.y = y - s.grab_y;
            break;
        case SearchDrag::kResize:
            panel.rect.h = std::max(kSearchPanelMinHeight, y + s.grab_y - panel.rect.y);
            break;
        case SearchDrag::kThumb: {
            const int n = int(s.search.results.size());
            if (l.list.height > 0)
                scroll_to(s, l.list, int(int64_t(y - l.list.top - s.grab_y) * n / l.list.height));
            break;
        }
        default:
            break;
    }
    place_parts(s, panel.rect);
}

void left_release(SearchPanelState& s, const SearchLayout& l, int x, int y) {
    if (s.drag == SearchDrag::kRow && result_row_at(s.search, l.list, x, y) == s.pressed_row) {
        CaseRef ref;
        if (result_case(s, s.pressed_row, &ref)) (void)post_request(jump_to_case(ref));
    }
    s.drag = SearchDrag::kNone;
    s.pressed_row = -1;
}

bool pointer(ui::Panel& panel, const gfx::MouseMsg& msg) {
    SearchPanelState& s = *static_cast<SearchPanelState*>(panel.state);
    const SearchLayout l = search_layout(panel.rect, s.search.history.count);
    redraw_panels();
    if (ui::dialog_frame_update(&s.frame, msg)) {
        hide(panel);
        return true;
    }
    if (ui::button_update(&s.go, msg)) {
        if (!s.field.text.empty()) run(s);
        return true;
    }
    if (ui::button_update(&s.history_button, msg)) {
        s.scope_open = false;
        s.history_open = !s.history_open && s.search.history.count > 0;
        return true;
    }
    const bool left = (msg.flags & gfx::kMouseLeft) != 0;
    switch (msg.kind) {
        case gfx::kMouseDown:
            if (left) left_press(panel, s, l, msg.x, msg.y);
            break;
        case gfx::kMouseMove:
            if (s.drag != SearchDrag::kNone && s.drag != SearchDrag::kRow) {
                drag_to(panel, s, l, msg.x, msg.y);
            } else {
                s.search.hovered = result_row_at(s.search, l.list, msg.x, msg.y);
            }
            break;
        case gfx::kMouseUp:
            if (left) {
                left_release(s, l, msg.x, msg.y);
            } else if (const int row = result_row_at(s.search, l.list, msg.x, msg.y); row >= 0) {
                CaseRef ref;
                if (result_case(s, row, &ref))
                    (void)post_request(context_menu(kMenuSearchResult, ref, msg.x, msg.y));
            }
            break;
        default:
            break;
    }
    // A move that left the panel takes the hover with it.
    if (!panel.rect.contains(msg.x, msg.y)) s.search.hovered = -1;
    return panel.rect.contains(msg.x, msg.y) || s.drag != SearchDrag::kNone;
}

bool wheel(ui::Panel& panel, int, int, int delta) {
    SearchPanelState& s = *static_cast<SearchPanelState*>(panel.state);
    const SearchLayout l = search_layout(panel.rect, s.search.history.count);
    // One row per notch: up (a positive turn) towards the first result.
    scroll_to(s, l.list, s.search.first_visible + (delta > 0 ? -1 : delta < 0 ? 1 : 0));
    redraw_panels();
    return true;
}

void draw_list_rows(gfx::IMAGE* canvas, const gfx::Rect& box, int count, int skin,
                    const char* const* texts) {
    gfx::set_fill_color(palette_color(kPalPanelBackground, skin), canvas);
    gfx::fill_bar(box.x, box.y, box.right(), box.bottom(), canvas);
    gfx::set_color(palette_color(kPalOptionSelect, skin), canvas);
    gfx::set_line_style(gfx::kSolidLine, 0, 1, canvas);
    gfx::draw_rectangle(box.x, box.y, box.right() - 1, box.bottom() - 1, canvas);
    for (int i = 0; i < count; ++i)
        draw_kit::text(canvas, box.x + 6, box.y + i * kSearchListRow + 5, kTextSize,
                       palette_color(kPalPanelText, skin), texts[i]);
}

void draw(const ui::Panel& panel, gfx::IMAGE* canvas) {
    const SearchPanelState& s = *static_cast<const SearchPanelState*>(panel.state);
    const int skin = current_skin();
    const SearchLayout l = search_layout(panel.rect, s.search.history.count);
    ui::draw_dialog_frame(canvas, s.frame, skin);
    const uint32_t text = palette_color(kPalPanelText, skin);
    const uint32_t rule = palette_color(kPalOptionRule, skin);

    ui::TextFieldLook look;
    look.box = l.input;
    look.face = kFace;
    look.size = kTextSize;
    look.text_y = 7;
    const bool front =
        view_state().panels.count > 0 && view_state().panels.panels[0].id == kPanelSearch;
    ui::draw_text_field(canvas, s.field, look,
                        front && ui::caret_visible(the_app().BlinkPhase.load()));

    for (const ui::Button* b : {&s.go, &s.history_button}) {
        gfx::set_fill_color(ui::button_look(*b) ? palette_color(kPalOptionSelect, skin) : rule,
                            canvas);
        gfx::fill_bar(b->rect.x, b->rect.y, b->rect.right(), b->rect.bottom(), canvas);
    }
    draw_kit::text(canvas, l.go.x + 7, l.go.y + 7, kTextSize, text, kTitle);
    // The history button's arrow head, pointing down.
    gfx::set_fill_color(text, canvas);
    const int ax = l.history.x + l.history.w / 2, ay = l.history.y + l.history.h / 2 - 2;
    for (int row = 0; row < 4; ++row)
        gfx::fill_bar(ax - 4 + row, ay + row, ax + 5 - row, ay + row + 1, canvas);

    gfx::set_color(rule, canvas);
    gfx::set_line_style(gfx::kSolidLine, 0, 1, canvas);
    gfx::draw_rectangle(l.scope.x, l.scope.y, l.scope.right() - 1, l.scope.bottom() - 1, canvas);
    draw_kit::text(canvas, l.scope.x + 6, l.scope.y + 5, kTextSize, text,
                   kScopeText[s.search.scope == kScopeAllBoards ? 1 : 0]);
    if (s.searched)
        draw_kit::text(canvas, l.caption.x, l.caption.y, kTextSize, text,
                       result_caption(s.search).c_str());
    ResultListView list = l.list;
    list.skin = skin;
    draw_result_list(s.search, list, s.icons, canvas);

    if (s.scope_open) draw_list_rows(canvas, l.scope_list, 2, skin, kScopeText);
    if (s.history_open) {
        const char* entries[kHistoryEntries];
        for (int i = 0; i < s.search.history.count; ++i) entries[i] = s.search.history.entries[i];
        draw_list_rows(canvas, l.history_list, s.search.history.count, skin, entries);
    }
}

void skin_changed(ui::Panel& panel, int) {
    SearchPanelState& s = *static_cast<SearchPanelState*>(panel.state);
    load_case_icons(s.icons);
}

constexpr ui::PanelHooks kHooks = {
    .pointer = pointer,
    .double_click = nullptr,
    .wheel = wheel,
    .key = key,
    .draw = draw,
    .skin_changed = skin_changed,
};

}  // namespace

SearchLayout search_layout(const gfx::Rect& p, int history_count) {
    SearchLayout l;
    l.title = {p.x, p.y, p.w - ui::kDialogCloseWidth - 2, kTitleHeight};
    l.input = {p.x + kMargin, p.y + 34, 160, 28};
    l.go = {l.input.right() + 5, l.input.y, 40, l.input.h};
    l.history = {l.go.right() + 2, l.input.y, 18, l.input.h};
    l.scope = {p.x + kMargin, l.input.bottom() + 6, kResultRowWidth + kResultScrollBar, 24};
    l.caption = {p.x + kMargin, l.scope.bottom() + 6, kResultRowWidth, 18};
    const int list_top = l.caption.bottom() + 4;
    l.list = {p.x + kMargin, list_top, std::max(0, p.bottom() - kResizeEdge - 4 - list_top), 0};
    l.resize = {p.x, p.bottom() - kResizeEdge, p.w, kResizeEdge};
    l.scope_list = {l.scope.x, l.scope.bottom(), l.scope.w, 2 * kSearchListRow};
    l.history_list = {l.input.x, l.input.bottom(), l.scope.w, history_count * kSearchListRow};
    return l;
}

SearchPanelState& search_panel_state() {
    return g_search;
}

void install_search_panel() {
    g_search.field.max_bytes = kQueryCapacity;
    g_search.frame.title = kTitle;
    install_hidden_panel(kPanelSearch, &g_search, &kHooks);
}

void toggle_search_panel(int view_width, int view_height) {
    ui::Panel* panel = find_panel(kPanelSearch);
    if (!panel) return;
    if (panel->visible) {
        hide(*panel);
        return;
    }
    SearchPanelState& s = g_search;
    ui::text_field_set(&s.field, "");
    s.search.scope = kScopeBoard;
    close_lists(s);
    if (panel->rect.empty())
        panel->rect = {view_width - kSearchPanelWidth - kRightGap, kTop, kSearchPanelWidth,
                       kSearchPanelHeight};
    panel->visible = true;
    place_search_panel(view_width, view_height);
    if (!s.icons.images[0]) load_case_icons(s.icons);
    ui::panel_bring_to_front(&view_state().panels, kPanelSearch);
    redraw_panels();
}

void place_search_panel(int view_width, int view_height) {
    ui::Panel* panel = find_panel(kPanelSearch);
    if (!panel || panel->rect.empty()) return;
    keep_inside(panel->rect, view_width, view_height);
    place_parts(g_search, panel->rect);
}

void step_search_panel() {
    SearchPanelState& s = g_search;
    if (s.paste_ticket > 0) {
        gfx::ClipboardContent content;
        const int state = gfx::clipboard_poll(s.paste_ticket, &content);
        if (state != 0) {
            s.paste_ticket = 0;
            if (state == 1 && content.kind == gfx::kClipText) insert_pasted(s, content.text);
            redraw_panels();
        }
    }
    const ui::Panel* panel = find_panel(kPanelSearch);
    const int phase = the_app().BlinkPhase.load();
    if (panel && panel->visible && phase != s.blink_phase) {
        s.blink_phase = phase;
        redraw_panels();
    }
}

bool search_result_at(int x, int y, CaseRef* ref, int* row) {
    const ui::Panel* panel = find_panel(kPanelSearch);
    if (!panel || !panel->visible) return false;
    const SearchLayout l = search_layout(panel->rect, g_search.search.history.count);
    const int r = result_row_at(g_search.search, l.list, x, y);
    if (r < 0 || !result_case(g_search, r, ref)) return false;
    if (row) *row = r;
    return true;
}

}  // namespace nd
