// The link gesture: a link is drawn from one object to another with a
// rubber line and made (or, between Cases already linked, removed) on the
// left release; a right press cancels it. Links live in both Cases'
// records, and both change together or not at all.
#pragma once

#include "gfx/gfx.h"
#include "session/requests.h"
#include "session/view_state.h"
#include "store/records.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

inline constexpr int kLinkIdle = -1;

// A card's rubber line starts this far below its top-left corner.
inline constexpr int kCardLinkStartDy = 29;

struct LinkGesture {
    int state = kLinkIdle;  // kLinkIdle, else the source's origin
    CaseRef source;
    int source_row = -1;  // the source's row in its panel, for the panels' origins
    int start_x = 0;      // where the rubber line starts
    int start_y = 0;
};

// What making or removing a link between two Cases did.
enum class LinkChange {
    kNone,       // the same Case twice, or nothing to do
    kAdded,      // linked on both sides
    kRemoved,    // unlinked on both sides
    kFull,       // one side holds 70 links already: nothing made
    kNotLoaded,  // one side is not loaded: nothing changed
    kUnsaved,    // a record could not be written: both sides are as they were
};

bool link_gesture_active(const MainView& view);
// Starts the gesture from `source` (an origin above) with the rubber line
// at (x, y). A panel asks for it with a kStartLink request; a card's menu
// command starts it at the card.
void start_link_gesture(MainView& view, const CaseRef& source, int x, int y,
                        int origin = kLinkFromCard, int row = -1);
void cancel_link_gesture(MainView& view);
// A left release while the gesture runs: link to (or unlink from) the Case
// under (x, y), then idle.
void complete_link_gesture(MainView& view, int x, int y);

// The Case a release at (x, y) would link to: true and `*target` (with
// `*mark` the map mark it ends at, or -1) when there is one. A card gives
// its Case; on a map-form card a mark that carries a link gives the Case
// at that link's other end, any other mark under the pointer the map Case
// at that mark. A search result or timeline entry gives the Case under
// the pointer, the assessment report and the left bar their selected
// Case, and the Case window the Case it shows.
bool link_target_at(const MainView& view, int x, int y, CaseRef* target, int* mark);

// The storage operation: links `a` and `b` on both sides when they are not
// linked (both loose, role 3; ending at `mark` of the map Case `b` when it
// is given, which needs both on the board shown), or removes the link from
// both when they are. Both records are saved under StorageLock; when a save
// fails both records go back to what they held, on disk too.
LinkChange toggle_link(const CaseRef& a, const CaseRef& b, const MapMark* mark);

// Sets the relation of link `index` of the Case `of` to loose or tight and
// saves it. 0, -1 when there is no such Case or link, or the store's status
// (the relation is then put back).
int set_link_relation(const CaseRef& of, int index, bool tight);

void draw_rubber_line(const MainView& view, gfx::IMAGE* canvas);

}  // namespace nd
