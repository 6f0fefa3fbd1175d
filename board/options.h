// The board's option switches, one byte each in the program's own profile
// of "config.cfg", read where they take effect so that a switch works at
// once.
#pragma once

#include "session/workspace.h"
#include "settings/settings.h"

namespace nd {

enum BoardOption : int {
    kOptionGrid = 0,             // "网格"
    kOptionHighPerformance = 2,  // "高性能模式"
    kOptionGlobalAxes = 3,       // "全局坐标"
    kOptionQuickNote = 4,        // "快速建立便签"
    kOptionColourFrame = 7,      // "颜色框模式"
    kOptionRemaining = 8,        // "剩余显示"
};

inline bool option_on(BoardOption option) {
    return program_config().profiles[kProductCode].options[option] != 0;
}

}  // namespace nd
