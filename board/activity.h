// The frame rate each gesture asks for, by activity index, from one of two
// rows: the second while "高性能模式" is on. A gesture's request holds until
// the gesture ends.
#pragma once

#include <array>
#include <cstddef>

namespace nd {

struct MainViewState;
using MainView = MainViewState;

enum Activity : int {
    kActivityWindowMove = 1,
    kActivityWindowResize = 2,
    kActivityPan = 3,
    kActivityWheel = 4,
    kActivityDrag = 5,  // a card or a panel
    kActivityMenu = 9,
};

inline constexpr std::array<int, 11> kActivityFps = {60, 180, 60, 30, 30, 30, 30, 30, 30, 30, 30};
inline constexpr std::array<int, 11> kActivityFpsHigh = {60, 180, 60, 60, 60, 60, 60, 60, 60, 60, 60};

constexpr int activity_fps(int activity, bool high_performance) {
    const auto& row = high_performance ? kActivityFpsHigh : kActivityFps;
    return activity >= 0 && activity < int(row.size()) ? row[std::size_t(activity)] : row[0];
}

// Asks the frame loop for the activity's rate until end_activity.
void request_activity(MainView& view, int activity);
void end_activity(MainView& view);

}  // namespace nd
