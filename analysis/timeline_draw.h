// Drawing the timeline strip. It reads the strip's state only; the frame's
// pulse and scroll advance in timeline_step.
//
// The icons say what each Case is: a person Case shows the person icon, any
// other Case the strip icon of its status (TL_ACT_NULL, TL_ACT_OK,
// TL_ACT_BAD, TL_ACT_BREAK for 搁置, 良好, 严重, 警告), and TL_ACT_BLACK
// stands for a status no colour has (a damaged record). The curves from the
// selected Case tell tight from loose: a tight link is a solid 2-pixel curve
// in the report's tight blue with TL_ACT_BLUE on its crown, a loose link a
// dotted 1-pixel curve in the skin's line colour.
#pragma once

#include "analysis/case_icons.h"
#include "analysis/timeline.h"
#include "gfx/gfx.h"

namespace nd {

enum class StripIcon : uint8_t { kNull, kOk, kBad, kBreak, kBlue, kBlack, kMore };
inline constexpr int kStripIconCount = 7;

struct TimelinePictures {
    gfx::IMAGE* strip[kStripIconCount] = {};
    CaseIcons cases;  // the person icon
};
void load_timeline_pictures(TimelinePictures& pictures);
void free_timeline_pictures(TimelinePictures& pictures);

// The strip icon of a status.
StripIcon strip_icon(int32_t status);

// Draws the strip at `strip` for skin `skin` (0..3). Nothing is drawn while
// the strip is hidden or `load_progress` is below 100.
void timeline_draw(const Timeline& timeline, const StripRect& strip, int skin, int load_progress,
                   const TimelinePictures& pictures, gfx::IMAGE* canvas);

}  // namespace nd
