// The update note's looks: the panel image, composed once per skin and
// state of the update flag, and what is drawn over it each frame.
#include <cstdio>

#include "board/update_note.h"
#include "skins/names.h"
#include "skins/palette.h"

namespace nd {

namespace {

constexpr char kFace[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";  // 微软雅黑
// 发现可用更新！
constexpr char kTitleOffered[] = "\xB7\xA2\xCF\xD6\xBF\xC9\xD3\xC3\xB8\xFC\xD0\xC2\xA3\xA1";
// 已是最新版本
constexpr char kTitleLatest[] = "\xD2\xD1\xCA\xC7\xD7\xEE\xD0\xC2\xB0\xE6\xB1\xBE";
// 查看更新内容
constexpr char kLinkText[] = "\xB2\xE9\xBF\xB4\xB8\xFC\xD0\xC2\xC4\xDA\xC8\xDD";
// 点击更新后，将自动保存工作内容，关闭并且重启软件。
constexpr char kNoteText[] =
    "\xB5\xE3\xBB\xF7\xB8\xFC\xD0\xC2\xBA\xF3\xA3\xAC\xBD\xAB\xD7\xD4\xB6\xAF\xB1\xA3\xB4\xE6"
    "\xB9\xA4\xD7\xF7\xC4\xDA\xC8\xDD\xA3\xAC\xB9\xD8\xB1\xD5\xB2\xA2\xC7\xD2\xD6\xD8\xC6\xF4"
    "\xC8\xED\xBC\xFE\xA1\xA3";

constexpr int kCornerSize = 7;
constexpr int kTitleRuleY = 136;  // the foot of the drag area
constexpr int kRuleInset = 30;
constexpr int kLinkUnderline = 130;

void put(gfx::IMAGE* canvas, const SkinPictures& set, int index, int x, int y) {
    if (index < set.count && picture_loaded(set.images[index]))
        gfx::putimage_srcalpha(canvas, set.images[index], x, y);
}

}  // namespace

const char* update_note_title(bool available) {
    return available ? kTitleOffered : kTitleLatest;
}

std::string update_note_version_line(const UpdateNoteState& s) {
    const ReleaseNumbers shown = s.available ? s.newest : own_version();
    char line[48];
    std::snprintf(line, sizeof line, "   Nodrel %u.%u.%u", shown.major, shown.minor, shown.patch);
    return line;
}

void compose_update_note(UpdateNoteState& s) {
    const int skin = current_skin();
    if (s.composed && s.composed_skin == skin && s.composed_available == s.available) return;
    // A reload reports only whether it loaded; the tables fit by
    // construction.
    (void)reload_on_change(&s.pictures, kUpdateNames);
    (void)reload_on_change(&s.corners, kAboutNames);
    if (!s.robot) {
        // A missing picture leaves a 1 x 1 placeholder, which draws nothing.
        s.robot = gfx::new_image(1, 1);
        gfx::getimage(s.robot, "IMGS", "ROBOT_UPDATE", 0, 0);
    }
    const int w = kUpdateNoteWidth;
    const int h = kUpdateNoteHeight;
    if (!s.composed) s.composed = gfx::new_image(w, h);
    gfx::IMAGE* image = s.composed;
    gfx::set_bk_color(palette_color(kPalPanelBackground, skin), image);
    gfx::clear_image(image);
    gfx::set_bk_mode(gfx::kTransparent, image);
    gfx::set_color(palette_color(kPalOptionRule, skin), image);
    gfx::draw_line(kRuleInset, kTitleRuleY, w - kRuleInset, kTitleRuleY, image);
    gfx::draw_rectangle(0, 0, w - 1, h - 1, image);
    if (picture_loaded(s.robot)) gfx::putimage_keyed_alphablend(image, s.robot, 0, 112, 0, 63);
    put(image, s.corners, pic::ABOUT_MARGIN_0, 0, 0);
    put(image, s.corners, pic::ABOUT_MARGIN_1, w - kCornerSize, 0);
    put(image, s.corners, pic::ABOUT_MARGIN_2, 0, h - kCornerSize);
    put(image, s.corners, pic::ABOUT_MARGIN_3, w - kCornerSize, h - kCornerSize);
    gfx::set_font(-36, 0, kFace, image);
    gfx::set_color(palette_color(kPalPanelTitle, skin), image);
    gfx::text_out(30, 60, update_note_title(s.available), image);
    s.composed_skin = skin;
    s.composed_available = s.available;
}

void draw_update_note(const UpdateNoteState& s, const gfx::Rect& box, int hovered,
                      gfx::IMAGE* canvas) {
    const int skin = current_skin();
    const int x0 = box.x;
    const int y0 = box.y;
    if (s.composed) gfx::putimage(x0, y0, s.composed, gfx::kSrcCopy, canvas);
    put(canvas, s.pictures, hovered == kNoteClose ? pic::UPDATE_NO_1 : pic::UPDATE_NO_0,
        x0 + box.w - 47, y0 + 2);

    gfx::set_font(-22, 0, kFace, canvas);
    gfx::set_color(palette_color(kPalPanelText, skin), canvas);
    gfx::text_out(x0 + 30, y0 + 166, update_note_version_line(s).c_str(), canvas);
    if (!s.available) return;

    if (!s.notes_address.empty()) {
        gfx::set_color(palette_color(kPalLinkText, skin), canvas);
        gfx::text_out(x0 + 230, y0 + 166, kLinkText, canvas);
        if (hovered == kNoteLink)
            gfx::draw_line(x0 + 230, y0 + 196, x0 + 230 + kLinkUnderline - 1, y0 + 196, canvas);
    }
    put(canvas, s.pictures, pic::UPDATE_NOTE, x0 + 52, y0 + 316);
    gfx::set_font(-12, 0, kFace, canvas);
    gfx::set_color(palette_color(kPalPanelText, skin), canvas);
    gfx::text_out(x0 + 72, y0 + 316, kNoteText, canvas);
    put(canvas, s.pictures, hovered == kNoteUpdateButton ? pic::UPDATE_YES_1 : pic::UPDATE_YES_0,
        x0 + 52, y0 + 226);
}

}  // namespace nd
