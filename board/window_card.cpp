#include "board/window_card.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "board/colours.h"
#include "board/main_view.h"
#include "board/pictures.h"
#include "board/shapes.h"
#include "board/texts.h"
#include "content/card_content.h"
#include "skins/skin.h"
#include "store/tables.h"

namespace nd {

namespace {

constexpr int kLinesPerNotch = 3;

void draw_marks(const MainView& view, gfx::IMAGE* canvas, const Card& card, gfx::Color colour) {
    const CaseRecord& record = *card.record;
    const int count = std::min<int>(record.map_mark_count, kMaxMapMarks);
    const gfx::IMAGE* picture = map_mark_picture(view.pictures);
    gfx::set_font(12, 0, texts::kConsolas, canvas);
    gfx::set_color(colour, canvas);
    for (int i = 0; i < count; ++i) {
        const MapMark& mark = record.map_marks[i];
        const int x = card.rect.x + mark.x, y = card.rect.y + mark.y;
        if (picture_loaded(picture)) {
            place(canvas, picture, x - picture->width / 2, y - picture->height);
        } else {
            fill_disc(canvas, x, y, 3, colour);
        }
        char name[16];
        std::snprintf(name, sizeof name, texts::kMarkName, i);
        gfx::text_out(x + 6, y - 6, name, canvas);
    }
}

}  // namespace

gfx::Rect window_text_area(const gfx::Rect& card) {
    return {card.x + kTextAreaLeft, card.y + kTextAreaTop, card.w - 37, card.h - 95};
}

bool in_window_grip(const gfx::Rect& card, int x, int y) {
    return x > card.right() - kWindowCardGrip && x < card.right() &&
           y > card.bottom() - kWindowCardGrip && y < card.bottom();
}

bool scroll_window_card(Card& card, int delta) {
    if (card.form == kFormTitle) return false;
    card.first_line = std::max(0, card.first_line - delta / 120 * kLinesPerNotch);
    return true;
}

void draw_window_card(const MainView& view, gfx::IMAGE* canvas, const Card& card, bool hot) {
    const BoardColours& c = board_colours(current_skin());
    const gfx::Rect& r = card.rect;
    const int colour = card.record->colour & 3;
    const gfx::Color edge = c.card_frame[static_cast<size_t>(colour)];
    fill_rect(canvas, r, c.window_card_fill);
    outline(canvas, r, edge);
    const gfx::Rect caption{r.x + 5, r.y, r.w - 10, kWindowCaptionHeight};
    fill_rect(canvas, caption, c.card_fill[static_cast<size_t>(colour)]);
    place(canvas, card_cap(view.pictures, colour, false, hot), r.x, r.y);
    place(canvas, card_cap(view.pictures, colour, true, hot), r.right() - 5, r.y);

    const gfx::Viewport saved = canvas->state.viewport;
    const gfx::Rect title = gfx::Rect{r.x + 8, r.y, r.w - 16, kWindowCaptionHeight}.intersect(
        saved.area);
    gfx::set_viewport(title.x, title.y, title.right(), title.bottom(), 1, canvas);
    gfx::set_font(kTitleFontSize, 0, texts::kYaHei, canvas);
    gfx::set_color(colour == kColourWarning ? kCardTitleDark : kCardTitleLight, canvas);
    gfx::text_out(r.x + 8 - title.x, r.y + 6 - title.y, card.title, canvas);
    canvas->state.viewport = saved;

    const CaseBody* body = find_case_body(card.ref.where.group, card.ref.where.board, card.slot);
    const CaseRecord* record = find_case(card.ref.where.group, card.ref.where.board, card.slot);
    if (body && record) {
        const gfx::Rect area = window_text_area(r);
        content::draw_card_content(*record, *body, Tables.root, card.first_line,
                                   {c.window_card_fill, c.window_card_text}, canvas,
                                   {area.x, area.y, area.w, area.h});
    }
    if (card.form == kFormMap) draw_marks(view, canvas, card, c.window_card_text);
    place(canvas, card_grip(view.pictures), r.right() - 12, r.bottom() - 12);
    // The title stage of the frame sets its font once for every card.
    gfx::set_font(kTitleFontSize, 0, texts::kYaHei, canvas);
}

}  // namespace nd
