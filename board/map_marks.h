// Marks on map-form cards: added and removed by clicks in mark mode, at
// most 50 to a card, each hit within 5 pixels to every side of its point.
// Removing a mark removes the links that end at it, on both sides.
#pragma once

#include "store/records.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

inline constexpr int kMarkReach = 5;

// The mark of `record` whose hit box holds (x, y) (relative to the card's
// top-left corner), or -1.
int mark_at(const CaseRecord& record, int x, int y);
// Adds a mark at (x, y) relative to the card. False when the card already
// holds 50.
bool add_mark(CaseRecord& record, int x, int y);
// Removes mark `index` of the map Case at `where` and every link that ends
// at it, from the map's record and from the records at the links' other
// ends. Returns the number of links removed. The caller holds StorageLock;
// `changed` receives each Case whose record changed (the map first) and
// `*changed_count` their number.
int remove_mark(CaseRecord& record, const LocationRef& where, int index, LocationRef* changed,
                int* changed_count);

// Puts the board into add-mark or remove-mark mode for the top card, when
// it is in the map form.
void start_mark_mode(MainView& view, bool remove);
// A click in mark mode at (x, y) on card `index`: adds or removes a mark,
// saves every changed Case under StorageLock and refreshes their cards.
void mark_click(MainView& view, int index, int x, int y);

}  // namespace nd
