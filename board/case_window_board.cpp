#include "board/case_window_board.h"

#include <algorithm>
#include <string>

#include "board/layout.h"
#include "board/main_view.h"
#include "board/pointer.h"
#include "board/window_card.h"
#include "content/card_content.h"
#include "content/case_window.h"
#include "content/open.h"
#include "gfx/window/drops.h"
#include "store/tables.h"

namespace nd {

namespace {

constexpr int kWindowWidth = 480;
constexpr int kMargin = 12;

}  // namespace

gfx::Rect case_window_place(const MainView& view) {
    const gfx::Rect bar = top_bar_rect(view.width);
    const int w = std::min(kWindowWidth, std::max(200, view.width - 2 * kMargin));
    const int top = bar.bottom() + kMargin;
    return {std::max(0, view.width - w - kMargin), top, w,
            std::max(160, view.height - top - 3 * kMargin)};
}

void open_case_of_card(MainView& view, int card) {
    if (card < 0 || card >= view.card_count) return;
    const CaseRef ref = view.cards[size_t(card)].ref;
    if (content::open_case_window(ref, case_window_place(view), content::kTabContent) == 0)
        request_redraw(view);
}

void open_card_attachment(MainView& view, int card, int x, int y) {
    if (card < 0 || card >= view.card_count) return;
    const Card& c = view.cards[size_t(card)];
    if (c.form == kFormTitle || !c.record) return;
    const gfx::Rect a = window_text_area(c.rect);
    const int slot = content::card_attachment_at(c.ref.key, c.first_line, {a.x, a.y, a.w, a.h}, x, y);
    if (slot < 0) return;
    std::string reason;
    if (content::open_attachment(*c.record, slot, Tables.root, &reason) == 0) return;
    open_case_of_card(view, card);
    content::case_window_tell(reason);
}

void take_drops(MainView& view) {
    gfx::DropRecord drop;
    while (gfx::take_drop(&drop)) {
        if (content::case_window_drop(drop.x, drop.y, drop.paths)) continue;
        const int hit = hit_test(view, drop.x, drop.y);
        if (!hit_is_card(hit) || card_of_hit(hit) >= view.card_count) continue;
        open_case_of_card(view, card_of_hit(hit));
        // Dropped on a card, the files go where the Case window now opened.
        const gfx::Rect r = content::case_window_rect();
        if (content::case_window_open())
            (void)content::case_window_drop(r.x + 1, r.y + 1, drop.paths);
    }
}

}  // namespace nd
