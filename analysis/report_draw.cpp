#include "analysis/report_draw.h"

#include "analysis/draw_kit.h"
#include "skins/palette.h"

namespace nd {

namespace {

uint32_t ink_colour(const PageItem& item, int skin) {
    switch (item.ink) {
        case Ink::kText:
            return palette_color(kPalPanelText, skin);
        case Ink::kTitle:
            return palette_color(kPalPanelTitle, skin);
        case Ink::kLine:
            return draw_kit::kLineColour[skin];
        case Ink::kStatusBar:
            return palette_color(kPalStatusBar + 4 * int(item.argb & 3), skin);
        case Ink::kFixed:
            break;
    }
    return item.argb;
}

void draw_item(const PageItem& it, int dy, int view_height, int skin, const CaseIcons& icons,
               gfx::IMAGE* canvas) {
    const uint32_t colour = ink_colour(it, skin);
    switch (it.kind) {
        case ItemKind::kText:
            draw_kit::text(canvas, it.x0, it.y0 + dy, it.size, colour, it.text.c_str());
            break;
        case ItemKind::kFill:
            gfx::set_fill_color(colour, canvas);
            gfx::fill_bar(it.x0, it.y0 + dy, it.x1, it.y1 + dy, canvas);
            break;
        case ItemKind::kPixel:
            // put_pixel clips only at the image's far edges.
            if (it.y0 + dy >= 0 && it.y0 + dy < view_height)
                gfx::put_pixel(it.x0, it.y0 + dy, colour, canvas);
            break;
        case ItemKind::kLine:
            gfx::set_color(colour, canvas);
            gfx::set_line_style(it.style, 0, it.size, canvas);
            gfx::draw_line(it.x0, it.y0 + dy, it.x1, it.y1 + dy, canvas);
            break;
        case ItemKind::kDisc:
            draw_kit::fill_disc(canvas, it.x0, it.y0 + dy, it.x1, colour);
            break;
        case ItemKind::kCircle:
            gfx::set_color(colour, canvas);
            gfx::set_line_style(gfx::kSolidLine, 0, 1, canvas);
            gfx::draw_circle(it.x0, it.y0 + dy, it.x1, canvas);
            break;
        case ItemKind::kIcon:
            draw_kit::picture(canvas, icons[it.icon], it.x0, it.y0 + dy);
            break;
    }
}

void draw_bubble_hover(const Report& report, const PageBubble& b, int dy, int skin,
                       gfx::IMAGE* canvas) {
    gfx::set_color(palette_color(kPalPanelText, skin), canvas);
    gfx::set_line_style(gfx::kSolidLine, 0, 1, canvas);
    gfx::draw_circle(b.cx, b.cy + dy, b.radius + 2, canvas);
    std::string text = bubble_hover_text(report, b);
    const int w = draw_kit::text_width(canvas, kBubbleHoverSize, text.c_str()) + 12;
    const int x = b.cx + b.radius + 6, y = b.cy + dy - 10;
    gfx::set_fill_color(kBubbleHoverBox, canvas);
    gfx::fill_bar(x, y, x + w, y + 20, canvas);
    draw_kit::text(canvas, x + 6, y + 2, kBubbleHoverSize, 0xFFFCFCFC, text.c_str());
}

}  // namespace

void draw_report_page(const Report& report, const PageLayout& layout, const ReportView& view,
                      const ReportHover& hover, const CaseIcons& icons, gfx::IMAGE* canvas) {
    draw_kit::ViewportScope clip(canvas, view.left, view.top, view.left + view.width,
                                 view.top + view.height);
    gfx::set_fill_color(palette_color(kPalPanelBackground, view.skin), canvas);
    gfx::fill_bar(0, 0, view.width, view.height, canvas);
    const int dy = -view.scroll_y;
    for (const PageItem& item : layout.items) {
        // Items wholly above or below the view are skipped; lines, circles
        // and bubbles reach past their first point, so only text, fills and
        // icons are judged by it.
        bool boxed = item.kind == ItemKind::kText || item.kind == ItemKind::kIcon ||
                     item.kind == ItemKind::kPixel;
        if (boxed && (item.y0 + dy > view.height || item.y0 + dy + 40 < 0)) continue;
        draw_item(item, dy, view.height, view.skin, icons, canvas);
    }
    if (hover.name >= 0 && hover.name < int(layout.names.size())) {
        const PageName& n = layout.names[size_t(hover.name)];
        gfx::set_color(palette_color(kPalPanelText, view.skin), canvas);
        gfx::set_line_style(gfx::kDottedLine, 0, 1, canvas);
        gfx::draw_line(n.x, n.y + n.h + dy, n.x + n.w, n.y + n.h + dy, canvas);
    }
    if (hover.bubble >= 0 && hover.bubble < int(layout.bubbles.size()))
        draw_bubble_hover(report, layout.bubbles[size_t(hover.bubble)], dy, view.skin, canvas);
}

}  // namespace nd
