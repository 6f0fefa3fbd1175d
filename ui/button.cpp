#include "ui/button.h"

#include "skins/skin.h"

namespace nd::ui {

bool button_update(Button* b, const gfx::MouseMsg& msg) {
    b->hover = b->rect.contains(msg.x, msg.y);
    const bool left = (msg.flags & gfx::kMouseLeft) != 0;
    if ((msg.kind & gfx::kMouseDown) && left) {
        b->pressed = b->hover;
        return false;
    }
    if ((msg.kind & gfx::kMouseUp) && left) {
        const bool clicked = b->pressed && b->hover;
        b->pressed = false;
        return clicked;
    }
    return false;
}

void button_reset(Button* b) {
    b->hover = false;
    b->pressed = false;
}

int button_look(const Button& b) {
    if (b.pressed && b.hover) return 2;
    return b.hover ? 1 : 0;
}

bool draw_button_picture(gfx::IMAGE* canvas, const Button& b, gfx::IMAGE* const* images,
                         int count) {
    if (count <= 0) return false;
    const int look = button_look(b);
    gfx::IMAGE* image = images[look < count ? look : count - 1];
    if (!picture_loaded(image)) return false;
    gfx::putimage_srcalpha(canvas, image, b.rect.x + (b.rect.w - image->width) / 2,
                           b.rect.y + (b.rect.h - image->height) / 2);
    return true;
}

}  // namespace nd::ui
