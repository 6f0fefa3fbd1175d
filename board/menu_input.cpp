// The open menu's input: hovering, clicking an item or the reserved-status
// zone of a colour row, accelerator letters, and the fade each frame.
#include <algorithm>

#include "board/main_view.h"
#include "board/menu.h"
#include "board/menu_draw.h"

namespace nd {

namespace {

// The enabled entry whose band holds the pointer, or -1.
int entry_under(const MenuState& m, int x, int y) {
    if (!m.box.contains(x, y)) return -1;
    for (int i = 0; i < m.count; ++i) {
        const MenuEntry& e = m.entries[size_t(i)];
        if (e.enabled && y >= e.y && y < e.y + ui::kMenuItemHeight) return i;
    }
    return -1;
}

// The colour of the reserved-status zone under the pointer, or -1.
int zone_under(const MenuState& m, int entry, int x) {
    if (entry < 0) return -1;
    const MenuEntry& e = m.entries[size_t(entry)];
    const int colour = colour_of_item(e.item);
    if (colour < 0 || x < e.x + kReservedZoneLeft || x > e.x + kReservedZoneRight) return -1;
    return colour;
}

void track(MainView& view, int x, int y) {
    MenuState& m = view.menu;
    const int hovered = entry_under(m, x, y);
    const int hot = zone_under(m, hovered, x);
    const bool inside = m.box.contains(x, y);
    if (hovered != m.hovered) m.hover_alpha = kMenuFirstAlpha;
    if (hovered != m.hovered || hot != m.hot_colour || inside != m.pointer_inside)
        request_redraw(view);
    m.hovered = hovered;
    m.hot_colour = hot;
    m.pointer_inside = inside;
}

// Closes the menu, then runs the entry's command; a click on a colour row's
// right end runs the reserved status with the row's colour instead.
void run_entry(MainView& view, int entry, int zone_colour) {
    MenuTarget target = view.menu.target;
    int item = view.menu.entries[size_t(entry)].item;
    if (zone_colour >= 0) {
        item = kItemReserveStatus;
        target.colour = zone_colour;
    }
    close_menu(view);
    run_command(view, item, target);
}

}  // namespace

bool menu_pointer(MainView& view, const gfx::MouseMsg& msg) {
    MenuState& m = view.menu;
    if (!m.open) return false;
    track(view, msg.x, msg.y);
    const bool left = (msg.flags & gfx::kMouseLeft) != 0;
    if ((msg.kind & gfx::kMouseDown) && left) {
        if (!m.pointer_inside) {
            close_menu(view);
            return true;
        }
        m.pressed = m.hovered;
        m.pressed_colour = m.hot_colour;
        return true;
    }
    if ((msg.kind & gfx::kMouseUp) && left) {
        const bool was_pressed = m.pressed >= 0;
        const bool same = was_pressed && m.pressed == m.hovered && m.pressed_colour == m.hot_colour;
        const int entry = m.pressed;
        const int zone = m.pressed_colour;
        m.pressed = -1;
        if (same) run_entry(view, entry, zone);
        return was_pressed || m.pointer_inside;
    }
    return m.pointer_inside;
}

void menu_key(MainView& view, int character) {
    MenuState& m = view.menu;
    if (!m.open) return;
    if (character == 27) {
        close_menu(view);
        return;
    }
    if (character < 32 || character > 126) return;
    const int letter = character >= 'A' && character <= 'Z' ? character - 'A' + 'a' : character;
    std::array<int, kMenuRoom> items;
    int count = 0;
    for (int i = 0; i < m.count; ++i) {
        const MenuEntry& e = m.entries[size_t(i)];
        if (e.enabled && menu_item_spec(e.item).letter == letter) items[size_t(count++)] = e.item;
    }
    const MenuTarget target = m.target;
    close_menu(view);
    for (int i = 0; i < count; ++i) run_command(view, items[size_t(i)], target);
}

bool menu_animate(MainView& view) {
    MenuState& m = view.menu;
    if (!m.open) return false;
    const int cap = m.pointer_inside ? kMenuInsideAlpha : kMenuFullAlpha;
    const int alpha = std::min(m.alpha + kMenuAlphaStep, cap);
    const int hover =
        m.hovered >= 0 ? std::min(m.hover_alpha + kMenuAlphaStep, kMenuFullAlpha) : m.hover_alpha;
    const bool changed = alpha != m.alpha || hover != m.hover_alpha;
    m.alpha = alpha;
    m.hover_alpha = hover;
    if (changed) request_redraw(view);
    return changed;
}

}  // namespace nd
