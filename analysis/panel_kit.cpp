#include "analysis/panel_kit.h"

#include <algorithm>

#include "session/view_state.h"

namespace nd {

ui::Panel* find_panel(int id) {
    return ui::panel_find(&view_state().panels, id);
}

void redraw_panels() {
    view_state().redraw = true;
}

void install_hidden_panel(int id, void* state, const ui::PanelHooks* hooks) {
    if (ui::Panel* panel = find_panel(id)) {
        panel->visible = false;
        return;
    }
    ui::Panel panel;
    panel.id = id;
    panel.state = state;
    panel.hooks = hooks;
    // The list has room for every panel id; a full list would be a mistake
    // elsewhere, and the panel then never shows.
    (void)ui::panel_add(&view_state().panels, panel);
}

void keep_inside(gfx::Rect& r, int width, int height) {
    r.x = std::clamp(r.x, 0, std::max(0, width - r.w));
    r.y = std::clamp(r.y, 0, std::max(0, height - r.h));
}

}  // namespace nd
