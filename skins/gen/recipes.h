// Drawing recipes: turn one row of the role table, one of its states and a
// skin into pixels.
#pragma once

#include "skins/gen/canvas.h"
#include "skins/gen/roles.h"

namespace skingen {

// `state` is the position of the suffix in the row's state list (0 for a
// single picture); `skin` is 0..3, or -1 for a shared picture.
Canvas draw_picture(const Role& role, int state, int skin);

}  // namespace skingen
