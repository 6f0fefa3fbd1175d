// The update note: floating panel 2, opened and closed by command 55. It
// says whether a newer release exists and, while one does, offers the
// button that saves, closes, updates and comes back (RunState -99), and a
// link to the release notes when servers.cfg names a page for them.
#pragma once

#include <string>

#include "gfx/gfx.h"
#include "session/release.h"
#include "skins/skin.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

// The note is 600 x 380, placed centred at (W/2 - 300, H/2 - 190).
inline constexpr int kUpdateNoteWidth = 600;
inline constexpr int kUpdateNoteHeight = 380;

// Where a point of the note falls, relative to its top-left corner. Every
// area is an open interval: a point on an area's edge is outside it.
enum NoteArea : int {
    kNoteNowhere,
    kNoteUpdateButton,  // x 52..152, y 226..258
    kNoteClose,         // x width-47..width-2, y 2..22
    kNoteLink,          // x 230..365, y 166..196
    kNoteDrag,          // the full width, y 0..136 (the close button aside)
};
NoteArea update_note_area(int x, int y);

struct UpdateNoteState {
    MainView* view = nullptr;
    // The release record the note follows, and what it last saw there: the
    // flag and the numbers of the version line.
    const ReleaseNews* news = nullptr;
    bool available = false;
    ReleaseNumbers newest;
    std::string notes_address;   // servers.cfg's "notes =", or empty: no link
    int pressed = kNoteNowhere;  // the area of the left press, until the release
    bool dragging = false;
    int drag_x = 0;  // the pointer's last place while dragging
    int drag_y = 0;
    // The panel image, composed for one skin and one state of the flag.
    gfx::IMAGE* composed = nullptr;
    int composed_skin = -1;
    bool composed_available = false;
    SkinPictures pictures;  // UPDATE_*
    SkinPictures corners;   // ABOUT_MARGIN_0..3
    gfx::IMAGE* robot = nullptr;
};

// Adds the note to the panel list, hidden (once; a later view finds it
// there and hides it again). It follows release_news() and takes its link
// from servers.cfg in the program directory.
void install_update_note(MainView& view);
// Shows it centred, or hides it.
void toggle_update_note(MainView& view);
// Once a frame: takes in what `news` says now. A newly offered release
// reaches the note's title and version line, menu item 55 and the top
// bar's badge. From then on the note's button accepts from `news`.
void follow_release_news(MainView& view, const ReleaseNews& news);
// The note's own state, for its drawing and the tests.
UpdateNoteState& update_note_state();
// Frees the note's pictures (a later opening loads them again).
void free_update_note();

// update_note_draw.cpp: the title (GBK) for the state of the flag; the
// version line, the newest release's numbers while the flag is set, else
// the program's own; composing the panel image for the current skin and
// the flag when it is stale; drawing the note each frame.
const char* update_note_title(bool available);
std::string update_note_version_line(const UpdateNoteState& s);
void compose_update_note(UpdateNoteState& s);
void draw_update_note(const UpdateNoteState& s, const gfx::Rect& box, int hovered,
                      gfx::IMAGE* canvas);

}  // namespace nd
