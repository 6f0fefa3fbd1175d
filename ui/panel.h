// Floating panels over the board, and the list that keeps them front to
// back. A panel is an entry: an id (its hit code on the board), whether it
// shows, its rectangle, its own state, and the hooks the board calls. Each
// panel's file (board/, content/ or analysis/) makes its entry and adds it;
// nothing here knows any panel.
//
// The list does no routing of its own beyond the hit test: which panel gets
// a release or a key is the board's rule.
#pragma once

#include <array>

#include "gfx/gfx.h"
#include "gfx/window/window.h"

namespace nd::ui {

struct Panel;

// Any hook may be null; the board then skips that step for the panel.
struct PanelHooks {
    // A pointer message the board gives the panel (a press on it, the moves
    // and release of a drag it started). True when the panel used it.
    bool (*pointer)(Panel& panel, const gfx::MouseMsg& msg) = nullptr;
    // Two left presses on the panel within the double-click time. True when
    // the panel has an action for it.
    bool (*double_click)(Panel& panel, int x, int y) = nullptr;
    // A wheel turn over the panel, in notches of 120. True when used.
    bool (*wheel)(Panel& panel, int x, int y, int delta) = nullptr;
    // An editing key code (ui/keys.h) while the panel has the keyboard.
    bool (*key)(Panel& panel, int code) = nullptr;
    // Draws the panel onto the canvas; reads its state only.
    void (*draw)(const Panel& panel, gfx::IMAGE* canvas) = nullptr;
    // The skin changed: reload pictures and redraw what was drawn once.
    void (*skin_changed)(Panel& panel, int skin) = nullptr;
    // The pointer moved over the panel with no button held (hover).
    void (*hover)(Panel& panel, int x, int y) = nullptr;
    // A right click on the panel: true when the panel asked for a menu of
    // its own (it posts the request), so the board opens none.
    bool (*context)(Panel& panel, int x, int y) = nullptr;
};

struct Panel {
    int id = 0;  // its hit code on the board, 1..9; 0 is no panel
    bool visible = false;
    gfx::Rect rect;
    void* state = nullptr;  // the panel's own state, owned by its file
    const PanelHooks* hooks = nullptr;
};

inline constexpr int kMaxPanels = 16;

// The panels, front first. Fixed room, so keeping it costs no allocation.
struct PanelList {
    std::array<Panel, kMaxPanels> panels{};
    int count = 0;
};

inline constexpr int kPanelAdded = 0;
inline constexpr int kPanelListFull = -1;
inline constexpr int kPanelIdTaken = -2;
inline constexpr int kPanelBadId = -3;

// Adds a panel at the back. A status above.
[[nodiscard]] int panel_add(PanelList* list, const Panel& panel);
// Adds a panel with its state and hooks at the back, hidden; when one with
// that id is in the list already (a later view of the same program) it is
// only hidden. The list has room for every panel id, so a full list is a
// programming mistake elsewhere, and the panel then simply never shows.
void panel_install_hidden(PanelList* list, int id, void* state, const PanelHooks* hooks);
// Takes a panel out; false when there was none with that id.
bool panel_remove(PanelList* list, int id);
Panel* panel_find(PanelList* list, int id);
// The panel `id`, added at the back with its state and hooks when it is not
// in the list yet; null only when the list is full.
Panel* panel_install(PanelList* list, int id, void* state, const PanelHooks* hooks);
const Panel* panel_find(const PanelList& list, int id);
// Moves a panel to the front, the ones before it one place back.
void panel_bring_to_front(PanelList* list, int id);
// The id of the front-most shown panel whose rectangle holds (x, y)
// strictly (a point on an edge is outside), or 0.
int panel_hit(const PanelList& list, int x, int y);
// Draws the shown panels from the back to the front.
void draw_panels(const PanelList& list, gfx::IMAGE* canvas);
// Tells every panel, shown or not, that the skin changed.
void panels_skin_changed(PanelList* list, int skin);

}  // namespace nd::ui
