// The pictures of the start page. They are loaded when the page opens and
// released before the main window comes up, so the main view never pays for
// them. A picture that is missing stays a 1 x 1 placeholder and the page
// draws a plain stand-in for it.
#pragma once

#include "gfx/gfx.h"

namespace nd::start {

struct StartPictures {
    gfx::IMAGE* close[3] = {};  // normal, hover, pressed
    gfx::IMAGE* minimise[3] = {};
    gfx::IMAGE* new_button[2] = {};  // normal, hover
    gfx::IMAGE* open_button[2] = {};
    gfx::IMAGE* ok[2] = {};  // the path entry's buttons
    gfx::IMAGE* no[2] = {};
    gfx::IMAGE* row = nullptr;      // highlight under the hovered row
    gfx::IMAGE* feature = nullptr;  // the picture on the right
    gfx::IMAGE* lock = nullptr;     // an entry with a password
    gfx::IMAGE* in_use = nullptr;   // an entry another process holds open
    gfx::IMAGE* row_icons[2] = {};  // the skin's pointer and arrow on the hovered row
    gfx::IMAGE* logo = nullptr;     // beside the title
};

void load_start_pictures(StartPictures* pictures, int skin);
void release_start_pictures(StartPictures* pictures);

}  // namespace nd::start
