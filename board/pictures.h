// The pictures the board places: card caps, status and kind icons, the pin,
// map marks, the window card's corners and grip, and the window's resize
// grip. Skinned ones follow the skin; the shared ones are loaded once.
#pragma once

#include <array>

#include "gfx/gfx.h"
#include "skins/skin.h"

namespace nd {

struct BoardPictures {
    SkinPictures cases;   // the CASE_ row of the current skin
    SkinPictures tools;   // the T_ row (the pin)
    SkinPictures map;     // MAP_MARK, MAP_POS, MAP_UNMARK
    SkinPictures resize;  // RESIZE
    // Shared by every skin.
    std::array<gfx::IMAGE*, 4> status{};  // STATUS_NULL, _OK, _BAD, _BREAK by colour class
    gfx::IMAGE* person = nullptr;         // STATUS_HUMAN on dark skins, STATUS_HUMAN2 on light
    gfx::IMAGE* person_light = nullptr;
    gfx::IMAGE* task = nullptr;
    gfx::IMAGE* task_light = nullptr;
};

// Loads what the current skin needs; true when anything was (re)loaded.
bool load_board_pictures(BoardPictures* pictures);
void free_board_pictures(BoardPictures* pictures);

// The cap of a colour class: `right` picks the right end, `hot` the look of
// the card under the pointer.
const gfx::IMAGE* card_cap(const BoardPictures& pictures, int colour, bool right, bool hot);
const gfx::IMAGE* window_corner(const BoardPictures& pictures, int corner);
const gfx::IMAGE* card_grip(const BoardPictures& pictures);
const gfx::IMAGE* pin_picture(const BoardPictures& pictures);
const gfx::IMAGE* map_mark_picture(const BoardPictures& pictures);
const gfx::IMAGE* resize_grip_picture(const BoardPictures& pictures);
const gfx::IMAGE* kind_icon(const BoardPictures& pictures, int kind, int skin);

// Places a picture keeping its alpha; a missing one is skipped.
void place(gfx::IMAGE* canvas, const gfx::IMAGE* picture, int x, int y);

}  // namespace nd
