// The board's colour tables, one row per skin (BLACK, CAKE, STARS, WHITE),
// for the colours that only the board draws. Colours shared with other
// parts come from the skin palette (skins/palette.h).
#pragma once

#include <array>
#include <cstdint>

#include "gfx/gfx.h"

namespace nd {

// Fixed colours of the board.
inline constexpr gfx::Color kCtrlHoverLinkColour = 0xFFA80000;  // Ctrl over a card
inline constexpr gfx::Color kSelectionSlotColour = 0xFFA80000;
inline constexpr gfx::Color kMapLinkColour = 0xFF9D9D9D;
inline constexpr gfx::Color kCardTitleLight = 0xFFFCFCFC;  // on grey, green and red cards
inline constexpr gfx::Color kCardTitleDark = 0xFF000000;   // on yellow cards
inline constexpr gfx::Color kResizeOverlayText = 0xFF000000;
inline constexpr gfx::Color kLockText = 0xFFFCFCFC;

struct BoardColours {
    // Per colour class: grey, green, red, yellow.
    std::array<gfx::Color, 4> card_fill;   // the card body
    std::array<gfx::Color, 4> card_frame;  // the top and bottom lines in colour-frame mode
    std::array<gfx::Color, 4> halo;        // the selected card's halo
    gfx::Color frame_card_fill;  // the body in colour-frame mode
    gfx::Color frame_card_text;  // its title
    gfx::Color window_card_fill;  // a window-form card's inside
    gfx::Color window_card_text;
    gfx::Color link;        // a loose link
    gfx::Color tight_link;  // a tight link
    gfx::Color link_target;  // the frame of the card a link gesture points at
    gfx::Color grid;
    gfx::Color axis;
    gfx::Color frame;  // the board's and the window's border
    gfx::Color hint;   // the keyboard resize hint's border
};

// Halos are the page colour moved an eighth of the way to the status
// colour: a quiet disc that tells the selected card without covering the
// links under it.
constexpr gfx::Color mix_colour(gfx::Color a, gfx::Color b, int eighths) {
    auto channel = [&](int shift) {
        const int ca = int((a >> shift) & 0xFF), cb = int((b >> shift) & 0xFF);
        return uint32_t(ca + (cb - ca) * eighths / 8) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

inline constexpr std::array<gfx::Color, 4> kStatusColours = {0xFF8F949A, 0xFF34B36E,
                                                              0xFFE0524C, 0xFFE8B526};

constexpr std::array<gfx::Color, 4> halos(gfx::Color page) {
    return {mix_colour(page, kStatusColours[0], 1), mix_colour(page, kStatusColours[1], 1),
            mix_colour(page, kStatusColours[2], 1), mix_colour(page, kStatusColours[3], 1)};
}

inline constexpr BoardColours kBoardColours[4] = {
    // BLACK: page 0xFF5A5C50.
    {{0xFF7F7F7F, 0xFF2F9A5F, 0xFFC8443E, 0xFFE3B12A},
     {0xFF7F7F7F, 0xFF34B36E, 0xFFE0524C, 0xFFE8B526},
     halos(0xFF5A5C50),
     0xFF2B2C26, 0xFFD7D7CA, 0xFF1E1E1E, 0xFFD7D7CA,
     0xFFB9BBA8, 0xFFF0C75A, 0xFF7CBCEA, 0xFF64665A, 0xFF8C8E80, 0xFF2A2B25, 0xFFC2A14A},
    // CAKE: page 0xFFFAF1ED.
    {{0xFF9A9EA3, 0xFF34B36E, 0xFFE0524C, 0xFFE8B526},
     {0xFF9A9EA3, 0xFF34B36E, 0xFFE0524C, 0xFFE8B526},
     halos(0xFFFAF1ED),
     0xFFFFFFFF, 0xFF3A2A24, 0xFFFFFBF9, 0xFF3A2A24,
     0xFFB49A90, 0xFFC8745C, 0xFF0066B4, 0xFFEEE2DC, 0xFFCDB4AA, 0xFFBCA79E, 0xFFC8745C},
    // STARS: page 0xFF2D393E.
    {{0xFF6E767C, 0xFF2F9A5F, 0xFFC8443E, 0xFFE3B12A},
     {0xFF8F949A, 0xFF34B36E, 0xFFE0524C, 0xFFE8B526},
     halos(0xFF2D393E),
     0xFF16232A, 0xFFDDE8EE, 0xFF0D1B22, 0xFFDDE8EE,
     0xFF7FA7BE, 0xFF7CC4F0, 0xFF7CBCEA, 0xFF36444A, 0xFF5E7480, 0xFF121D22, 0xFF4C9AD0},
    // WHITE: page 0xFFF9FBFC.
    {{0xFF9A9EA3, 0xFF34B36E, 0xFFE0524C, 0xFFE8B526},
     {0xFF9A9EA3, 0xFF34B36E, 0xFFE0524C, 0xFFE8B526},
     halos(0xFFF9FBFC),
     0xFFFFFFFF, 0xFF1F2328, 0xFFFFFFFF, 0xFF1F2328,
     0xFF9AA4AE, 0xFF0078D7, 0xFF0066B4, 0xFFEDF0F2, 0xFFB9C2CA, 0xFFBCBDBE, 0xFF0078D7},
};

constexpr const BoardColours& board_colours(int skin) {
    return kBoardColours[skin & 3];
}

}  // namespace nd
