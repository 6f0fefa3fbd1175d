#include "skins/gen/label.h"

#include <cstring>

#include "gfx/gfx.h"

namespace skingen {
namespace {

// "微软雅黑", the interface face, as GBK bytes.
constexpr const char* kFace = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";

struct Label {
    const char* stem;
    const char* text;  // GBK
};

// "确定", "立即更新", "发送", "新建工作区", "打开工作区", "取消".
constexpr Label kLabels[] = {
    {"NEWBOX_YES", "\xC8\xB7\xB6\xA8"},
    {"RENBOX_YES", "\xC8\xB7\xB6\xA8"},
    {"START_OK", "\xC8\xB7\xB6\xA8"},
    {"UPDATE_YES", "\xC1\xA2\xBC\xB4\xB8\xFC\xD0\xC2"},
    {"ASK_SEND", "\xB7\xA2\xCB\xCD"},
    {"START_NEW", "\xD0\xC2\xBD\xA8\xB9\xA4\xD7\xF7\xC7\xF8"},
    {"START_OPEN", "\xB4\xF2\xBF\xAA\xB9\xA4\xD7\xF7\xC7\xF8"},
    {"START_NO", "\xC8\xA1\xCF\xFB"},
};

}  // namespace

const char* label_for(const char* stem) {
    for (const Label& l : kLabels)
        if (std::strcmp(l.stem, stem) == 0) return l.text;
    return nullptr;
}

int label_width(const char* text, int size) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    gfx::set_font(size, 0, kFace, image);
    int width = gfx::text_width(text, image);
    gfx::delete_image(image);
    return width;
}

void draw_label(Canvas& canvas, const char* text, float x, float cy, int size, uint32_t ink) {
    // White text on black gives the glyph coverage in every channel; the
    // coverage then carries the ink onto the canvas with its own alpha.
    gfx::IMAGE* image = gfx::new_image(canvas.width, canvas.height);
    gfx::set_bk_mode(gfx::kTransparent, image);
    gfx::set_color(0xFFFFFFFF, image);
    gfx::set_font(size, 0, kFace, image);
    int height = gfx::text_height(text, image);
    gfx::text_out(int(x + 0.5f), int(cy - float(height) / 2 + 0.5f), text, image);
    for (int y = 0; y < canvas.height; ++y)
        for (int px = 0; px < canvas.width; ++px) {
            uint32_t coverage =
                (image->pixels[size_t(y) * size_t(canvas.width) + size_t(px)] >> 8) & 255;
            if (coverage == 0) continue;
            canvas.blend(px, y, ink, float(coverage) / 255.0f);
        }
    gfx::delete_image(image);
}

}  // namespace skingen
