// The sorting view's Cases, input and command.
#include "board/sort_view.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string_view>

#include "analysis/links.h"
#include "base/gbk.h"
#include "board/cards.h"
#include "board/command_case.h"
#include "board/command_rows.h"
#include "board/main_view.h"
#include "session/menu_objects.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/tables.h"

namespace nd {

namespace {

SortViewState g_sort;

constexpr int kButtons = kSortModeCount + 1;  // the modes, then the close button
constexpr int kClose = kSortModeCount;

bool same_case(const LocationRef& a, const LocationRef& b) {
    return a.group == b.group && a.board == b.board && a.slot == b.slot;
}

SortEntry entry_of(const CaseRecord& record, const LocationRef& at) {
    SortEntry e;
    e.ref.where = at;
    e.ref.key = record.key;
    e.colour = record.colour & 3;
    e.colour_date = record.colour_date;
    e.board_x = record.x;
    e.board_y = record.y;
    const std::string_view title(record.title, strnlen(record.title, sizeof record.title));
    gbk_copy_field(e.title, sizeof e.title, title);
    return e;
}

void order_columns(SortColumns* out, int mode) {
    for (auto& column : out->columns) {
        if (mode == kSortMemory) {
            std::stable_sort(column.begin(), column.end(), [](const SortEntry& a, const SortEntry& b) {
                return a.colour_date > b.colour_date;
            });
        } else if (mode == kSortSpace) {
            std::stable_sort(column.begin(), column.end(), [](const SortEntry& a, const SortEntry& b) {
                return a.board_y != b.board_y ? a.board_y < b.board_y : a.board_x < b.board_x;
            });
        }
    }
}

void clamp_scroll(SortViewState& s, const gfx::Rect& panel) {
    size_t longest = 0;
    for (const auto& column : s.columns.columns) longest = std::max(longest, column.size());
    const int room = panel.bottom() - sort_column_top(panel) - 20;
    const int content = int(longest) * kSortEntryStep;
    s.scroll = std::clamp(s.scroll, 0, std::max(0, content - room));
}

// The entry under the screen point: its column and index, or false.
bool entry_at(const SortViewState& s, const gfx::Rect& panel, int x, int y, int* column, int* entry) {
    const int top = sort_column_top(panel);
    if (y < top - 8 || y >= panel.bottom()) return false;
    for (int c = 0; c < 4; ++c) {
        const int cx = sort_column_x(panel, c);
        if (x < cx || x >= cx + kSortColumnStep - 10) continue;
        const int i = (y - (top - 8) + s.scroll) / kSortEntryStep;
        if (i < 0 || i >= int(s.columns.columns[size_t(c)].size())) return false;
        *column = c;
        *entry = i;
        return true;
    }
    return false;
}

int button_at(const gfx::Rect& panel, int x, int y) {
    for (int b = 0; b < kButtons; ++b)
        if (sort_button_rect(panel, b).contains(x, y)) return b;
    return -1;
}

void fill(SortViewState& s) {
    s.columns = SortColumns{};
    s.scroll = 0;
    s.hover_entry = s.selected_entry = -1;
    s.hover_column = s.selected_column = -1;
    collect_sort_entries(s.shown, s.mode, &s.columns);
}

bool pointer(ui::Panel& panel, const gfx::MouseMsg& msg) {
    SortViewState& s = *static_cast<SortViewState*>(panel.state);
    int column = -1, entry = -1;
    if (!entry_at(s, panel.rect, msg.x, msg.y, &column, &entry)) column = entry = -1;
    const int button = button_at(panel.rect, msg.x, msg.y);
    if (column != s.hover_column || entry != s.hover_entry || button != s.hover_button)
        view_state().redraw = true;
    const bool changed =
        column != s.hover_column || entry != s.hover_entry || button != s.hover_button;
    s.hover_column = column;
    s.hover_entry = entry;
    s.hover_button = button;
    if (msg.kind == gfx::kMouseDown && (msg.flags & gfx::kMouseLeft)) {
        if (button == kClose) {
            if (s.view) close_sort_view(*s.view);
        } else if (button >= 0 && button != s.mode) {
            s.mode = button;
            fill(s);
        } else if (entry >= 0) {
            s.selected_column = column;
            s.selected_entry = entry;
        }
        render_sort_view(s, panel.rect);
        view_state().redraw = true;
    } else if (changed) {
        render_sort_view(s, panel.rect);
    }
    return panel.rect.contains(msg.x, msg.y);
}

// A double click on an entry shows its Case on the board.
bool double_click(ui::Panel& panel, int x, int y) {
    SortViewState& s = *static_cast<SortViewState*>(panel.state);
    int column = -1, entry = -1;
    if (!s.view || !entry_at(s, panel.rect, x, y, &column, &entry)) return false;
    jump_to_case(*s.view, s.columns.columns[size_t(column)][size_t(entry)].ref);
    return true;
}

bool wheel(ui::Panel& panel, int, int, int delta) {
    SortViewState& s = *static_cast<SortViewState*>(panel.state);
    s.scroll -= delta / 120 * 3 * kSortEntryStep;
    clamp_scroll(s, panel.rect);
    s.hover_entry = -1;
    render_sort_view(s, panel.rect);
    view_state().redraw = true;
    return true;
}

void skin_changed(ui::Panel& panel, int) {
    if (panel.visible) render_sort_view(*static_cast<SortViewState*>(panel.state), panel.rect);
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
    .draw = draw_sort_view,
    .skin_changed = skin_changed,
    .hover = nullptr,
    .context = context,
};

}  // namespace

int SortColumns::total() const {
    int n = 0;
    for (const auto& column : columns) n += int(column.size());
    return n;
}

bool collect_sort_entries(const CaseRef& start, int mode, SortColumns* out) {
    const LocationRef& at = start.where;
    const CaseRecord* first = find_case(at.group, at.board, at.slot);
    if (!first || !same_item(first->key, start.key)) return false;
    for (auto& column : out->columns) column.clear();
    if (mode == kSortAll) {
        const Board* board = find_board(at.group, at.board);
        for (int slot = 0; board && slot < int(board->case_count) && slot < kCaseSlots; ++slot) {
            if (const CaseRecord* r = find_case(at.group, at.board, slot)) {
                const SortEntry e = entry_of(*r, {0, at.group, at.board, slot});
                out->columns[size_t(e.colour)].push_back(e);
            }
        }
        return true;
    }
    // Breadth first from the Case; a Case already seen is not visited again,
    // so links that come back round (cycles) add nothing.
    std::vector<LocationRef> seen{at};
    std::deque<const CaseRecord*> queue{first};
    std::deque<LocationRef> places{at};
    while (!queue.empty()) {
        const CaseRecord* record = queue.front();
        const LocationRef here = places.front();
        queue.pop_front();
        places.pop_front();
        const SortEntry e = entry_of(*record, here);
        out->columns[size_t(e.colour)].push_back(e);
        const int links = link_count(*record);
        for (int i = 0; i < links; ++i) {
            LocationRef to{};
            const CaseRecord* next = link_target(*record, i, &to);
            if (!next) continue;
            if (std::any_of(seen.begin(), seen.end(), [&](const LocationRef& s) { return same_case(s, to); }))
                continue;
            seen.push_back(to);
            queue.push_back(next);
            places.push_back(to);
        }
    }
    order_columns(out, mode);
    return true;
}

SortViewState& sort_view_state() {
    return g_sort;
}

gfx::Rect sort_view_rect(int width, int height) {
    const int x = std::clamp(width - 1090, 10, 320);
    return {x, 100, std::max(200, width - x - 20), std::max(300, height - 120)};
}

int sort_column_x(const gfx::Rect& panel, int column) {
    return panel.x + 30 + column * kSortColumnStep;
}

int sort_column_top(const gfx::Rect& panel) {
    return panel.y + 160;
}

gfx::Rect sort_button_rect(const gfx::Rect& panel, int button) {
    if (button == kClose) return {panel.right() - 34, panel.y + 8, 24, 24};
    return {panel.right() - 480 + button * 110, panel.y + 40, 100, 30};
}

void open_sort_view(MainView& view, const CaseRef& ref) {
    SortViewState& s = g_sort;
    ui::PanelList& list = view_state().panels;
    ui::Panel* panel = ui::panel_install(&list, kPanelListView, &s, &kHooks);
    if (!panel) return;
    s.view = &view;
    s.shown = ref;
    s.mode = kSortStatus;
    s.hover_button = -1;
    fill(s);
    const CaseRecord* record = find_case(ref.where.group, ref.where.board, ref.where.slot);
    s.title[0] = 0;
    if (record)
        gbk_copy_field(s.title, sizeof s.title,
                       std::string_view(record->title, strnlen(record->title, sizeof record->title)));
    panel->rect = sort_view_rect(view.width, view.height);
    panel->visible = true;
    render_sort_view(s, panel->rect);
    ui::panel_bring_to_front(&list, kPanelListView);
    request_redraw(view);
}

void close_sort_view(MainView& view) {
    if (ui::Panel* panel = ui::panel_find(&view_state().panels, kPanelListView)) panel->visible = false;
    request_redraw(view);
}

bool sort_view_menu_target(const MainView& view, int x, int y, MenuTarget* out) {
    const ui::Panel* panel = ui::panel_find(view_state().panels, kPanelListView);
    if (!panel || !panel->visible) return false;
    int column = -1, entry = -1;
    if (!entry_at(g_sort, panel->rect, x, y, &column, &entry)) return false;
    MenuTarget t;
    t.object = kMenuListRow;
    t.target = g_sort.columns.columns[size_t(column)][size_t(entry)].ref;
    t.card = find_card(view, t.target);
    t.row = entry;
    t.x = x;
    t.y = y;
    *out = t;
    return true;
}

void sort_view_command(MainView& view, int, const MenuTarget& target) {
    if (!command_case(target)) return;
    open_sort_view(view, target.target);
}

}  // namespace nd
