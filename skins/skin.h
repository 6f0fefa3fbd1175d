// Skins: the index of the current skin, switching between skins, and the
// reload of pictures that elements keep when the skin changes. All of it is
// main-thread state.
#pragma once

#include <cstdint>

#include "gfx/gfx.h"

namespace nd {

constexpr int kSkinCount = 4;
constexpr int kSkinBlack = 0;
constexpr int kSkinCake = 1;
constexpr int kSkinStars = 2;
constexpr int kSkinWhite = 3;

// Picture names begin with the skin's prefix and an underscore.
inline constexpr const char* kSkinPrefix[kSkinCount] = {"BLACK", "CAKE", "STARS", "WHITE"};

// Names on the options page, GBK bytes: "西部世界", none for CAKE, "星辰大海",
// "仓廪之冬".
inline constexpr const char* kSkinTitle[kSkinCount] = {"\xCE\xF7\xB2\xBF\xCA\xC0\xBD\xE7", nullptr,
                                                       "\xD0\xC7\xB3\xBD\xB4\xF3\xBA\xA3",
                                                       "\xB2\xD6\xE2\xDE\xD6\xAE\xB6\xAC"};

// The skin a stored index starts in. CAKE (1) is no longer offered and
// becomes STARS (2); a value no skin has (a damaged record) becomes BLACK,
// so the index can always select a row of the tables.
uint8_t skin_from_stored(uint8_t stored);

// What switching needs from the rest of the program. Any member may be left
// empty; the step it provides is then skipped.
struct SkinHooks {
    gfx::IMAGE* board = nullptr;            // the board image, whose background follows the skin
    bool (*loading)() = nullptr;            // true while a workspace is still loading
    void (*store)(uint8_t skin) = nullptr;  // put the index in the workspace settings and save them
    void (*rebuild)() = nullptr;            // rebuild the main view's skinned parts at its width
};

void set_skin_hooks(const SkinHooks& hooks);

int current_skin();
// The skin for which the main view last loaded its pictures (-1 before any).
int last_loaded_skin();
// Takes the skin of a freshly loaded workspace without the switching steps.
void set_current_skin(int skin);

constexpr int kSkinSwitched = 0;
constexpr int kSkinUnchanged = 1;  // the same skin again, or still loading
constexpr int kSkinBadIndex = -1;

// Switches to `skin` (0..3). The board background always follows at once;
// the rest happens only for a different skin once loading has finished:
// store and save the index, give the screen page the new fill and
// background colour, rebuild the skinned parts, and record the skin as
// loaded.
[[nodiscard]] int switch_skin(int skin);

// The most pictures one element keeps: the largest name table's row (the
// tool bar's). skins/names.h checks it against every table at compile time.
inline constexpr int kSkinPictureRoom = 72;

// Pictures an element keeps, with the skin they were loaded for.
struct SkinPictures {
    int skin = -1;
    int count = 0;
    gfx::IMAGE* images[kSkinPictureRoom] = {};
};

// False for a null image or the 1 x 1 placeholder a missing picture
// leaves; the caller then draws a plain stand-in.
bool picture_loaded(const gfx::IMAGE* image);

// Status codes of reload_on_change.
inline constexpr int kPicturesReloaded = 1;
inline constexpr int kPicturesKept = 0;      // already loaded for the current skin
inline constexpr int kPicturesTooMany = -1;  // more names than SkinPictures holds

// Loads `count` pictures from a row of names when the current skin differs
// from the skin they were loaded for, freeing the old ones first. A missing
// picture stays a 1 x 1 image. A count past kSkinPictureRoom (or below 0) is
// refused and nothing changes. Returns a status above.
[[nodiscard]] int reload_on_change(SkinPictures* pictures, const char (*names)[32], int count);
void free_skin_pictures(SkinPictures* pictures);

}  // namespace nd
