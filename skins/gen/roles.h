// The declarative table of the picture set: one row per role with the size at
// which the program places it, its states, the skins that have it, its file
// format and the recipe that draws it.
#pragma once

#include <cstdint>

#include "skins/gen/glyphs.h"

namespace skingen {

enum class Recipe {
    kTopButton,    // top-bar button: clear, hover plate, pressed plate (close turns red)
    kTopMax,       // maximise states 0-2, restore states 3-5
    kIconButton,   // rounded square plate with an icon
    kWideButton,   // flat button wide enough for a word; `param` 1 marks the primary action
    kTab,          // tab with an icon: inactive, active
    kIcon,         // bare icon: normal, hover, pressed, disabled
    kMenuIcon,     // 20 x 20 menu icon in the skin's accent
    kStrip,        // opaque band in a skin colour (`param` picks it)
    kRule,         // opaque one-colour line
    kCorner,       // panel corner quarter: states top-left, top-right, bottom-left, bottom-right
    kCardCorner,   // window-form card corner, same order
    kCap,          // card end caps in a status colour (`param`): left, right, left hot, right hot
    kSwitch,       // option switch, `param` 1 on
    kColorSwitch,  // colour visibility switch in a status colour: off, on
    kThemeTile,    // miniature of skin `state` for the theme chooser
    kRow,          // list row plate: normal, hover / selected
    kPreview,      // category preview bar: normal, highlighted
    kStatusDot,    // round status badge in a status colour with an icon
    kPoint,        // small pointer mark
    kLogo,         // the product mark
    kRobot,        // the mascot
    kProgress,     // progress bar band
    kStars,        // importance rating: state k shows k + 1 filled stars
    kCounter,      // count badge
    kCheckbox,     // check box: off, on (the 3x states are for dark backgrounds)
    kTrack,        // slider track band
    kKnob,         // slider knob
    kDashedRect,   // placeholder rectangle of a new card
    kSpinner,      // waiting phases
    kSlot,         // selection slot: empty, filled
    kBanner,       // title banner of the about page
    kNote,         // note band of the update panel
    kTimelineDot,  // timeline activity dot in a status colour
    kSkinMode,     // sorting-view mode button drawn in a fixed skin (`param`)
    kGrip,         // resize grip
    kTurnLine,     // thin connector segment
    kFeature,      // the start page's picture: linked cards on a board
};

enum class Format { kPng, kBmp };

// Skin bits; 0 marks a shared picture whose name has no skin prefix.
constexpr uint8_t kBlack = 1, kCake = 2, kStars = 4, kWhite = 8;
constexpr uint8_t kAllSkins = kBlack | kCake | kStars | kWhite;
constexpr uint8_t kShared = 0;

// Status colours used by recipes that take a colour class.
enum StatusColor : uint32_t { kGrey = 0, kGreen = 1, kRed = 2, kYellow = 3, kBlue = 4, kDark = 5 };

struct Role {
    const char* stem;    // role name without state suffix
    const char* states;  // space-separated suffixes ("0 1 2"), empty for a single picture
    int width, height;
    uint8_t skins;
    Format format;
    Recipe recipe;
    Glyph glyph;
    uint32_t param;
};

extern const Role kRoles[];
extern const int kRoleCount;

}  // namespace skingen
