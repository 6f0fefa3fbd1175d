// Text: selecting fonts, measuring and drawing GBK strings. Glyphs come from
// the face's cache, so a line drawn every frame is rasterised only once.
#include <algorithm>
#include <cstring>

#include "base/gbk.h"
#include "gfx/blend.h"
#include "gfx/font.h"
#include "gfx/internal.h"

namespace gfx {
namespace {

constexpr int kDefaultCharSet = 1;

// Copies a GBK name into the record's 32 bytes, cutting before a character
// that would not fit whole, and clears the rest.
void copy_face_name(char (&dst)[32], const char* name) {
    nd::gbk_copy_field(dst, sizeof dst, name != nullptr ? name : "");
}

FontFace* face_of(IMAGE* im) {
    DrawState& s = im->state;
    if (s.face == nullptr || std::memcmp(&s.face->record, &s.font, sizeof s.font) != 0) {
        s.face = detail::face_for(s.font);
    }
    return s.face;
}

// Walks the characters of `text`, calling fn(glyph, pen_x) for each, and
// returns the total advance.
template <typename Fn>
int layout(FontFace* face, const char* text, Fn fn) {
    int pen = 0;
    const std::string_view line(text);
    size_t len = 0;
    for (size_t at = 0; at < line.size(); at += len) {
        const Glyph& g = detail::glyph_of(face, nd::gbk_decode(line, at, &len));
        fn(g, pen);
        pen += face->fixed_advance > 0 ? face->fixed_advance * static_cast<int>(len) + g.bold_extra
                                       : g.advance;
    }
    return pen;
}

void fill_span(IMAGE* im, const Rect& clip, int x0, int y0, int x1, int y1, uint32_t c) {
    x0 = std::max(x0, clip.x), y0 = std::max(y0, clip.y);
    x1 = std::min(x1, clip.right()), y1 = std::min(y1, clip.bottom());
    for (int y = y0; y < y1; ++y) {
        uint32_t* row = &im->pixels[static_cast<size_t>(y) * im->width];
        std::fill(row + std::min(x0, x1), row + x1, c);
    }
}

}  // namespace

void set_font(int height, int width, const char* face, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::settextstyle");
    if (im == nullptr) return;
    FontRecord r{};
    r.height = height;
    r.width = width;
    r.char_set = kDefaultCharSet;
    copy_face_name(r.face, face);
    im->state.font = r;
    im->state.face = nullptr;
}

void get_font_record(FontRecord* record, const IMAGE* image) {
    const IMAGE* im = detail::resolve(image, "IMAGE::gettextstyle");
    if (im == nullptr || record == nullptr) return;
    *record = im->state.font;
}

void set_font_record(const FontRecord* record, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::settextstyle");
    if (im == nullptr || record == nullptr) return;
    FontRecord r = *record;
    r.face[sizeof r.face - 1] = '\0';
    char name[32];
    std::memcpy(name, r.face, sizeof name);
    copy_face_name(r.face, name);
    im->state.font = r;
    im->state.face = nullptr;
}

int text_width(const char* text, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::textwidth");
    if (im == nullptr || text == nullptr) return 0;
    FontFace* face = face_of(im);
    if (face == nullptr) return 0;
    return layout(face, text, [](const Glyph&, int) {});
}

int text_height(const char* text, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::textheight");
    if (im == nullptr || text == nullptr) return 0;
    FontFace* face = face_of(im);
    return face != nullptr ? face->cell : 0;
}

void text_out(int x, int y, const char* text, IMAGE* image) {
    IMAGE* im = detail::resolve(image, "IMAGE::outtextxy");
    if (im == nullptr || text == nullptr || *text == '\0') return;
    FontFace* face = face_of(im);
    if (face == nullptr) return;
    const DrawState& s = im->state;
    const bool needs_width =
        s.align_h != kAlignLeft || s.bk_mode == kOpaque || face->underline || face->strike_out;
    const int width = needs_width ? layout(face, text, [](const Glyph&, int) {}) : 0;
    x += s.viewport.area.x;
    y += s.viewport.area.y;
    if (s.align_h == kAlignCenter) x -= width / 2;
    if (s.align_h == kAlignRight) x -= width;
    if (s.align_v == kAlignMiddle) y -= face->cell / 2;
    if (s.align_v == kAlignBottom) y -= face->cell;

    const Rect clip = detail::draw_clip(im).intersect(Rect{0, 0, im->width, im->height});
    if (clip.empty()) return;
    if (s.bk_mode == kOpaque) {
        fill_span(im, clip, x, y, x + width, y + face->cell, detail::raster_color(s.text_bk_color));
    }
    const uint32_t color = detail::raster_color(s.line_color);
    const int baseline = y + face->ascent;
    layout(face, text, [&](const Glyph& g, int pen) {
        const int gx = x + pen + g.left, gy = baseline - g.top;
        const int x0 = std::max(gx, clip.x), x1 = std::min(gx + g.width, clip.right());
        const int y0 = std::max(gy, clip.y), y1 = std::min(gy + g.height, clip.bottom());
        for (int py = y0; py < y1; ++py) {
            const uint8_t* cov = g.coverage.data() + static_cast<size_t>(py - gy) * g.width;
            uint32_t* row = &im->pixels[static_cast<size_t>(py) * im->width];
            for (int px = x0; px < x1; ++px) {
                const uint32_t c = cov[px - gx];
                if (c == 0) continue;
                // Coverage 255 maps to 256, so full ink is exactly the colour.
                row[px] = detail::blend_pixel(row[px], color, c + (c >> 7)) & 0x00FFFFFFu;
            }
        }
    });
    if (face->underline) {
        const int top = baseline + face->underline_offset;
        fill_span(im, clip, x, top, x + width, top + face->rule_thickness, color);
    }
    if (face->strike_out) {
        const int top = baseline - face->strike_offset;
        fill_span(im, clip, x, top, x + width, top + face->rule_thickness, color);
    }
    detail::touched(im);
}

}  // namespace gfx
