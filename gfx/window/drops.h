// Files dragged onto the window from a file manager. The window reports a
// drop as a start, one event per file and an end; the layer gathers them
// into one record that the frame loop takes from a queue, as it takes mouse
// messages.
#pragma once

#include <string>
#include <vector>

namespace gfx {

struct DropRecord {
    int x = 0;  // where the files were let go, in client coordinates
    int y = 0;
    // Absolute paths in the file system's own encoding, in the order the
    // file manager gave them; the first kClipMaxFiles (30) of a larger drop.
    std::vector<std::string> paths;
};

// Takes the oldest drop; false when none is waiting.
bool take_drop(DropRecord* out);
bool drop_pending();

// Where the window's drop events enter the layer. A drop without files
// (text dragged from a browser, say) queues nothing.
void drop_begin();
void drop_file(const char* path);
void drop_complete(int x, int y);
// Forgets queued drops and one being gathered (a window being reopened).
void reset_drops();

}  // namespace gfx
