#include "ui/dialog_frame.h"

#include "skins/palette.h"

namespace nd::ui {

namespace {

// 微软雅黑, the face of dialog titles.
constexpr char kFace[] = "\xce\xa2\xc8\xed\xd1\xc5\xba\xda";
constexpr gfx::Color kCloseHover = 0xFFE81123;

}  // namespace

void dialog_frame_place(DialogFrame* f, const gfx::Rect& box) {
    f->box = box;
    f->close.rect = {box.right() - 2 - kDialogCloseWidth, box.y + 2, kDialogCloseWidth,
                     kDialogCloseHeight};
}

bool dialog_frame_update(DialogFrame* f, const gfx::MouseMsg& msg) {
    if (!f->has_close) {
        button_reset(&f->close);
        return false;
    }
    return button_update(&f->close, msg);
}

void draw_dialog_frame(gfx::IMAGE* canvas, const DialogFrame& f, int skin) {
    const gfx::Rect& b = f.box;
    gfx::set_fill_color(palette_color(kPalPanelBackground, skin), canvas);
    gfx::fill_bar(b.x, b.y, b.right(), b.bottom(), canvas);
    gfx::set_color(palette_color(kPalOptionSelect, skin), canvas);
    gfx::draw_rectangle(b.x, b.y, b.right() - 1, b.bottom() - 1, canvas);
    if (f.title) {
        gfx::set_font(f.title_size, 0, kFace, canvas);
        gfx::set_color(palette_color(kPalPanelTitle, skin), canvas);
        gfx::text_out(b.x + f.title_x, b.y + f.title_y, f.title, canvas);
    }
    if (!f.has_close) return;
    const gfx::Rect& c = f.close.rect;
    if (button_look(f.close) > 0) {
        gfx::set_fill_color(kCloseHover, canvas);
        gfx::fill_bar(c.x, c.y, c.right(), c.bottom(), canvas);
    }
    // A cross of 9 x 9 in the middle of the button.
    const int cx = c.x + c.w / 2, cy = c.y + c.h / 2;
    gfx::set_color(palette_color(kPalPanelTitle, skin), canvas);
    gfx::draw_line(cx - 4, cy - 4, cx + 5, cy + 5, canvas);
    gfx::draw_line(cx + 4, cy - 4, cx - 5, cy + 5, canvas);
}

}  // namespace nd::ui
