// The timeline strip: every Case of the workspace as a small icon in storage
// order, the selected Case and the Cases it links to raised and joined by
// curves, key nodes of the last assessment pulsing. The board selects Cases,
// passes pointer and wheel input, steps the strip once a frame and draws it
// (timeline_draw.h) while the board is ready.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/records.h"

namespace nd {

struct Report;

inline constexpr int kTimelineHeight = 70;
inline constexpr int kEntryStep = 24;   // entry i stands at i x 24
inline constexpr int kEntryY = 39;      // an icon's top inside the strip
inline constexpr int kRaise = 20;       // the selected and linked icons stand this much higher
inline constexpr int kIconBox = 12;     // the pointer's square over an icon
inline constexpr int kSelectedX = 500;  // selecting scrolls the entry this far in
inline constexpr int kCurvePoints = 75;
inline constexpr int kScrollFrames = 8;
inline constexpr int kScrollStep = 48;
inline constexpr int kPulseLow = 48;
inline constexpr int kPulseHigh = 255;

struct TimelineEntry {
    LocationRef at;
    const CaseRecord* record;
    RecordKey key;
    int32_t status;
    uint16_t kind;
    bool marked;        // the selected Case links to it
    int x, y;           // in strip coordinates, before scrolling
    double importance;  // actual importance handed over by the last report, else 0
    std::string title;  // GBK
};

struct CurvePoint {
    int16_t x, y;
};

struct TimelineCurve {
    int target;  // entry index
    bool tight;
    CurvePoint points[kCurvePoints];
};

struct Timeline {
    bool shown = false;
    std::vector<TimelineEntry> entries;
    std::vector<TimelineCurve> curves;
    bool has_selection = false;
    RecordKey selected_key{};
    int selected = -1;
    int hovered = -1;
    int scroll = 0;         // strip x shown at the strip's left edge
    int scroll_frames = 0;  // frames of a wheel scroll still to run
    int scroll_direction = 0;
    int pulse = kPulseLow;
    int pulse_direction = 1;
    int jitter_x = 0, jitter_y = 0;  // this frame's shake of pulsing icons
};

// The strip's rectangle on the canvas.
struct StripRect {
    int left, top, width;
};

// Selects the Case with `key`: rebuilds the entries from every loaded board
// in board order, raises the selected entry and the entries it links to,
// builds their curves and scrolls the selected entry 500 pixels in. The key
// already selected changes nothing.
void timeline_select(Timeline& timeline, const RecordKey& key);

// Boards were reloaded: no entries, no selection; the strip stays shown.
void timeline_clear(Timeline& timeline);

// Clears every entry's importance and gives each key node of the report its
// actual importance, so that those of 3 or more pulse.
void timeline_mark_key_nodes(Timeline& timeline, const Report& report);

// True for importance values that pulse: 3 or more, with a tolerance for sums
// of tenths that land just below.
bool timeline_pulses(double importance);

// The entry whose 12 x 12 square holds canvas point (x, y), or -1.
int timeline_entry_at(const Timeline& timeline, const StripRect& strip, int x, int y);

// The pointer moved: the entry under it becomes the hovered one.
void timeline_pointer(Timeline& timeline, const StripRect& strip, int x, int y);

// A wheel turn over the strip: eight frames of 48 pixels, towards the start
// for a positive turn; ignored while a scroll runs.
void timeline_wheel(Timeline& timeline, int wheel);

// The end of a frame: one step of a running scroll, one step of the pulse
// (up by 16 to 255, down by 10 to 48) and a new shake of 0 or 1 pixel.
void timeline_step(Timeline& timeline);

}  // namespace nd
