// The window on SDL2. Everything here runs on the main thread: SDL wants its
// events handled on the thread that made the window, so events are pumped in
// frame_wait and in the input waits instead of on a thread of their own.
#include <SDL2/SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/gbk.h"
#include "gfx/window/display_lost.h"
#include "gfx/window/drops.h"
#include "gfx/window/frame_pacing.h"
#include "gfx/window/input_queue.h"
#include "gfx/window/window.h"
#include "gfx/window/window_state.h"

namespace gfx {

namespace {

constexpr const char* kWindowClass = "Nodrel Canvas";
constexpr const char* kBanner = "Nodrel graphics 1.0";

bool g_video_ready = false;

// Kept outside WindowState so that a signal handler can set it at any time:
// a constant-initialised lock-free atomic needs no construction.
std::atomic<bool> g_stop_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void show_fatal_box(const char* caption, const char* text) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, nd::gbk_to_utf8(caption).c_str(),
                             nd::gbk_to_utf8(text).c_str(), window_state().window);
}

// Decides once whether a display can be used and starts SDL's video on it.
// Headless when told so, when no display is named, or when SDL cannot reach it.
void ensure_video() {
    WindowState& state = window_state();
    if (g_video_ready) return;
    state.is_headless = true;
    if (state.force_headless) return;
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!display || !*display) && (!wayland || !*wayland)) return;

    // The program handles SIGINT and SIGTERM itself (as a close request).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_APP_NAME, kWindowClass);
    setenv("SDL_VIDEO_X11_WMCLASS", kWindowClass, 0);
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // The programs draw only committed text; the input method shows the
    // text being composed in its own box, placed by set_caret_rect.
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
    // The page is a CPU buffer uploaded whole; the software renderer copies
    // it without scaling or filtering and costs nothing while idle.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // The software renderer draws into the window's own framebuffer; left to
    // itself SDL backs that with an OpenGL texture, which without a GPU is a
    // software rasteriser costing many milliseconds a frame.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "gfx: no display (%s), running without a window\n", SDL_GetError());
        return;
    }
    // When the named display does not answer, SDL falls back to a driver
    // that draws into memory; a window there is one nobody sees. Only a
    // real display counts.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "x11") != 0 && std::strcmp(driver, "wayland") != 0)) {
        std::fprintf(stderr, "gfx: no display (only SDL's %s driver started)\n",
                     driver ? driver : "no");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return;
    }
    if (std::strcmp(driver, "x11") == 0) watch_display_loss();
    g_video_ready = true;
    state.is_headless = false;
    set_fatal_box_hook(show_fatal_box);
}

void destroy_sdl_objects() {
    WindowState& state = window_state();
    if (state.texture) SDL_DestroyTexture(state.texture);
    if (state.renderer) SDL_DestroyRenderer(state.renderer);
    if (state.window) SDL_DestroyWindow(state.window);
    state.texture = nullptr;
    state.renderer = nullptr;
    state.window = nullptr;
    state.texture_width = 0;
    state.texture_height = 0;
}

// Shows the screen page at the window's top-left corner, one pixel per pixel.
void present() {
    WindowState& state = window_state();
    IMAGE* page = state.page;
    if (!state.renderer || !page || page->width <= 0 || page->height <= 0) return;
    if (state.texture_width != page->width || state.texture_height != page->height) {
        if (state.texture) SDL_DestroyTexture(state.texture);
        state.texture = SDL_CreateTexture(state.renderer, SDL_PIXELFORMAT_ARGB8888,
                                          SDL_TEXTUREACCESS_STREAMING, page->width, page->height);
        if (!state.texture) return;
        // Rasterised drawing leaves alpha 0 in the page; the alpha byte must
        // not take part in showing it.
        SDL_SetTextureBlendMode(state.texture, SDL_BLENDMODE_NONE);
        state.texture_width = page->width;
        state.texture_height = page->height;
    }
    SDL_UpdateTexture(state.texture, nullptr, page->pixels.data(),
                      page->width * static_cast<int>(sizeof(uint32_t)));
    SDL_Rect dst{0, 0, page->width, page->height};
    // Only a window larger than its page (between a resize and the next
    // frame) has area the page does not cover; paint it black then.
    int window_width = 0;
    int window_height = 0;
    SDL_GetWindowSize(state.window, &window_width, &window_height);
    if (window_width > page->width || window_height > page->height) {
        SDL_SetRenderDrawColor(state.renderer, 0, 0, 0, 255);
        SDL_RenderClear(state.renderer);
    }
    SDL_RenderCopy(state.renderer, state.texture, nullptr, &dst);
    SDL_RenderPresent(state.renderer);
    clear_screen_dirty();
    state.needs_present = false;
}

// The window carries the program's first icon, so task bars and window
// switchers show it. A program without one keeps the desktop's default.
void set_program_icon(SDL_Window* window) {
    const Resource* icon = first_resource("ICON");
    if (!icon) return;
    IMAGE* picture = new_image(1, 1);
    if (getimage_bytes(picture, icon->data, icon->size) == 0) {
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
            picture->pixels.data(), picture->width, picture->height, 32,
            picture->width * static_cast<int>(sizeof(uint32_t)), SDL_PIXELFORMAT_ARGB8888);
        if (surface) {
            SDL_SetWindowIcon(window, surface);
            SDL_FreeSurface(surface);
        }
    }
    delete_image(picture);
}

void handle_close_request() {
    WindowState& state = window_state();
    state.alive.store(false);
    if (!(state.flags & kWindowNoForcedExit)) {
        close_window();
        std::exit(0);
    }
}

class SystemClock : public PacingClock {
public:
    double now() override { return precise_ms(); }
    void sleep(double ms) override { sleep_precise_ms(ms); }
    void pump() override { pump_window(); }
};

