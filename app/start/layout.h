// Where everything on the start page sits. The page is a fixed 1000 x 640
// window; the widgets, the drawing and the tests all take their positions
// from here, so a click always lands on what was drawn.
#pragma once

#include "gfx/rect.h"

namespace nd::start {

using gfx::Rect;

namespace layout {

inline constexpr int kWidth = 1000;
inline constexpr int kHeight = 640;

// Text anchors.
inline constexpr int kTitleX = 100, kTitleY = 70, kTitleSize = 42;
inline constexpr int kLogoX = 24, kLogoY = 62;  // a 64 x 64 mark left of the title
inline constexpr int kHeaderX = 41, kHeaderY = 175, kHeaderSize = 24;
inline constexpr int kMessageX = 500, kMessageY = 570, kMessageSize = 17;
inline constexpr int kDetailY = 594, kDetailSize = 14;
inline constexpr int kLoadingX = 500, kLoadingY = 610, kLoadingSize = 17;
inline constexpr int kRowTextSize = 20;
inline constexpr unsigned kRowTextColor = 0xFFC3C3C3;

// The recent list: rows 50 px apart, the first 12 px into the list area.
inline constexpr Rect kList{41, 215, 420, 362};
inline constexpr int kRowTop = 12;
inline constexpr int kRowPitch = 50;
inline constexpr int kRowHeight = 46;
inline constexpr int kVisibleRows = (kList.h - kRowTop) / kRowPitch;
// Name text inside a row, and the icons a hovered row shows at its right end.
inline constexpr int kRowTextDx = 48, kRowTextDy = 11;
inline constexpr int kRowMarkDx = 14, kRowMarkDy = 15;
inline constexpr int kRowIconSize = 24;
inline constexpr int kRowIconDx = kList.w - kRowIconSize - 14;
inline constexpr int kRowIconDy = (kRowHeight - kRowIconSize) / 2;

// Scroll arrows beside the list, shown when it is longer than the window.
inline constexpr Rect kScrollUp{kList.x + kList.w + 6, kList.y + kRowTop, 16, 40};
inline constexpr Rect kScrollDown{kList.x + kList.w + 6, kList.y + kList.h - 40, 16, 40};

// Buttons.
inline constexpr Rect kNew{560, 227, 200, 48};
inline constexpr Rect kOpen{560, 293, 200, 48};
inline constexpr Rect kMinimise{kWidth - 90, 0, 45, 29};
inline constexpr Rect kClose{kWidth - 45, 0, 45, 29};
inline constexpr int kHelpLinks = 2;
inline constexpr Rect kHelp[kHelpLinks] = {{560, 380, 140, 26}, {560, 412, 140, 26}};
inline constexpr int kHelpSize = 17;
// The feature picture on the right.
inline constexpr int kFeatureX = 780, kFeatureY = 227;

// The path entry that stands in for the file chooser when there is none.
inline constexpr Rect kEntryBox{200, 230, 600, 170};
inline constexpr int kEntryPromptX = 220, kEntryPromptY = 248, kEntryPromptSize = 17;
inline constexpr Rect kEntryField{220, 285, 560, 34};
inline constexpr int kEntryTextSize = 17;
inline constexpr Rect kEntryOk{540, 340, 110, 40};
inline constexpr Rect kEntryCancel{670, 340, 110, 40};

// The notice that tells what opening a workspace found and mended.
inline constexpr Rect kNoticeBox{150, 150, 700, 360};
inline constexpr int kNoticeTitleX = 170, kNoticeTitleY = 166, kNoticeTitleSize = 17;
inline constexpr int kNoticeTextX = 170, kNoticeTextY = 204, kNoticeTextSize = 14;
inline constexpr int kNoticeTextWidth = 660, kNoticeLinePitch = 22, kNoticeLines = 10;
inline constexpr Rect kNoticeOk{720, 452, 110, 40};

}  // namespace layout

// The rectangle of visible row `slot` (0 = the first row shown).
constexpr Rect row_rect(int slot) {
    return {layout::kList.x, layout::kList.y + layout::kRowTop + slot * layout::kRowPitch,
            layout::kList.w, layout::kRowHeight};
}

}  // namespace nd::start
