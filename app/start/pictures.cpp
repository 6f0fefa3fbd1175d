#include "app/start/pictures.h"

#include <cassert>

namespace nd::start {

namespace {

// The skinned marks of the hovered row, [skin][left, right].
constexpr char kRowIconNames[4][2][32] = {
    {"BLACK_LEFT_POINT", "BLACK_RIGHT_POINT"},
    {"CAKE_LEFT_POINT", "CAKE_RIGHT_POINT"},
    {"STARS_LEFT_POINT", "STARS_RIGHT_POINT"},
    {"WHITE_LEFT_POINT", "WHITE_RIGHT_POINT"},
};

gfx::IMAGE* load(const char* name) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    gfx::getimage(image, "IMGS", name, 0, 0);
    return image;
}

template <size_t N>
void load_states(gfx::IMAGE* (&images)[N], const char* const (&names)[N]) {
    for (size_t i = 0; i < N; ++i) images[i] = load(names[i]);
}

void release(gfx::IMAGE*& image) {
    if (image) gfx::delete_image(image);
    image = nullptr;
}

}  // namespace

void load_start_pictures(StartPictures* p, int skin) {
    assert(skin >= 0 && skin < 4);
    load_states(p->close, {"START_CLOSE_0", "START_CLOSE_1", "START_CLOSE_2"});
    load_states(p->minimise, {"START_MIN_0", "START_MIN_1", "START_MIN_2"});
    load_states(p->new_button, {"START_NEW_0", "START_NEW_1"});
    load_states(p->open_button, {"START_OPEN_0", "START_OPEN_1"});
    load_states(p->ok, {"START_OK_0", "START_OK_1"});
    load_states(p->no, {"START_NO_0", "START_NO_1"});
    p->row = load("START_ABC");
    p->feature = load("START_FEAT");
    p->lock = load("START_LOCK");
    p->in_use = load("START_NICK");
    p->logo = load("LOGO_V6");
    for (int i = 0; i < 2; ++i) p->row_icons[i] = load(kRowIconNames[skin][i]);
}

void release_start_pictures(StartPictures* p) {
    for (gfx::IMAGE*& image : p->close) release(image);
    for (gfx::IMAGE*& image : p->minimise) release(image);
    for (gfx::IMAGE*& image : p->new_button) release(image);
    for (gfx::IMAGE*& image : p->open_button) release(image);
    for (gfx::IMAGE*& image : p->ok) release(image);
    for (gfx::IMAGE*& image : p->no) release(image);
    for (gfx::IMAGE*& image : p->row_icons) release(image);
    release(p->row);
    release(p->feature);
    release(p->lock);
    release(p->in_use);
    release(p->logo);
}

}  // namespace nd::start
