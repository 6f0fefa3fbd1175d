// Drawing the cards and their links: which connectors the frame shows, and
// each card in its form.
#pragma once

#include <array>

#include "board/geometry.h"
#include "gfx/gfx.h"
#include "store/records.h"

namespace nd {

struct MainViewState;
using MainView = MainViewState;

struct DrawnConnector {
    int from = -1;  // card indices
    int to = -1;
    bool tight = false;
    Connector points{};
};

// True when card `index` is drawn and can be hit: its colour switch is on.
bool card_shown(const MainView& view, int index);
// The connectors of card `index` that the frame draws: links to shown cards
// of the current board. Their number.
int card_connectors(const MainView& view, int index,
                    std::array<DrawnConnector, kMaxLinks>* out);
// The card the pointer is over while Ctrl is held, whose links show in red,
// or -1.
int ctrl_hover_card(const MainView& view);

void draw_card(const MainView& view, gfx::IMAGE* canvas, int index);

}  // namespace nd
