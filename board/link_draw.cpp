// The link gesture's rubber line: from its start to the pointer, the start
// marker, and a label when the release would refuse or remove a link. The
// card under the pointer gets the link-target frame where cards are drawn.
#include <array>

#include "board/link_gesture.h"
#include "board/main_view.h"
#include "board/texts.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/tables.h"

namespace nd {

namespace {

constexpr gfx::Color kLine = 0xFF5300A6;
constexpr gfx::Color kShadow = 0xFF8E8E8E;
constexpr int kMarkerAlpha = 239;
constexpr int kLabelWidth = 100;
constexpr int kLabelHeight = 32;

// " 不能关联自己" and "    删除关联", in the label's own spacing.
constexpr char kSelfLabel[] = " \xB2\xBB\xC4\xDC\xB9\xD8\xC1\xAA\xD7\xD4\xBC\xBA";
constexpr char kRemoveLabel[] = "    \xC9\xBE\xB3\xFD\xB9\xD8\xC1\xAA";

enum Label { kNoLabel = -1, kLabelSelf = 0, kLabelRemove = 1 };

// The two labels, made once per skin: the box, its frame and the text.
struct LabelPictures {
    int skin = -1;
    std::array<gfx::IMAGE*, 2> boxes{};
    gfx::IMAGE* marker = nullptr;
};

LabelPictures& label_pictures() {
    static LabelPictures pictures;
    const int skin = current_skin();
    if (pictures.skin == skin) return pictures;
    pictures.skin = skin;
    const char* texts[2] = {kSelfLabel, kRemoveLabel};
    for (size_t i = 0; i < 2; ++i) {
        gfx::IMAGE*& box = pictures.boxes[i];
        if (!box) box = gfx::new_image(kLabelWidth, kLabelHeight);
        gfx::set_fill_color(palette_color(kPalPanelBackground, skin), box);
        gfx::fill_bar(0, 0, kLabelWidth, kLabelHeight, box);
        gfx::set_color(palette_color(kPalOptionSelect, skin), box);
        gfx::draw_rectangle(0, 0, kLabelWidth - 1, kLabelHeight - 1, box);
        gfx::set_bk_mode(gfx::kTransparent, box);
        gfx::set_font(14, 0, texts::kYaHei, box);
        gfx::set_color(palette_color(kPalPanelText, skin), box);
        gfx::text_out(5, 5, texts[i], box);
    }
    if (!pictures.marker) {
        pictures.marker = gfx::new_image(1, 1);
        gfx::getimage(pictures.marker, "IMGS", "STATUS_POINT", 0, 0);
    }
    return pictures;
}

// What a release here would do, as the label says it.
int label_for(const MainView& view, int x, int y) {
    CaseRef target;
    int mark = -1;
    if (!link_target_at(view, x, y, &target, &mark)) return kNoLabel;
    const CaseRef& source = view.link.source;
    if (same_location(target.where, source.where)) return kLabelSelf;
    const CaseRecord* record = find_case(source.where.group, source.where.board, source.where.slot);
    if (!record) return kNoLabel;
    for (int i = 0; i < link_count(*record); ++i) {
        if (same_location(record->link_locations[i], target.where) &&
            same_item(record->link_keys[i], target.key)) {
            return kLabelRemove;
        }
    }
    return kNoLabel;
}

}  // namespace

void draw_rubber_line(const MainView& view, gfx::IMAGE* canvas) {
    if (!link_gesture_active(view)) return;
    const int sx = view.link.start_x, sy = view.link.start_y;
    const int px = view.pointer.x, py = view.pointer.y;
    // Two pixels wide: four one-pixel lines, each end at x or x + 1, over a
    // one-pixel shadow a pixel lower.
    gfx::set_color(kShadow, canvas);
    gfx::draw_line(sx, sy + 1, px, py + 1, canvas);
    gfx::set_color(kLine, canvas);
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b) gfx::draw_line(sx + a, sy, px + b, py, canvas);
    LabelPictures& pictures = label_pictures();
    if (pictures.marker && pictures.marker->width > 1) {
        gfx::putimage_alphablend(canvas, pictures.marker, sx - 4, sy - 4, kMarkerAlpha);
    }
    const int label = label_for(view, px, py);
    if (label != kNoLabel) gfx::putimage(px, py - 17, pictures.boxes[size_t(label)], gfx::kSrcCopy, canvas);
}

}  // namespace nd
