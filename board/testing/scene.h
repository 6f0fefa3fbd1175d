// Workspaces with known boards for the board's tests, goldens and bench:
// cards at given places with given colours, forms and kinds, and links
// between them, written through the store as the program writes them.
#pragma once

#include <string>
#include <vector>

#include "store/records.h"

namespace nd::testing {

struct SceneCard {
    const char* title = "";  // GBK
    int x = 0;               // board units
    int y = 0;
    int colour = kColourShelved;
    int form = kFormTitle;
    int kind = kKindNone;
    bool pinned = false;
    std::vector<MapMark> marks{};
    const char* content = nullptr;  // GBK; null keeps the three line feeds of a new Case
};

struct SceneLink {
    int from = 0;  // card indices
    int to = 0;
    bool tight = false;
    int mark = -1;  // a mark of `to` (a map card) the link ends at, or -1
};

// A full board: `count` title cards in rows of eight across a 1600 x 900
// window, in the four colours, every fifth a person; and `links` links from
// the first card to the next ones, every third tight.
std::vector<SceneCard> full_board(int count);
std::vector<SceneLink> links_from_first(int links);

// Makes the workspace `wk` (".wk" path; its directory must exist) with the
// cards on board 0 of group 0, the first card on top, and loads it into the
// tables. Further boards of group 0 are made empty, or with `more_cards`
// cards each when given. Returns false (with a test failure) when the store
// refuses anything.
bool make_scene(const std::string& wk, const std::vector<SceneCard>& cards,
                const std::vector<SceneLink>& links, int extra_boards = 0, int more_cards = 0);

}  // namespace nd::testing
