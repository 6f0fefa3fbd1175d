// The about page: floating panel 1, shown and hidden by command 54 and
// closed by Esc while the pointer is over it or by its close button.
#pragma once

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// The program's version, which the page shows as "Nodrel 6.0.0".
inline constexpr int kProgramMajor = 6;
inline constexpr int kProgramMinor = 0;
inline constexpr int kProgramPatch = 0;

// The page is 600 x 380, placed centred at (W/2 - 300, H/2 - 190).
inline constexpr int kAboutWidth = 600;
inline constexpr int kAboutHeight = 380;

// Adds the page to the panel list, hidden (once; a later view finds it
// there and hides it again).
void install_about_page(MainView& view);
// Shows it centred, or hides it.
void toggle_about_page(MainView& view);

}  // namespace nd
