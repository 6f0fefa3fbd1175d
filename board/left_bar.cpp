// The left bar's state, snapshot and input: tabs, rows, scrolling, and what
// a click, a double click and a right click on a row do.
#include "board/left_bar.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "base/gbk.h"
#include "board/board_switch.h"
#include "board/cards.h"
#include "board/colour_switches.h"
#include "board/layout.h"
#include "board/main_view.h"
#include "board/texts.h"
#include "session/menu_objects.h"
#include "skins/names.h"
#include "store/tables.h"

namespace nd {

namespace {

LeftBarState g_bar;

constexpr int kSwitchBoxRoom = 166 + 10;  // the colour-switch box and its gap
constexpr int kSmallestList = 140;        // the bar never gets shorter than this much list
constexpr int kListTop = 82;              // below the header strip, the tabs and their rule
constexpr int kListChrome = kListTop + 6;  // the bar's height besides its list

void copy_text(char* out, size_t room, const char* text, size_t field) {
    gbk_copy_field(out, room, std::string_view(text, strnlen(text, field)));
}

constexpr int kCaseTitleRoom = 230;  // pixels a Case row's title may take

// Cuts a title to the pixels a row has, at a character boundary.
void fit_title(char* title, gfx::IMAGE* measure) {
    if (!measure) return;
    size_t length = strlen(title);
    while (length > 0 && gfx::text_width(title, measure) > kCaseTitleRoom) {
        length = gbk_cut_last(std::string_view(title, length), 1);
        title[length] = 0;
    }
}

void read_cases(int group, int board, CaseList* list, gfx::IMAGE* measure) {
    list->count = 0;
    const Board* b = find_board(group, board);
    if (!b) return;
    for (int slot = 0; slot < int(b->case_count) && slot < kCaseSlots; ++slot) {
        const CaseRecord* record = find_case(group, board, slot);
        if (!record) continue;
        LeftCaseRow& row = list->rows[size_t(list->count++)];
        row.ref.where = {0, group, board, slot};
        row.ref.key = record->key;
        row.colour = record->colour & 3;
        copy_text(row.title, sizeof row.title, record->title, sizeof record->title);
        fit_title(row.title, measure);
    }
}

void read_categories(LeftBarState& s) {
    int last = -1;
    for (int b = 0; b < kBoardSlots; ++b)
        if (find_board(s.group, b)) last = b;
    // Every free slot before the last category, and one after it while
    // there is room, is a place where a category can be made.
    s.category_count = std::min(kBoardSlots, last + 2);
    for (int b = 0; b < s.category_count; ++b) {
        CategoryRow& row = s.categories[size_t(b)];
        row = CategoryRow{};
        row.board = b;
        const Board* board = find_board(s.group, b);
        if (!board) continue;
        row.used = true;
        copy_text(row.name, sizeof row.name, board->name, sizeof board->name);
        row.cases = int(std::min<uint32_t>(board->case_count, kCaseSlots));
        for (int slot = 0; slot < row.cases; ++slot)
            if (const CaseRecord* record = find_case(s.group, b, slot))
                ++row.colours[size_t(record->colour & 3)];
    }
}

int row_step(int tab) {
    return tab == kTabCategories ? kCategoryRowStep : kCaseRowStep;
}

int row_count(const LeftBarState& s, int tab) {
    switch (tab) {
        case kTabCategories:
            return s.category_count;
        case kTabBoardCases:
            return s.board_cases.count;
        default:
            return s.preview_cases.count;
    }
}

const CaseList* case_list(const LeftBarState& s, int tab) {
    if (tab == kTabBoardCases) return &s.board_cases;
    if (tab == kTabPreview) return &s.preview_cases;
    return nullptr;
}

void clamp_scroll(LeftBarState& s, const gfx::Rect& bar) {
    const gfx::Rect list = left_bar_list_rect(bar);
    for (int t = 0; t < kLeftTabCount; ++t) {
        const int content = kFirstRowY + row_count(s, t) * row_step(t);
        s.scroll[size_t(t)] = std::clamp(s.scroll[size_t(t)], 0, std::max(0, content - list.h));
    }
}

ui::Panel* bar_panel() {
    return ui::panel_find(&view_state().panels, kPanelLeftBar);
}

// The row under the screen point, in the tab shown, or -1.
int row_under(const LeftBarState& s, const gfx::Rect& bar, int x, int y) {
    const gfx::Rect list = left_bar_list_rect(bar);
    if (!list.contains(x, y)) return -1;
    return left_bar_row_at(y - list.y, s.scroll[size_t(s.tab)], row_step(s.tab), row_count(s, s.tab));
}

int tab_under(const LeftBarState& s, const gfx::Rect& bar, int x, int y) {
    for (int t = 0; t < kLeftTabCount; ++t) {
        gfx::Rect r = s.tab_rects[size_t(t)];
        r.x += bar.x;
        r.y += bar.y;
        if (r.contains(x, y)) return t;
    }
    return -1;
}

void show_tab(LeftBarState& s, int tab) {
    if (tab == kTabPreview && s.preview_board < 0) return;
    s.tab = tab;
    s.hover_row = -1;
}

void click_row(LeftBarState& s, int row) {
    s.selected[size_t(s.tab)] = row;
    if (s.tab == kTabCategories) {
        const CategoryRow& c = s.categories[size_t(row)];
        if (c.used && s.view) switch_board(*s.view, s.group, c.board);
        return;
    }
    const CaseList* list = case_list(s, s.tab);
    if (s.tab == kTabBoardCases && s.view) {
        const int card = find_card(*s.view, list->rows[size_t(row)].ref);
        if (card >= 0) select_card(*s.view, card);
    }
}

bool pointer(ui::Panel& panel, const gfx::MouseMsg& msg) {
    LeftBarState& s = *static_cast<LeftBarState*>(panel.state);
    const int hover_tab = tab_under(s, panel.rect, msg.x, msg.y);
    const int hover_row = row_under(s, panel.rect, msg.x, msg.y);
    if (hover_tab != s.hover_tab || hover_row != s.hover_row) view_state().redraw = true;
    s.hover_tab = hover_tab;
    s.hover_row = hover_row;
    // A click is a press and a release on the bar: the press chooses.
    if (msg.kind == gfx::kMouseDown && (msg.flags & gfx::kMouseLeft)) {
        if (hover_tab >= 0) {
            show_tab(s, hover_tab);
        } else if (hover_row >= 0) {
            click_row(s, hover_row);
        }
        view_state().redraw = true;
    }
    return panel.rect.contains(msg.x, msg.y);
}

// A double click on a Case row shows the Case (switching to its category
// when it lies on another); on a category it opens that category's Cases.
bool double_click(ui::Panel& panel, int x, int y) {
    LeftBarState& s = *static_cast<LeftBarState*>(panel.state);
    const int row = row_under(s, panel.rect, x, y);
    if (row < 0 || !s.view) return false;
    if (s.tab == kTabCategories) {
        const CategoryRow& c = s.categories[size_t(row)];
        if (!c.used) return false;
        switch_board(*s.view, s.group, c.board);
        show_tab(s, kTabBoardCases);
    } else {
        jump_to_case(*s.view, case_list(s, s.tab)->rows[size_t(row)].ref);
    }
    view_state().redraw = true;
    return true;
}

bool wheel(ui::Panel& panel, int, int, int delta) {
    LeftBarState& s = *static_cast<LeftBarState*>(panel.state);
    // A notch scrolls one row.
    s.scroll[size_t(s.tab)] -= delta / 120 * row_step(s.tab);
    clamp_scroll(s, panel.rect);
    s.hover_row = -1;
    view_state().redraw = true;
    return true;
}

void skin_changed(ui::Panel& panel, int) {
    LeftBarState& s = *static_cast<LeftBarState*>(panel.state);
    (void)reload_on_change(&s.pictures, kLeftNames);
    render_left_bar_tabs(s);
    s.bar_made.fill(0);
    render_preview_bars(s);
}

// The menus of its rows are in the board's menu table (menu_target_at), so
// a right click asks for none of its own and the board opens them.
bool context(ui::Panel&, int, int) {
    return false;
}

constexpr ui::PanelHooks kHooks = {
    .pointer = pointer,
    .double_click = double_click,
    .wheel = wheel,
    .key = nullptr,
    .draw = draw_left_bar,
    .skin_changed = skin_changed,
    .hover = nullptr,
    .context = context,
};

}  // namespace

gfx::Rect left_bar_rect(int width, int height) {
    (void)width;
    // The bar is as tall as its categories need, at least room for four
    // Case rows, and at most what leaves room for the switch box below.
    const int content = std::max(kFirstRowY + g_bar.category_count * kCategoryRowStep,
                                 kFirstRowY + 4 * kCaseRowStep);
    const int room = std::max(kSmallestList, height - kLeftBarTop - kSwitchBoxRoom - 10 - kListChrome);
    return {kLeftBarLeft, kLeftBarTop, kLeftBarWidth, std::min(content, room) + kListChrome};
}

gfx::Rect left_bar_list_rect(const gfx::Rect& bar) {
    return {bar.x, bar.y + kListTop, bar.w, std::max(0, bar.h - kListChrome)};
}

int left_bar_row_at(int y, int scroll, int step, int rows) {
    // A row owns the band from 6 above its text line to the next row.
    const int at = y + scroll;
    if (at < 0) return -1;
    const int row = at / step;
    return row < rows ? row : -1;
}

LeftBarState& left_bar_state() {
    return g_bar;
}

void install_left_bar(MainView& view) {
    LeftBarState& s = g_bar;
    free_left_bar(s);
    s = LeftBarState{};
    s.view = &view;
    s.measure = gfx::new_image(1, 1);
    // The list has room for every panel id.
    if (ui::Panel* panel = ui::panel_install(&view_state().panels, kPanelLeftBar, &s, &kHooks))
        panel->visible = true;
    (void)reload_on_change(&s.pictures, kLeftNames);
    left_bar_refresh();
    install_colour_switches(view);
    left_bar_place(view);
}

void left_bar_place(MainView& view) {
    ui::Panel* panel = bar_panel();
    if (!panel) return;
    panel->rect = left_bar_rect(view.width, view.height);
    clamp_scroll(g_bar, panel->rect);
    colour_switches_place(view, panel->rect);
    view_state().redraw = true;
}

void left_bar_refresh() {
    LeftBarState& s = g_bar;
    if (!s.view) return;
    const ViewState& shown = view_state();
    s.group = shown.group;
    if (s.board != shown.board) {
        // Another whiteboard's Cases start unselected at their top.
        s.board = shown.board;
        s.selected[kTabBoardCases] = -1;
        s.scroll[kTabBoardCases] = 0;
    }
    read_categories(s);
    if (s.measure) gfx::set_font(14, 0, texts::kYaHei, s.measure);
    read_cases(shown.group, shown.board, &s.board_cases, s.measure);
    if (s.preview_board >= 0 && !find_board(s.group, s.preview_board)) s.preview_board = -1;
    if (s.preview_board == shown.board) s.preview_board = -1;
    if (s.preview_board >= 0) {
        read_cases(s.group, s.preview_board, &s.preview_cases, s.measure);
    } else {
        s.preview_cases.count = 0;
        if (s.tab == kTabPreview) s.tab = kTabCategories;
    }
    for (int t = 0; t < kLeftTabCount; ++t)
        if (s.selected[size_t(t)] >= row_count(s, t)) s.selected[size_t(t)] = -1;
    s.hover_row = -1;
    render_left_bar_tabs(s);
    render_preview_bars(s);
    left_bar_place(*s.view);
}

void left_bar_preview(int board) {
    LeftBarState& s = g_bar;
    if (!find_board(view_state().group, board) || board == view_state().board) return;
    s.preview_board = board;
    s.scroll[kTabPreview] = 0;
    s.selected[kTabPreview] = -1;
    left_bar_refresh();
    show_tab(s, kTabPreview);
}

bool left_bar_selected_case(CaseRef* out) {
    const LeftBarState& s = g_bar;
    const CaseList* list = case_list(s, s.tab);
    const int row = s.selected[size_t(s.tab)];
    if (!list || row < 0 || row >= list->count) return false;
    *out = list->rows[size_t(row)].ref;
    return true;
}

bool left_bar_menu_target(const MainView& view, int x, int y, MenuTarget* out) {
    const ui::Panel* panel = ui::panel_find(view_state().panels, kPanelLeftBar);
    if (!panel || !panel->visible) return false;
    const LeftBarState& s = g_bar;
    if (!left_bar_list_rect(panel->rect).contains(x, y)) return false;
    const int row = row_under(s, panel->rect, x, y);
    MenuTarget t;
    t.x = x;
    t.y = y;
    t.row = row;
    if (s.tab == kTabCategories) {
        if (row < 0) {
            t.object = kMenuCategoryEmpty;
        } else {
            const CategoryRow& c = s.categories[size_t(row)];
            t.object = c.used ? kMenuCategory : kMenuCategoryPlaceholder;
            t.target.where = {0, s.group, c.board, -1};
        }
    } else {
        const CaseList* list = case_list(s, s.tab);
        if (row < 0) {
            if (s.tab != kTabBoardCases) return false;
            t.object = kMenuBoardCasesEmpty;
        } else {
            t.object = s.tab == kTabBoardCases ? kMenuBoardCase : kMenuPreviewCase;
            t.target = list->rows[size_t(row)].ref;
            t.card = find_card(view, t.target);
        }
    }
    *out = t;
    return true;
}

}  // namespace nd
