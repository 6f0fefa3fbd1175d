// What the analysis panels' files share: finding their entry in the panel
// list, adding it once, and keeping a panel inside the window.
#pragma once

#include "gfx/gfx.h"
#include "ui/panel.h"

namespace nd {

// The entry of panel `id` in the view's panel list, or null.
ui::Panel* find_panel(int id);

// The board composes the next frame: a panel's look changed.
void redraw_panels();

// Adds panel `id` at the back of the list, hidden; when it is there already
// (a later view) it is hidden again.
void install_hidden_panel(int id, void* state, const ui::PanelHooks* hooks);

// Moves `rect` into a `width` x `height` window as far as it fits; a panel
// larger than the window keeps its top-left corner in it.
void keep_inside(gfx::Rect& rect, int width, int height);

}  // namespace nd
