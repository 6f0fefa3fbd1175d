#include "board/zoom.h"

#include <cmath>

#include "board/cards.h"
#include "board/geometry.h"
#include "board/main_view.h"

namespace nd {

namespace {

// Every card's screen place from its board place at the scale being shown.
void place_cards(MainView& view, float scale) {
    for (int i = 0; i < view.card_count; ++i) {
        Card& card = view.cards[static_cast<size_t>(i)];
        card.rect.x = view.origin_x + static_cast<int>(std::lround(card.board_x / scale));
        card.rect.y = view.origin_y + static_cast<int>(std::lround(card.board_y / scale));
    }
}

}  // namespace

bool zoom_wheel(MainView& view, int delta) {
    ZoomState& z = view.zoom;
    if (z.running || delta == 0) return false;
    int target = z.scale;
    float step = 0.0f;
    if (delta > 0 && z.scale == 4) target = 2, step = -0.2f;
    if (delta > 0 && z.scale == 2) target = 1, step = -0.1f;
    if (delta < 0 && z.scale == 1) target = 2, step = 0.1f;
    if (delta < 0 && z.scale == 2) target = 4, step = 0.2f;
    if (target == z.scale) return false;
    // Zooming out past 1 shows every card by its title.
    if (z.scale == 1) {
        z.running = true;
        show_card_forms(view, false);
    }
    z.running = true;
    z.frames_left = kZoomFrames;
    z.value = static_cast<float>(z.scale);
    z.step = step;
    z.target = target;
    z.anchor_card = view.z_count > 0 ? view.z_order[0] : -1;
    if (z.anchor_card >= 0) {
        const gfx::Rect& r = view.cards[static_cast<size_t>(z.anchor_card)].rect;
        z.anchor_x = r.x;
        z.anchor_y = r.y;
    }
    return true;
}

void set_zoom(MainView& view, int scale) {
    ZoomState& z = view.zoom;
    z = ZoomState{};
    z.scale = scale == 2 || scale == 4 ? scale : 1;
    show_card_forms(view, z.scale == 1);
    place_cards(view, static_cast<float>(z.scale));
}

bool zoom_animate(MainView& view) {
    ZoomState& z = view.zoom;
    if (!z.running) return false;
    z.value += z.step;
    const bool last = --z.frames_left == 0;
    if (last) z.value = static_cast<float>(z.target);
    place_cards(view, z.value);
    if (z.anchor_card >= 0) {
        // The top card stays where it was: the whole view moves under it.
        const gfx::Rect& r = view.cards[static_cast<size_t>(z.anchor_card)].rect;
        view.origin_x = clamp_origin_x(view.origin_x + z.anchor_x - r.x, view.width);
        view.origin_y = clamp_origin_y(view.origin_y + z.anchor_y - r.y, view.height);
        place_cards(view, z.value);
    }
    if (last) {
        z.running = false;
        z.scale = z.target;
        if (z.scale == 1) show_card_forms(view, true);
    }
    request_redraw(view);
    return true;
}

}  // namespace nd