FrameSchedule g_schedule;

}  // namespace

WindowState& window_state() {
    static WindowState state;
    return state;
}

void pump_window(bool show) {
    WindowState& state = window_state();
    if (state.is_headless || !state.window) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            handle_close_request();
        } else if (event.type == SDL_WINDOWEVENT) {
            switch (event.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    handle_close_request();
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    state.needs_present = true;
                    break;
                default:
                    break;
            }
        } else {
            translate_event(event);
        }
    }
    if (!state.window || !show) return;
    if (state.needs_present || screen_dirty()) present();
}

void force_headless(bool on) {
    window_state().force_headless = on;
}

bool headless() {
    ensure_video();
    return window_state().is_headless;
}

void set_window_mode(int flags, int x, int y) {
    WindowState& state = window_state();
    state.mode_flags = flags;
    state.mode_x = x;
    state.mode_y = y;
}

int open_window(int width, int height, int flags) {
    WindowState& state = window_state();
    if (state.open) close_window();
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    state.flags = flags | state.mode_flags;

    if (!state.page) {
        state.page = new_image(width, height);
    } else {
        resize(state.page, width, height);
    }
    set_screen_page(state.page);
    set_target(nullptr);
    reset_input();
    reset_drops();
    g_schedule = FrameSchedule{};

    ensure_video();
    if (!state.is_headless) {
        // Made hidden and shown once it carries the icon, so a window
        // manager or task bar never sees it without one.
        Uint32 sdl_flags = SDL_WINDOW_HIDDEN;
        if (state.flags & kWindowBorderless) sdl_flags |= SDL_WINDOW_BORDERLESS;
        if (state.flags & kWindowTopmost) sdl_flags |= SDL_WINDOW_ALWAYS_ON_TOP;
        int x = state.mode_x >= 0 ? state.mode_x : SDL_WINDOWPOS_UNDEFINED;
        int y = state.mode_y >= 0 ? state.mode_y : SDL_WINDOWPOS_UNDEFINED;
        const char* title = state.caption_utf8.empty() ? kBanner : state.caption_utf8.c_str();
        state.window = SDL_CreateWindow(title, x, y, width, height, sdl_flags);
        if (state.window) state.renderer = SDL_CreateRenderer(state.window, -1, 0);
        if (!state.window || !state.renderer) {
            std::fprintf(stderr, "gfx: cannot create the window: %s\n", SDL_GetError());
            destroy_sdl_objects();
            return -1;
        }
        set_program_icon(state.window);
        SDL_ShowWindow(state.window);
        SDL_StartTextInput();
        // Files dragged from a file manager; dragged text is not taken.
        SDL_EventState(SDL_DROPBEGIN, SDL_ENABLE);
        SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
        SDL_EventState(SDL_DROPCOMPLETE, SDL_ENABLE);
        SDL_EventState(SDL_DROPTEXT, SDL_DISABLE);
        state.needs_present = true;
    }
    state.open = true;
    state.alive.store(true);
    pump_window();
    return 0;
}

void close_window() {
    WindowState& state = window_state();
    if (!state.open) return;
    if (state.window) SDL_StopTextInput();
    destroy_sdl_objects();
    state.open = false;
    state.alive.store(false);
}

bool window_alive() {
    const WindowState& state = window_state();
    return state.alive.load() && !g_stop_requested.load();
}

void request_stop() {
    g_stop_requested.store(true);
}

void set_caption(const char* gbk_text) {
    WindowState& state = window_state();
    state.caption_utf8 = nd::gbk_to_utf8(gbk_text ? gbk_text : "");
    if (state.window) SDL_SetWindowTitle(state.window, state.caption_utf8.c_str());
}

void move_window(int x, int y, bool redraw) {
    WindowState& state = window_state();
    if (!state.window) return;
    SDL_SetWindowPosition(state.window, x, y);
    if (redraw) state.needs_present = true;
}

void hide_window() {
    WindowState& state = window_state();
    if (state.window) SDL_HideWindow(state.window);
}

void resize_window(int width, int height) {
    WindowState& state = window_state();
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    if (state.window) SDL_SetWindowSize(state.window, width, height);
    if (state.page) resize(state.page, width, height);
    state.needs_present = true;
}

Rect work_area() {
    ensure_video();
    WindowState& state = window_state();
    if (state.is_headless) return {0, 0, 1600, 900};
    int display = state.window ? SDL_GetWindowDisplayIndex(state.window) : 0;
    SDL_Rect rect{};
    if (display < 0 || SDL_GetDisplayUsableBounds(display, &rect) != 0) {
        if (SDL_GetDisplayBounds(0, &rect) != 0) return {0, 0, 1600, 900};
    }
    return {rect.x, rect.y, rect.w, rect.h};
}

void raise_window() {
    WindowState& state = window_state();
    if (state.window) SDL_RaiseWindow(state.window);
}

void minimise_window() {
    WindowState& state = window_state();
    if (state.window) SDL_MinimizeWindow(state.window);
}

bool window_in_foreground() {
    WindowState& state = window_state();
    if (!state.window) return false;
    return (SDL_GetWindowFlags(state.window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

bool window_minimised() {
    WindowState& state = window_state();
    if (!state.window) return false;
    return (SDL_GetWindowFlags(state.window) & SDL_WINDOW_MINIMIZED) != 0;
}

void* window_handle() {
    return window_state().window;
}

void set_caret_rect(int x, int y, int width, int height) {
    if (!window_state().window) return;
    SDL_Rect rect{x, y, width, height};
    SDL_SetTextInputRect(&rect);
}

void frame_wait(int fps) {
    if (fps < 1) fps = 1;
    SystemClock clock;
    pace_frame(&g_schedule, fps, &clock);
}

}  // namespace gfx
