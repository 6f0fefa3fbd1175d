#include "board/pictures.h"

#include "skins/names.h"
#include "store/records.h"

namespace nd {

namespace {

gfx::IMAGE* load_shared(const char* name) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    gfx::getimage(image, "IMGS", name, 0, 0);
    return image;
}

void drop(gfx::IMAGE*& image) {
    if (image) gfx::delete_image(image);
    image = nullptr;
}

bool reloaded(int status) {
    return status == kPicturesReloaded;
}

// The caps of each colour class in the CASE_ row: grey, green, red, yellow.
constexpr int kCapBase[4] = {pic::CASE_NULL_0, pic::CASE_GREEN_0, pic::CASE_RED_0,
                             pic::CASE_YELLOW_0};

}  // namespace

bool load_board_pictures(BoardPictures* p) {
    bool any = false;
    any |= reloaded(reload_on_change(&p->cases, kCaseNames));
    any |= reloaded(reload_on_change(&p->tools, kToolNames));
    any |= reloaded(reload_on_change(&p->map, kMapNames));
    any |= reloaded(reload_on_change(&p->resize, kResizeNames));
    if (!p->status[0]) {
        const char* names[4] = {"STATUS_NULL", "STATUS_OK", "STATUS_BAD", "STATUS_BREAK"};
        for (int i = 0; i < 4; ++i) p->status[static_cast<size_t>(i)] = load_shared(names[i]);
        p->person = load_shared("STATUS_HUMAN");
        p->person_light = load_shared("STATUS_HUMAN2");
        p->task = load_shared("STATUS_TASK");
        p->task_light = load_shared("STATUS_TASK2");
        any = true;
    }
    return any;
}

void free_board_pictures(BoardPictures* p) {
    free_skin_pictures(&p->cases);
    free_skin_pictures(&p->tools);
    free_skin_pictures(&p->map);
    free_skin_pictures(&p->resize);
    for (gfx::IMAGE*& image : p->status) drop(image);
    drop(p->person);
    drop(p->person_light);
    drop(p->task);
    drop(p->task_light);
}

const gfx::IMAGE* card_cap(const BoardPictures& p, int colour, bool right, bool hot) {
    if (p.cases.count == 0) return nullptr;
    return p.cases.images[kCapBase[colour & 3] + (hot ? 2 : 0) + (right ? 1 : 0)];
}

const gfx::IMAGE* window_corner(const BoardPictures& p, int corner) {
    return p.cases.count ? p.cases.images[pic::CASE_MAR_00 + (corner & 3)] : nullptr;
}

const gfx::IMAGE* card_grip(const BoardPictures& p) {
    return p.cases.count ? p.cases.images[pic::CASE_PULL] : nullptr;
}

const gfx::IMAGE* pin_picture(const BoardPictures& p) {
    return p.tools.count ? p.tools.images[pic::T_PIN_0] : nullptr;
}

const gfx::IMAGE* map_mark_picture(const BoardPictures& p) {
    return p.map.count ? p.map.images[pic::MAP_MARK] : nullptr;
}

const gfx::IMAGE* resize_grip_picture(const BoardPictures& p) {
    return p.resize.count ? p.resize.images[pic::RESIZE] : nullptr;
}

// The dark skins take the light ink of the icon, the light skins the dark.
const gfx::IMAGE* kind_icon(const BoardPictures& p, int kind, int skin) {
    const bool dark = skin == kSkinBlack || skin == kSkinStars;
    if (kind == kKindPerson) return dark ? p.person : p.person_light;
    if (kind == kKindTask) return dark ? p.task : p.task_light;
    return nullptr;
}

void place(gfx::IMAGE* canvas, const gfx::IMAGE* picture, int x, int y) {
    if (!picture_loaded(picture)) return;
    gfx::putimage_srcalpha(canvas, picture, x, y);
}

}  // namespace nd
