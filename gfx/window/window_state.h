// State shared by the window, event and input files of the layer. Only the
// main thread touches the SDL objects; the atomics are read by the input
// calls and written when events arrive.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "gfx/gfx.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace gfx {

constexpr uint32_t kKeyTableSize = 256;

struct WindowState {
    // Set before open_window by set_window_mode.
    int mode_flags = 0;
    int mode_x = -1;  // -1: let the system place the window
    int mode_y = -1;
    bool force_headless = false;

    int flags = 0;
    bool open = false;
    bool is_headless = true;
    std::atomic<bool> alive{false};
    std::string caption_utf8;

    IMAGE* page = nullptr;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int texture_width = 0;
    int texture_height = 0;
    bool needs_present = false;  // exposed or resized: show the page again

    std::atomic<int> mouse_x{0};
    std::atomic<int> mouse_y{0};
    std::atomic<bool> key_held[kKeyTableSize]{};
    std::atomic<int> key_scancode[kKeyTableSize]{};
};

WindowState& window_state();

// Handles pending window events (pushing them into the queues) and shows the
// screen page again when something was drawn on it or the window was
// exposed; what reaches the screen is the same as a forced refresh, without
// its cost on idle frames. With `show` false only events are handled (the
// page of a manually refreshed window waits for frame pacing). Headless it
// does nothing.
void pump_window(bool show = true);

// Milliseconds of the monotonic clock with sub-millisecond resolution, and a
// sleep of that resolution (timing.cpp).
double precise_ms();
void sleep_precise_ms(double ms);

// Translates one SDL event into queue messages (events.cpp); returns false
// for events the layer does not use.
bool translate_event(const SDL_Event& event);

}  // namespace gfx
