#include "board/arrange.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "board/board_switch.h"
#include "board/cards.h"
#include "board/command_rows.h"
#include "board/left_bar.h"
#include "board/main_view.h"
#include "board/menu_items.h"
#include "board/organise_texts.h"
#include "board/texts.h"
#include "session/progress.h"
#include "skins/palette.h"
#include "store/cases.h"
#include "store/locks.h"

namespace nd {

namespace {

constexpr int kRowHeight = 32;       // a row of the compact and spaced arrangements, less the gap
constexpr int kGroupRowStep = 52;    // rows of a group
constexpr int kGroupCardGap = 22;    // between cards of a group's row
constexpr int kGroupsTop = 70;       // the first group row below the left bar's top
constexpr int kFramePad = 10;        // a frame's margin round its cards
constexpr int kFrameLabelRoom = 26;  // above the first row, for the group's name

// Lays out the items of one group in rows of `per_row` from (x0, y);
// returns the group's figures.
ArrangeGroup lay_group(int group, std::span<const ArrangeItem> items, std::span<const int> members,
                       int per_row, int x0, int y, ArrangeResult* out) {
    ArrangeGroup g;
    g.group = group;
    g.x = x0;
    g.y = y;
    g.cards = int(members.size());
    int x = x0;
    int row_top = y;
    int row_height = 0;
    for (size_t k = 0; k < members.size(); ++k) {
        if (k > 0 && k % size_t(per_row) == 0) {
            row_top += kGroupRowStep;
            x = x0;
        }
        const ArrangeItem& item = items[size_t(members[k])];
        out->places[size_t(members[k])] = {x, row_top};
        g.width = std::max(g.width, x + item.width - x0);
        row_height = std::max(row_height, row_top + item.height - y);
        x += item.width + kGroupCardGap;
    }
    g.height = row_height;
    return g;
}

// The members of each group, in the items' order.
struct Members {
    std::array<std::array<int, 80>, kArrangeGroupRoom> of{};
    std::array<int, kArrangeGroupRoom> count{};
    std::span<const int> group(int g) const { return {of[size_t(g)].data(), size_t(count[size_t(g)])}; }
};

// The items by group, the group of each given by `group_of`.
Members members_by(std::span<const ArrangeItem> items, int (*group_of)(const ArrangeItem&)) {
    Members m;
    for (size_t i = 0; i < items.size(); ++i) {
        const int g = group_of(items[i]);
        m.of[size_t(g)][size_t(m.count[size_t(g)]++)] = int(i);
    }
    return m;
}

void by_difficulty(const ArrangeOrigin& o, std::span<const ArrangeItem> items, ArrangeResult* out) {
    const Members m =
        members_by(items, [](const ArrangeItem& item) { return std::clamp(item.difficulty, 0, 2); });
    const int x0 = o.bar_x + o.bar_width + 100;
    int y = o.bar_top + kGroupsTop;
    for (int d = 0; d < 3; ++d) {
        const int n = m.count[size_t(d)];
        out->groups[size_t(d)] = lay_group(d, items, m.group(d), 3, x0, y, out);
        // The next group begins 100 below the row after the last full row,
        // or below the shorter row when there is one.
        const int rows = n / 3 + (n % 3 != 0 ? 1 : 0);
        y += rows * kGroupRowStep + 100;
    }
    out->group_count = 3;
}

// A colour group's height figure: 32 a full row and 80 for a shorter one.
// Where that would put the group below into this one's last rows (three
// full rows and more), the group below starts clear of them instead.
int height_figure(int n) {
    const int full = n / 4;
    const bool shorter = n % 4 != 0;
    const int stated = kRowHeight * full + (shorter ? 80 : 0);
    const int rows = full + (shorter ? 1 : 0);
    const int clear = rows > 0 ? kGroupRowStep * (rows - 1) + 8 : 0;
    return std::max(stated, clear);
}

void by_colour(const ArrangeOrigin& o, std::span<const ArrangeItem> items, ArrangeResult* out) {
    const Members m =
        members_by(items, [](const ArrangeItem& item) { return std::clamp(item.colour, 0, 3); });
    const int x0 = o.bar_x + o.bar_width + 100;
    const int top = o.bar_top + kGroupsTop;
    // Grey top-left, green top-right, red bottom-left, yellow bottom-right.
    const ArrangeGroup grey = lay_group(kColourShelved, items, m.group(kColourShelved), 4, x0, top, out);
    const int red_top = height_figure(m.count[kColourShelved]) + o.bar_top + 102;
    const ArrangeGroup red = lay_group(kColourSevere, items, m.group(kColourSevere), 4, x0, red_top, out);
    const int right_x = std::max(grey.width, red.width) + o.bar_x + o.bar_width + 180;
    const ArrangeGroup green = lay_group(kColourGood, items, m.group(kColourGood), 4, right_x, top, out);
    const int yellow_top = height_figure(m.count[kColourGood]) + o.bar_top + 102;
    const ArrangeGroup yellow =
        lay_group(kColourWarning, items, m.group(kColourWarning), 4, right_x, yellow_top, out);
    out->groups = {grey, green, red, yellow};
    out->group_count = 4;
}

void in_rows(const ArrangeOrigin& o, std::span<const ArrangeItem> items, int gap, ArrangeResult* out) {
    const int columns = items.size() <= 40 ? 4 : 8;
    const int x0 = o.bar_x + o.bar_width + 100;
    int x = x0;
    int y = o.bar_top + 50;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0 && i % size_t(columns) == 0) {
            y += gap + kRowHeight;
            x = x0;
        }
        out->places[i] = {x, y};
        x += gap + items[i].width + 2;
    }
}

