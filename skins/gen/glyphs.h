// Line icons of the picture set. Every icon is drawn from a 24-unit design
// grid into a square of any size, in one colour, so the same icon reads the
// same on a 16-pixel menu entry and a 48-pixel dialog header.
#pragma once

#include <cstdint>

#include "skins/gen/canvas.h"

namespace skingen {

enum class Glyph {
    kNone,
    kClose,
    kMinimize,
    kMaximize,
    kRestore,
    kLock,
    kUnlock,
    kPin,
    kUnpin,
    kLink,
    kPlus,
    kMinus,
    kTrash,
    kTrashFull,
    kChart,
    kSearch,
    kTimeline,
    kCheck,
    kCross,
    kBang,
    kNull,
    kPerson,
    kPeople,
    kTask,
    kGear,
    kPalette,
    kZoomIn,
    kZoomOut,
    kArrowRight,
    kArrowLeft,
    kArrowUp,
    kArrowDown,
    kEye,
    kFlag,
    kFlagOff,
    kFunnel,
    kList,
    kInfo,
    kQuestion,
    kShield,
    kTarget,
    kTag,
    kNote,
    kSend,
    kSliders,
    kBulb,
    kDiamond,
    kCube,
    kBubbles,
    kHome,
    kPuzzle,
    kScissors,
    kSpark,
    kGrid,
    kCard,
    kCardNew,
    kStar,
    kKey,
    kIdCard,
    kResize,
    kWindow,
    kMerge,
    kPlay,
    kHourglass,
    kBack,
    kMapPin,
    kMapPinOff,
    kDots,
    kFolder,
    kFolderOpen,
    kWhat,
    kLayers,
    kGrip,
    kCompass,
    kStop,
};

// Draws `glyph` centred on (cx, cy) in a square of side `size`.
void draw_glyph(Canvas& canvas, Glyph glyph, float cx, float cy, float size, uint32_t color);

}  // namespace skingen
