// The about page: floating panel 1, shown and hidden by command 54 and
// closed by Esc while the pointer is over it.
#pragma once

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// Adds the page to the panel list, hidden.
void install_about_page(MainView& view);
// Shows it centred at (W/2 - 300, H/2 - 190), or hides it.
void toggle_about_page(MainView& view);

}  // namespace nd
