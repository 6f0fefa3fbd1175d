#include "analysis/timeline_draw.h"

#include <algorithm>

#include "analysis/draw_kit.h"
#include "skins/palette.h"

namespace nd {

namespace {

constexpr const char* kStripNames[kStripIconCount] = {"TL_ACT_NULL",  "TL_ACT_OK",   "TL_ACT_BAD",
                                                      "TL_ACT_BREAK", "TL_ACT_BLUE", "TL_ACT_BLACK",
                                                      "TL_MORE"};
constexpr uint32_t kTightCurve = 0xFF00A2E8;
constexpr int kLabelSize = 17;
constexpr uint32_t kLabelBox = 0xFF050505;
constexpr uint32_t kLabelText = 0xFFE8E8E8;

const gfx::IMAGE* icon(const TimelinePictures& p, StripIcon i) {
    return p.strip[int(i)];
}

void draw_curve(const TimelineCurve& c, int dx, int skin, const TimelinePictures& p,
                gfx::IMAGE* canvas) {
    gfx::set_color(c.tight ? kTightCurve : draw_kit::kLineColour[skin], canvas);
    gfx::set_line_style(c.tight ? gfx::kSolidLine : gfx::kDottedLine, 0, c.tight ? 2 : 1, canvas);
    for (int k = 1; k < kCurvePoints; ++k)
        gfx::draw_line(c.points[k - 1].x + dx, c.points[k - 1].y, c.points[k].x + dx, c.points[k].y,
                       canvas);
    if (c.tight) {
        // The crown: the curve's highest point, the marker kept inside the
        // strip where the curve runs close to its top edge.
        const CurvePoint* top =
            std::min_element(c.points, c.points + kCurvePoints,
                             [](const CurvePoint& a, const CurvePoint& b) { return a.y < b.y; });
        const gfx::IMAGE* blue = icon(p, StripIcon::kBlue);
        draw_kit::picture(canvas, blue, top->x + dx - blue->width / 2,
                          std::max(1, top->y - blue->height / 2));
    }
}

void draw_entry(const Timeline& t, const TimelineEntry& e, int dx, const TimelinePictures& p,
                gfx::IMAGE* canvas) {
    int x = e.x + dx, y = e.y, alpha = 255;
    if (timeline_pulses(e.importance)) {
        alpha = t.pulse;
        x += t.jitter_x;
        y += t.jitter_y;
    }
    if (e.kind == kKindPerson)
        draw_kit::picture(canvas, p.cases[CaseIcon::kPerson], x - 2, y + 1, alpha);
    else
        draw_kit::picture(canvas, icon(p, strip_icon(e.status)), x, y, alpha);
}

// The selected entry's mark, or the TL_MORE arrow at the edge it left by.
void draw_selection(const Timeline& t, const StripRect& strip, int dx, int skin,
                    const TimelinePictures& p, gfx::IMAGE* canvas) {
    const TimelineEntry& e = t.entries[size_t(t.selected)];
    const int x = e.x + dx;
    const gfx::IMAGE* more = icon(p, StripIcon::kMore);
    if (x + kIconBox <= 0) {
        draw_kit::picture(canvas, more, 13 - more->width, e.y, 255, true);
    } else if (x >= strip.width) {
        draw_kit::picture(canvas, more, strip.width - 7 - more->width, e.y);
    } else {
        gfx::set_color(palette_color(kPalTimelineMark, skin), canvas);
        gfx::set_line_style(gfx::kDashDotLine, 0, 2, canvas);
        gfx::draw_line(x + 6, e.y - 25, x + 6, e.y - 3, canvas);
    }
}

void draw_label(const TimelineEntry& e, const StripRect& strip, int dx, gfx::IMAGE* canvas) {
    const int w = draw_kit::text_width(canvas, kLabelSize, e.title.c_str()) + 16, h = 27;
    const int x = strip.left + e.x + dx, y = strip.top + e.y - 30;
    gfx::set_fill_color(kLabelBox, canvas);
    gfx::fill_bar(x, y, x + w, y + h, canvas);
    for (int corner = 0; corner < 4; ++corner)
        gfx::put_pixel(x + (corner & 1 ? w - 1 : 0), y + (corner & 2 ? h - 1 : 0), 0xFF000000,
                       canvas);
    draw_kit::text(canvas, x + 8, y + (h - kLabelSize) / 2 - 1, kLabelSize, kLabelText,
                   e.title.c_str());
}

}  // namespace

void load_timeline_pictures(TimelinePictures& p) {
    free_timeline_pictures(p);
    for (int i = 0; i < kStripIconCount; ++i) p.strip[i] = draw_kit::load_picture(kStripNames[i]);
    load_case_icons(p.cases);
}

void free_timeline_pictures(TimelinePictures& p) {
    for (gfx::IMAGE*& image : p.strip) {
        if (image) gfx::delete_image(image);
        image = nullptr;
    }
    free_case_icons(p.cases);
}

StripIcon strip_icon(int32_t status) {
    switch (status) {
        case kColourShelved:
            return StripIcon::kNull;
        case kColourGood:
            return StripIcon::kOk;
        case kColourSevere:
            return StripIcon::kBad;
        case kColourWarning:
            return StripIcon::kBreak;
        default:
            return StripIcon::kBlack;
    }
}

void timeline_draw(const Timeline& t, const StripRect& strip, int skin, int load_progress,
                   const TimelinePictures& p, gfx::IMAGE* canvas) {
    if (!t.shown || load_progress < 100) return;
    {
        draw_kit::ViewportScope clip(canvas, strip.left, strip.top, strip.left + strip.width,
                                     strip.top + kTimelineHeight);
        gfx::set_fill_color(palette_color(kPalPanelBackground, skin), canvas);
        gfx::fill_bar(0, 0, strip.width, kTimelineHeight, canvas);
        const int dx = -t.scroll;
        for (const TimelineCurve& c : t.curves) draw_curve(c, dx, skin, p, canvas);
        // Only the entries that can reach the strip are visited: entry i
        // stands at i x 24.
        const int n = int(t.entries.size());
        const int first = std::max(0, (t.scroll - kIconBox) / kEntryStep);
        const int last = std::min(n - 1, (t.scroll + strip.width) / kEntryStep + 1);
        for (int i = first; i <= last; ++i) draw_entry(t, t.entries[size_t(i)], dx, p, canvas);
        if (t.selected >= 0) draw_selection(t, strip, dx, skin, p, canvas);
        gfx::set_color(draw_kit::kLineColour[skin], canvas);
        gfx::set_line_style(gfx::kSolidLine, 0, 1, canvas);
        gfx::draw_line(0, 0, strip.width - 1, 0, canvas);
    }
    // The label may rise above the strip for a raised entry, so it is drawn
    // outside the strip's clip.
    if (t.hovered >= 0 && t.hovered < int(t.entries.size()))
        draw_label(t.entries[size_t(t.hovered)], strip, -t.scroll, canvas);
}

}  // namespace nd
