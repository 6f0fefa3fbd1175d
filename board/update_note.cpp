// The update note's places and input: its hit areas, opening and closing,
// dragging, the button, the link, and following the release record.
#include "board/update_note.h"

#include <cstdio>

#include "base/servers_cfg.h"
#include "base/web_address.h"
#include "board/main_view.h"
#include "board/menu.h"
#include "session/app.h"
#include "session/view_state.h"

namespace nd {

namespace {

constexpr int kDragHeight = 136;

UpdateNoteState g_note;

bool between(int value, int low, int high) {
    return low < value && value < high;
}

// The note's own coordinates of a pointer message.
NoteArea area_of(const ui::Panel& panel, const gfx::MouseMsg& msg) {
    return update_note_area(msg.x - panel.rect.x, msg.y - panel.rect.y);
}

void redraw(UpdateNoteState& s) {
    if (s.view) request_redraw(*s.view);
}

void click(UpdateNoteState& s, ui::Panel& panel, int area) {
    switch (area) {
        case kNoteUpdateButton:
            // Without an offered update the button is not drawn and does
            // nothing.
            if (s.available && s.news && s.view && s.view->app)
                static_cast<void>(accept_update(*s.view->app, *s.news));
            break;
        case kNoteClose:
            panel.visible = false;
            break;
        case kNoteLink:
            // A link that cannot be opened does nothing, like one that is
            // not drawn.
            if (s.available && !s.notes_address.empty())
                static_cast<void>(open_web_address(s.notes_address));
            break;
        default:
            break;
    }
    redraw(s);
}

// A press on the note, the moves of a drag it started, and its release.
bool pointer(ui::Panel& panel, const gfx::MouseMsg& msg) {
    UpdateNoteState& s = *static_cast<UpdateNoteState*>(panel.state);
    switch (msg.kind) {
        case gfx::kMouseDown:
            s.pressed = area_of(panel, msg);
            s.dragging = s.pressed == kNoteDrag;
            s.drag_x = msg.x;
            s.drag_y = msg.y;
            break;
        case gfx::kMouseMove:
            if (!s.dragging) break;
            panel.rect.x += msg.x - s.drag_x;
            panel.rect.y += msg.y - s.drag_y;
            s.drag_x = msg.x;
            s.drag_y = msg.y;
            redraw(s);
            break;
        case gfx::kMouseUp: {
            const int pressed = s.pressed;
            s.pressed = kNoteNowhere;
            if (s.dragging) {
                s.dragging = false;
                break;
            }
            if (pressed != kNoteNowhere && area_of(panel, msg) == pressed) click(s, panel, pressed);
            break;
        }
        default:
            break;
    }
    return true;
}

void draw(const ui::Panel& panel, gfx::IMAGE* canvas) {
    const UpdateNoteState& s = *static_cast<const UpdateNoteState*>(panel.state);
    int hovered = kNoteNowhere;
    if (s.view && s.view->pointer.hit == kPanelUpdateNote)
        hovered =
            update_note_area(s.view->pointer.x - panel.rect.x, s.view->pointer.y - panel.rect.y);
    draw_update_note(s, panel.rect, hovered, canvas);
}

void skin_changed(ui::Panel& panel, int) {
    if (panel.visible) compose_update_note(*static_cast<UpdateNoteState*>(panel.state));
}

constexpr ui::PanelHooks kHooks = {
    .pointer = pointer,
    .wheel = nullptr,
    .key = nullptr,
    .draw = draw,
    .skin_changed = skin_changed,
};

// The release-notes page servers.cfg names; only a plain web address is
// kept, since it goes to the browser as it is.
std::string notes_address(const App* app) {
    if (!app || !app->ProgramDir[0]) return {};
    ServersConfig config;
    std::string reason;
    // Lines the note cannot use are the updater's concern; the start
    // already reported them.
    static_cast<void>(
        load_servers_cfg(std::string(app->ProgramDir) + "/servers.cfg", &config, &reason));
    return plain_web_address(config.notes) ? config.notes : std::string();
}

}  // namespace

NoteArea update_note_area(int x, int y) {
    if (between(x, 52, 152) && between(y, 226, 258)) return kNoteUpdateButton;
    if (between(x, kUpdateNoteWidth - 47, kUpdateNoteWidth - 2) && between(y, 2, 22))
        return kNoteClose;
    if (between(x, 230, 365) && between(y, 166, 196)) return kNoteLink;
    if (between(x, 0, kUpdateNoteWidth) && between(y, 0, kDragHeight)) return kNoteDrag;
    return kNoteNowhere;
}

void install_update_note(MainView& view) {
    // A new view learns the flag again from the program's release record.
    g_note.view = &view;
    g_note.news = &release_news();
    g_note.available = false;
    g_note.newest = {};
    g_note.notes_address = notes_address(view.app);
    g_note.pressed = kNoteNowhere;
    g_note.dragging = false;
    ui::panel_install_hidden(&view_state().panels, kPanelUpdateNote, &g_note, &kHooks);
}

void toggle_update_note(MainView& view) {
    ui::Panel* panel = ui::panel_find(&view_state().panels, kPanelUpdateNote);
    if (!panel) return;
    panel->visible = !panel->visible;
    g_note.pressed = kNoteNowhere;
    g_note.dragging = false;
    if (panel->visible) {
        panel->rect = {view.width / 2 - kUpdateNoteWidth / 2,
                       view.height / 2 - kUpdateNoteHeight / 2, kUpdateNoteWidth,
                       kUpdateNoteHeight};
        compose_update_note(g_note);
        ui::panel_bring_to_front(&view_state().panels, kPanelUpdateNote);
    }
    request_redraw(view);
}

void follow_release_news(MainView& view, const ReleaseNews& news) {
    g_note.news = &news;
    // The flag never goes back, so until it is set there is nothing to
    // look at but the flag itself.
    if (!news.update_available()) return;
    const ReleaseNumbers newest = news.newest();
    if (g_note.available && newest == g_note.newest) return;
    g_note.available = true;
    g_note.newest = newest;
    set_offered_update(view, {true, int(newest.major), int(newest.minor), int(newest.patch)});
    if (panel_open(kPanelUpdateNote)) compose_update_note(g_note);
    request_redraw(view);
}

UpdateNoteState& update_note_state() {
    return g_note;
}

void free_update_note() {
    if (g_note.composed) gfx::delete_image(g_note.composed);
    g_note.composed = nullptr;
    g_note.composed_skin = -1;
    free_skin_pictures(&g_note.pictures);
    free_skin_pictures(&g_note.corners);
    if (g_note.robot) gfx::delete_image(g_note.robot);
    g_note.robot = nullptr;
}

}  // namespace nd
