// Zooming the board between scales 1, 2 and 4 with the wheel over the
// background, animated over ten frames with the top card kept in place.
#pragma once

namespace nd {

struct MainViewState;
using MainView = MainViewState;

inline constexpr int kZoomFrames = 10;

struct ZoomState {
    int scale = 1;        // the settled scale: 1, 2 or 4
    bool running = false;
    int frames_left = 0;
    float value = 1.0f;   // the scale being shown
    float step = 0.0f;    // added each frame
    int target = 1;
    int anchor_card = -1;  // the card that keeps its screen place
    int anchor_x = 0;
    int anchor_y = 0;
};

// A wheel turn over the background (delta > 0 zooms in). False when it
// starts nothing: at the end of the scale, or while a zoom runs.
bool zoom_wheel(MainView& view, int delta);
// One frame of a running zoom. True while it runs.
bool zoom_animate(MainView& view);
// Shows the board at `scale` (1, 2 or 4) at once, without animation.
void set_zoom(MainView& view, int scale);

}  // namespace nd