const char* group_name(bool by_colour, int group) {
    return by_colour ? texts::kStatusName[group] : texts::kDifficultyName[group];
}

}  // namespace

ArrangeResult arrange_layout(Arrangement mode, const ArrangeOrigin& origin,
                             std::span<const ArrangeItem> items) {
    ArrangeResult out;
    if (items.size() > out.places.size()) items = items.first(out.places.size());
    switch (mode) {
        case Arrangement::kCompact:
            in_rows(origin, items, 0, &out);
            break;
        case Arrangement::kSpaced:
            in_rows(origin, items, 20, &out);
            break;
        case Arrangement::kByColour:
            by_colour(origin, items, &out);
            break;
        case Arrangement::kByDifficulty:
            by_difficulty(origin, items, &out);
            break;
    }
    return out;
}

void arrange_board(MainView& view, Arrangement mode) {
    if (view.card_count == 0 || board_loading(view) || !board_ready()) return;
    // Every card shows its title first, so the rows are laid out at the
    // title sizes.
    std::array<ArrangeItem, kCaseSlots> items{};
    const int count = view.z_count;
    for (int z = 0; z < count; ++z) {
        const int i = view.z_order[size_t(z)];
        Card& card = view.cards[size_t(i)];
        if (card.record) card.record->form = uint8_t((card.record->form & ~3) | kFormTitle);
        refresh_card(view, i);
        card.form = kFormTitle;
        items[size_t(z)] = {card.rect.w, card.rect.h, card.record ? card.record->colour : 0,
                            card.record ? card.record->difficulty : 0};
    }
    const gfx::Rect bar = left_bar_rect(view.width, view.height);
    const ArrangeResult result =
        arrange_layout(mode, {bar.x, bar.w, bar.y}, std::span<const ArrangeItem>(items.data(), size_t(count)));
    for (int z = 0; z < count; ++z) {
        const int i = view.z_order[size_t(z)];
        Card& card = view.cards[size_t(i)];
        move_card(view, i, result.places[size_t(z)].x, result.places[size_t(z)].y);
        if (!card.record) continue;
        std::lock_guard<std::mutex> hold(StorageLock);
        card.record->x = card.board_x;
        card.record->y = card.board_y;
        view.moves[size_t(card.slot)].pending = false;
        if (save_case(0, card.ref.where.group, card.ref.where.board, card.slot) != 0)
            std::fprintf(stderr, "nodrel: an arranged Case cannot be saved\n");
    }

    ArrangeFrames& frames = view.arrange_frames;
    frames = ArrangeFrames{};
    frames.group = view_state().group;
    frames.board = view_state().board;
    frames.by_colour = mode == Arrangement::kByColour;
    for (int g = 0; g < result.group_count; ++g) {
        ArrangeGroup group = result.groups[size_t(g)];
        if (group.cards == 0) continue;
        // Kept in board units, so the frames pan with the cards.
        group.x -= view.origin_x;
        group.y -= view.origin_y;
        frames.frames[size_t(frames.count++)] = group;
    }
    if (view.z_count > 0) select_card(view, view.z_order[0]);
    set_origin(view, view.origin_x, view.origin_y);
    request_redraw(view);
}

void draw_arrange_frames(const MainView& view, gfx::IMAGE* canvas) {
    const ArrangeFrames& f = view.arrange_frames;
    if (f.count == 0 || f.group != view_state().group || f.board != view_state().board) return;
    if (view.zoom.scale != 1 || view.zoom.running) return;
    const int skin = current_skin();
    gfx::set_font(16, 0, texts::kYaHei, canvas);
    for (int k = 0; k < f.count; ++k) {
        const ArrangeGroup& g = f.frames[size_t(k)];
        const int x = g.x + view.origin_x - kFramePad;
        const int y = g.y + view.origin_y - kFramePad - kFrameLabelRoom;
        const int right = g.x + view.origin_x + g.width + kFramePad;
        const int bottom = g.y + view.origin_y + g.height + kFramePad;
        const uint32_t colour =
            f.by_colour ? palette_color(kPalStatusBar + 4 * g.group, skin) : palette_color(kPalOptionRule, skin);
        gfx::set_color(colour, canvas);
        gfx::draw_rectangle(x, y, right, bottom, canvas);
        gfx::set_fill_color(colour, canvas);
        gfx::fill_bar(x, y, x + 4, bottom, canvas);
        gfx::set_color(palette_color(kPalPanelText, skin), canvas);
        char label[48];
        std::snprintf(label, sizeof label, "%s (%d)", group_name(f.by_colour, g.group), g.cards);
        gfx::text_out(x + 12, y + 4, label, canvas);
    }
}

void arrange_command(MainView& view, int item, const MenuTarget&) {
    arrange_board(view, static_cast<Arrangement>(item - kItemCompact));
}

}  // namespace nd
