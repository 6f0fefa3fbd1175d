// One board of a workspace as a JSON Canvas 1.0 file, so that other
// whiteboard tools can open it.
#pragma once

#include <string>

namespace tool {

// Writes `<out>/<board_dir>.canvas` for board (group, board) of the loaded
// tables, and copies the board's pictures to `<out>/<board_dir>/pictures/`.
// Returns "" on success, else what failed.
std::string write_board_canvas(const std::string& root, const std::string& out,
                               const std::string& board_dir, int group, int board);

}  // namespace tool
