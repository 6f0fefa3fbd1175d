#include "ui/list_view.h"

#include <algorithm>

namespace nd::ui {

namespace {

int row_at(const ListView& l, int x, int y) {
    for (int slot = 0; slot < list_visible_rows(l); ++slot) {
        const int index = l.first_visible + slot;
        if (index >= l.count) break;
        if (list_row_rect(l, slot).contains(x, y)) return index;
    }
    return -1;
}

void fill(gfx::IMAGE* canvas, const gfx::Rect& r, gfx::Color color) {
    gfx::set_fill_color(color, canvas);
    gfx::fill_bar(r.x, r.y, r.right(), r.bottom(), canvas);
}

}  // namespace

int list_visible_rows(const ListView& l) {
    return (l.pane.h - l.row_top) / l.row_pitch;
}

bool list_scrolls(const ListView& l) {
    return l.count > list_visible_rows(l);
}

gfx::Rect list_row_rect(const ListView& l, int slot) {
    return {l.pane.x, l.pane.y + l.row_top + slot * l.row_pitch, l.pane.w, l.row_height};
}

void list_set_count(ListView* l, int count) {
    l->count = std::max(0, count);
    const int last_first = std::max(0, l->count - list_visible_rows(*l));
    l->first_visible = std::clamp(l->first_visible, 0, last_first);
    if (l->selected >= l->count) l->selected = -1;
    if (l->hover >= l->count) l->hover = -1;
    if (l->pressed >= l->count) l->pressed = -1;
}

void list_scroll_by(ListView* l, int rows) {
    l->first_visible += rows;
    list_set_count(l, l->count);
}

void list_scroll_to(ListView* l, int index) {
    if (index < l->first_visible) l->first_visible = index;
    if (index >= l->first_visible + list_visible_rows(*l)) {
        l->first_visible = index - list_visible_rows(*l) + 1;
    }
    list_set_count(l, l->count);
}

int list_update(ListView* l, const gfx::MouseMsg& msg) {
    int result = kListNoClick;
    if (list_scrolls(*l)) {
        if (button_update(&l->scroll_up, msg)) {
            list_scroll_by(l, -1);
            result = kListArrowClicked;
        }
        if (button_update(&l->scroll_down, msg)) {
            list_scroll_by(l, 1);
            result = kListArrowClicked;
        }
    } else {
        button_reset(&l->scroll_up);
        button_reset(&l->scroll_down);
    }
    if ((msg.kind & gfx::kMouseWheel) && l->pane.contains(msg.x, msg.y)) {
        list_scroll_by(l, msg.wheel > 0 ? -1 : 1);
    }
    l->hover = row_at(*l, msg.x, msg.y);
    const bool left = (msg.flags & gfx::kMouseLeft) != 0;
    if ((msg.kind & gfx::kMouseDown) && left) {
        l->pressed = l->hover;
        return result;
    }
    if ((msg.kind & gfx::kMouseUp) && left) {
        const int pressed = l->pressed;
        l->pressed = -1;
        if (pressed >= 0 && pressed == l->hover) {
            l->selected = pressed;
            return pressed;
        }
    }
    return result;
}

void list_reset_pointer(ListView* l) {
    l->hover = -1;
    l->pressed = -1;
    button_reset(&l->scroll_up);
    button_reset(&l->scroll_down);
}

void draw_scroll_bar(gfx::IMAGE* canvas, const ListView& l, const ScrollBarLook& look) {
    if (!list_scrolls(l)) return;
    const gfx::Rect& up = l.scroll_up.rect;
    const gfx::Rect& down = l.scroll_down.rect;
    const int visible = list_visible_rows(l);
    const int track_top = up.bottom() + 4;
    const int track_height = down.y - 4 - track_top;
    const int thumb_height = std::max(12, track_height * visible / l.count);
    const int thumb_top = track_top + (track_height - thumb_height) * l.first_visible /
                                          std::max(1, l.count - visible);
    fill(canvas, {up.x + up.w / 2 - 1, track_top, 3, track_height}, look.track);
    fill(canvas, {up.x + up.w / 2 - 2, thumb_top, 5, thumb_height}, look.thumb);
    gfx::set_color(look.thumb, canvas);
    for (int i = 0; i < 6; ++i) {
        const int cx = up.x + up.w / 2;
        gfx::draw_line(cx - i, up.y + 14 + i, cx + i, up.y + 14 + i, canvas);
        gfx::draw_line(cx - i, down.bottom() - 14 - i, cx + i, down.bottom() - 14 - i, canvas);
    }
}

}  // namespace nd::ui
