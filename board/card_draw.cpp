// The cards and links stage of the frame.
#include "board/card_draw.h"

#include <algorithm>
#include <cstring>

#include "board/colours.h"
#include "board/frame.h"
#include "board/hit_codes.h"
#include "board/layout.h"
#include "board/link_gesture.h"
#include "board/main_view.h"
#include "board/options.h"
#include "board/pictures.h"
#include "board/shapes.h"
#include "board/texts.h"
#include "board/window_card.h"
#include "skins/skin.h"

namespace nd {

namespace {

const Card& card_at(const MainView& view, int index) {
    return view.cards[static_cast<size_t>(index)];
}

int colour_of(const Card& card) {
    return card.record ? card.record->colour & 3 : 0;
}

void draw_connector(gfx::IMAGE* canvas, const Connector& p, gfx::Color colour) {
    vline(canvas, p[0].x, p[0].y, p[1].y, colour);
    hline(canvas, p[1].x, p[2].x, p[1].y, colour);
    vline(canvas, p[2].x, p[2].y, p[3].y, colour);
}

// Links of one card: in the skin's loose and tight colours, or all in
// `colour` when it is given.
void draw_links(const MainView& view, gfx::IMAGE* canvas, int index, gfx::Color colour) {
    std::array<DrawnConnector, kMaxLinks> drawn;
    const int n = card_connectors(view, index, &drawn);
    const BoardColours& c = board_colours(current_skin());
    for (int i = 0; i < n; ++i) {
        const DrawnConnector& d = drawn[static_cast<size_t>(i)];
        draw_connector(canvas, d.points, colour ? colour : (d.tight ? c.tight_link : c.link));
    }
}

// Straight lines from a map card's marks to the cards they link to.
bool draw_mark_links(const MainView& view, gfx::IMAGE* canvas, int index) {
    const Card& map = card_at(view, index);
    bool any = false;
    for (int l = 0; l < map.link_count; ++l) {
        const CardLink& link = map.links[static_cast<size_t>(l)];
        if (link.kind != kLinkMapMark || link.target_slot < 0) continue;
        const int t = view.slot_card[static_cast<size_t>(link.target_slot)];
        if (t < 0 || !card_shown(view, t)) continue;
        const gfx::Rect& r = card_at(view, t).rect;
        gfx::set_color(kMapLinkColour, canvas);
        gfx::draw_line(map.rect.x + link.mark_x, map.rect.y + link.mark_y, r.x + r.w / 2,
                       r.y + r.h / 2, canvas);
        any = true;
    }
    return any;
}

void draw_title_body(const MainView& view, gfx::IMAGE* canvas, const Card& card, bool hot) {
    const BoardColours& c = board_colours(current_skin());
    const gfx::Rect& r = card.rect;
    const int colour = colour_of(card);
    const BoardPictures& p = view.pictures;
    gfx::Color text;
    if (option_on(kOptionColourFrame)) {
        fill_rect(canvas, gfx::Rect::from_edges(r.x + 5, r.y, r.right() - 4, r.bottom()),
                  c.frame_card_fill);
        const gfx::Color line = c.card_frame[static_cast<size_t>(colour)];
        for (int y : {r.y, r.y + 1, r.bottom() - 2, r.bottom() - 1}) {
            hline(canvas, r.x + 5, r.right() - 5, y, line);
        }
        text = c.frame_card_text;
    } else {
        fill_rect(canvas, gfx::Rect::from_edges(r.x + 5, r.y, r.right() - 5, r.bottom()),
                  c.card_fill[static_cast<size_t>(colour)]);
        text = colour == kColourWarning ? kCardTitleDark : kCardTitleLight;
    }
    place(canvas, card_cap(p, colour, false, hot), r.x, r.y);
    place(canvas, card_cap(p, colour, true, hot), r.right() - 5, r.y);
    gfx::set_color(text, canvas);
    gfx::text_out(r.x + 8, r.y + 6, card.title, canvas);
}

}  // namespace

bool card_shown(const MainView& view, int index) {
    const Card& card = card_at(view, index);
    return card.record && view.colour_shown[static_cast<size_t>(colour_of(card))];
}

int card_connectors(const MainView& view, int index, std::array<DrawnConnector, kMaxLinks>* out) {
    if (index < 0 || !card_shown(view, index)) return 0;
    const Card& card = card_at(view, index);
    int n = 0;
    for (int l = 0; l < card.link_count; ++l) {
        const CardLink& link = card.links[static_cast<size_t>(l)];
        if (link.target_slot < 0) continue;
        const int t = view.slot_card[static_cast<size_t>(link.target_slot)];
        if (t < 0 || t == index || !card_shown(view, t)) continue;
        DrawnConnector& d = (*out)[static_cast<size_t>(n++)];
        d.from = index;
        d.to = t;
        d.tight = link.relation == kRelationTight;
        d.points = connector(card.rect, card_at(view, t).rect);
    }
    return n;
}

int ctrl_hover_card(const MainView& view) {
    if (!(view.ctrl_held || view.pointer.ctrl) || !hit_is_card(view.pointer.hit)) return -1;
    const int index = card_of_hit(view.pointer.hit);
    return index < view.card_count ? index : -1;
}

void draw_card(const MainView& view, gfx::IMAGE* canvas, int index) {
    const Card& card = card_at(view, index);
    const gfx::Rect& r = card.rect;
    const int colour = colour_of(card);
    const int skin = current_skin();
    const bool top = view.z_count > 0 && view.z_order[0] == index;
    const bool hot = view.pointer.hit == kHitFirstCard + index;
    if (top) {
        fill_disc(canvas, r.x + r.w / 2, r.y + r.h / 2, std::max(r.w, r.h) * 9 / 10,
                  board_colours(skin).halo[static_cast<size_t>(colour)]);
    }
    if (card.form == kFormTitle) {
        draw_title_body(view, canvas, card, hot);
    } else {
        draw_window_card(view, canvas, card, hot);
    }
    const BoardPictures& p = view.pictures;
    place(canvas, p.status[static_cast<size_t>(colour)], r.x - 2, r.y + 12);
    const int kind = card.record->kind;
    if (kind == kKindPerson) place(canvas, kind_icon(p, kind, skin), r.x - 15, r.y + 10);
    if (kind == kKindTask) place(canvas, kind_icon(p, kind, skin), r.x - 13, r.y + 11);
    if (card.pinned) place(canvas, pin_picture(p), r.x + r.w / 2 - 15, r.y - 22);
    if (link_gesture_active(view) && hot) {
        const gfx::Color frame = board_colours(skin).link_target;
        outline(canvas, r, frame);
        outline(canvas, gfx::Rect{r.x - 1, r.y - 1, r.w + 2, r.h + 2}, frame);
    }
}

void draw_cards_and_links(const MainView& view, gfx::IMAGE* canvas) {
    const gfx::Rect clip = board_clip(view.width, view.height);
    gfx::set_viewport(clip.x, clip.y, clip.right(), clip.bottom(), 1, canvas);
    gfx::set_font(kTitleFontSize, 0, texts::kYaHei, canvas);
    if (view.z_count > 0) draw_links(view, canvas, view.z_order[0], 0);
    const int hover = ctrl_hover_card(view);
    if (hover >= 0) draw_links(view, canvas, hover, kCtrlHoverLinkColour);

    bool map_links = false;
    for (int z = view.z_count - 1; z >= 0; --z) {
        const int i = view.z_order[static_cast<size_t>(z)];
        if (!card_shown(view, i)) continue;
        draw_card(view, canvas, i);
        if (card_at(view, i).form == kFormMap) map_links |= draw_mark_links(view, canvas, i);
    }
    // Mark links pass under the ordinary cards.
    if (map_links) {
        for (int z = view.z_count - 1; z >= 0; --z) {
            const int i = view.z_order[static_cast<size_t>(z)];
            if (card_shown(view, i) && card_at(view, i).form != kFormMap) draw_card(view, canvas, i);
        }
    }
    if (hover >= 0 && card_shown(view, hover)) draw_card(view, canvas, hover);
    gfx::set_viewport(0, 0, view.width, view.height, 0, canvas);
}

}  // namespace nd
