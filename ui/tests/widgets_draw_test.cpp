// What the widgets draw, pixel by pixel where it matters.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "skins/palette.h"
#include "ui/dialog_frame.h"
#include "ui/list_view.h"
#include "ui/menu_item.h"
#include "ui/text_field.h"

namespace nd::ui {
namespace {

using Image = std::unique_ptr<gfx::IMAGE, void (*)(gfx::IMAGE*)>;

Image canvas(int w, int h) {
    Image im(gfx::new_image(w, h), gfx::delete_image);
    gfx::set_bk_color(0xFF000000, im.get());
    gfx::clear_image(im.get());
    return im;
}

uint32_t rgb(const gfx::IMAGE* im, int x, int y) {
    return im->pixels[static_cast<size_t>(y) * im->width + x] & 0x00FFFFFF;
}

// Columns of `r` that hold at least one pixel of `color`.
int columns_with(const gfx::IMAGE* im, const gfx::Rect& r, uint32_t color) {
    int n = 0;
    for (int x = r.x; x < r.right(); ++x) {
        for (int y = r.y; y < r.bottom(); ++y) {
            if (rgb(im, x, y) == (color & 0x00FFFFFF)) {
                ++n;
                break;
            }
        }
    }
    return n;
}

constexpr char kFace[] = "\xce\xa2\xc8\xed\xd1\xc5\xba\xda";

TextFieldLook look() {
    TextFieldLook l;
    l.box = {10, 10, 200, 34};
    l.face = kFace;
    l.ink = 0xFF101010;
    l.border = 0xFF808080;
    return l;
}

TEST(WidgetsDraw, TextFieldShowsTheCaretAndScrollsToIt) {
    Image im = canvas(240, 60);
    TextField f;
    f.max_bytes = 400;
    text_field_set(&f, "abc");
    draw_text_field(im.get(), f, look(), true);
    gfx::set_font(17, 0, kFace, im.get());
    const int caret_x = 10 + 6 + gfx::text_width("abc", im.get()) + 1;
    EXPECT_EQ(rgb(im.get(), caret_x, 10 + 20), 0x101010u);
    EXPECT_EQ(rgb(im.get(), 11, 11), 0xFFFFFFu) << "the box is filled";
    EXPECT_EQ(rgb(im.get(), 10, 10), 0x808080u) << "and outlined";

    // The blink's off half leaves the caret out.
    draw_text_field(im.get(), f, look(), false);
    EXPECT_EQ(rgb(im.get(), caret_x, 10 + 20), 0xFFFFFFu);

    // A text far wider than the box: its end and the caret are in view, the
    // caret 4 pixels from the text's right limit, and nothing is drawn
    // outside the box.
    text_field_set(&f, std::string(100, 'W'));
    draw_text_field(im.get(), f, look(), true);
    EXPECT_EQ(rgb(im.get(), 10 + 200 - 6 - 3, 10 + 20), 0x101010u);
    EXPECT_EQ(columns_with(im.get(), {0, 0, 10, 60}, 0x101010), 0);
    EXPECT_EQ(columns_with(im.get(), {210, 0, 30, 60}, 0x101010), 0);
}

TEST(WidgetsDraw, ScrollBarOnlyWhileTheRowsDoNotFit) {
    Image im = canvas(140, 370);
    // The start page's list: seven rows of 50 shown, arrows 40 high.
    ListView l;
    l.pane = {0, 0, 100, 362};
    l.row_top = 12;
    l.row_pitch = 50;
    l.row_height = 46;
    l.scroll_up.rect = {106, 12, 16, 40};
    l.scroll_down.rect = {106, 322, 16, 40};
    const ScrollBarLook bar{0xFF333333, 0xFFCCCCCC};
    list_set_count(&l, 7);
    draw_scroll_bar(im.get(), l, bar);
    EXPECT_EQ(columns_with(im.get(), {100, 0, 40, 370}, 0xCCCCCC), 0);
    // Fourteen rows, seven shown: the thumb takes half of the track and
    // starts at its top, then moves to its bottom.
    list_set_count(&l, 14);
    draw_scroll_bar(im.get(), l, bar);
    const int track_top = 12 + 40 + 4, track_height = 322 - 4 - track_top;
    EXPECT_EQ(rgb(im.get(), 114, track_top), 0xCCCCCCu);
    EXPECT_EQ(rgb(im.get(), 114, track_top + track_height / 2 + 1), 0x333333u);
    EXPECT_EQ(rgb(im.get(), 114, track_top + track_height - 1), 0x333333u);
    list_scroll_by(&l, 7);
    draw_scroll_bar(im.get(), l, bar);
    EXPECT_EQ(rgb(im.get(), 114, track_top + track_height - 1), 0xCCCCCCu);
}

TEST(WidgetsDraw, MenuItemIsDrawnOncePerSkinInBothLooks) {
    MenuItemPictures item;
    render_menu_item(&item, "\xd0\xc2\xbd\xa8", nullptr, 3);  // 新建
    ASSERT_NE(item.normal, nullptr);
    ASSERT_NE(item.highlighted, nullptr);
    EXPECT_EQ(item.normal->width, kMenuItemWidth);
    EXPECT_EQ(item.normal->height, kMenuItemHeight);
    EXPECT_EQ(item.skin, 3);
    EXPECT_EQ(rgb(item.normal, 200, 2), palette_color(kPalPanelBackground, 3) & 0x00FFFFFF);
    EXPECT_EQ(rgb(item.highlighted, 200, 2), palette_color(kPalOptionSelect, 3) & 0x00FFFFFF);
    // The text is there, left of the middle: columns that are not all fill.
    const uint32_t fill = palette_color(kPalPanelBackground, 3) & 0x00FFFFFF;
    int inked = 0;
    for (int x = 34; x < 94; ++x) {
        for (int y = 0; y < kMenuItemHeight; ++y) {
            if (rgb(item.normal, x, y) != fill) {
                ++inked;
                break;
            }
        }
    }
    EXPECT_GT(inked, 10);
    render_menu_item(&item, "x", nullptr, 0);
    EXPECT_EQ(item.skin, 0);
    free_menu_item(&item);
    EXPECT_EQ(item.normal, nullptr);
}

TEST(WidgetsDraw, DialogFrameCloseButtonHoversAndClicks) {
    Image im = canvas(300, 150);
    DialogFrame f;
    dialog_frame_place(&f, {10, 10, 267, 132});
    EXPECT_EQ(f.close.rect, (gfx::Rect{277 - 2 - 45, 12, 45, 20}));
    const int cx = f.close.rect.x + 2, cy = f.close.rect.y + 2;
    draw_dialog_frame(im.get(), f, 0);
    EXPECT_EQ(rgb(im.get(), cx, cy), palette_color(kPalPanelBackground, 0) & 0x00FFFFFF);
    EXPECT_FALSE(dialog_frame_update(&f, {cx, cy, gfx::kMouseDown, gfx::kMouseLeft, 0}));
    draw_dialog_frame(im.get(), f, 0);
    EXPECT_EQ(rgb(im.get(), cx, cy), 0xE81123u);
    EXPECT_TRUE(dialog_frame_update(&f, {cx, cy, gfx::kMouseUp, gfx::kMouseLeft, 0}));
}

}  // namespace
}  // namespace nd::ui
