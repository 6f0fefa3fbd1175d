// Drawing the start page. Drawing only reads the state; every position comes
// from layout.h.
#pragma once

#include <string>
#include <vector>

#include "app/start/pictures.h"
#include "app/start/state.h"

namespace nd::start {

struct StartView {
    const std::vector<std::string>* names = nullptr;  // GBK display names
    const std::vector<RowFlags>* rows = nullptr;
    const StartState* state = nullptr;
    float progress = 0;     // while loading
    std::string label;      // the loader's label, GBK
    bool has_link[2] = {};  // help links with an address
};

void draw_start_page(gfx::IMAGE* canvas, const StartPictures& pictures, const StartView& view,
                     int skin);

}  // namespace nd::start
