#include "update/update_window.h"

#include <cstdio>
#include <string>

#include "gfx/gfx.h"
#include "gfx/window/window.h"
#include "update/updater.h"

namespace nd {
namespace {

// 微软雅黑, as GBK bytes like every text the program draws.
constexpr char kFace[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";
constexpr int kWidth = 500;
constexpr int kHeight = 200;

gfx::IMAGE* plain_image(int width, int height, gfx::Color color) {
    gfx::IMAGE* image = gfx::new_image(width, height);
    gfx::set_bk_color(color, image);
    gfx::clear_image(image);
    return image;
}

void draw_frame(const Updater& updater, const gfx::IMAGE* background, const gfx::IMAGE* track) {
    gfx::clear_image();
    gfx::putimage(0, 0, background);
    gfx::putimage(30, 120, track);

    // The message ends in blank lines meant for a multi-line text box; only
    // its visible part is drawn on the one line there is.
    std::string message = updater.message();
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    gfx::set_color(0xFFFCFCFC);
    gfx::set_font(-16, 0, kFace);
    gfx::text_out(30, 45, message.c_str());

    const int progress = updater.progress();
    char percent[16];
    std::snprintf(percent, sizeof percent, "%d%%", progress);
    gfx::set_font(-13, 0, kFace);
    gfx::text_out(445, 125, percent);

    if (progress > 0) {
        gfx::set_color(0xFF00A800);
        for (int y = 120; y < 150; ++y) gfx::draw_line(30, y, 30 + 4 * progress, y);
    }
}

}  // namespace

int run_update_window(const Updater& updater, const char* caption) {
    const gfx::Rect screen = gfx::work_area();
    gfx::set_window_mode(0, screen.x + screen.w / 2 - kWidth / 2,
                         screen.y + screen.h / 2 - kHeight / 2);
    gfx::set_caption(caption);
    if (gfx::open_window(kWidth, kHeight, gfx::kWindowManualRefresh) != 0) return -1;
    gfx::set_bk_mode(gfx::kTransparent);
    gfx::set_bk_color(0xFFEBEBEC);
    gfx::IMAGE* background = plain_image(kWidth, kHeight, 0xFF151515);
    gfx::IMAGE* track = plain_image(400, 30, 0xFF272727);
    gfx::raise_window();

    bool leave = false;
    while (gfx::window_alive() && !leave) {
        // Keys are ignored (key_pending is -1 once the window stops, so only a
        // positive answer drains). A left-button release closes the window once the
        // worker has ended; other mouse input has no effect.
        while (gfx::key_pending() > 0) gfx::get_key();
        while (gfx::mouse_pending()) {
            const gfx::MouseMsg m = gfx::get_mouse();
            if ((m.kind & gfx::kMouseUp) && (m.flags & gfx::kMouseLeft) &&
                updater.worker_finished())
                leave = true;
        }
        draw_frame(updater, background, track);
        gfx::frame_wait(30);
    }
    gfx::delete_image(background);
    gfx::delete_image(track);
    gfx::close_window();
    return 0;
}

}  // namespace nd
