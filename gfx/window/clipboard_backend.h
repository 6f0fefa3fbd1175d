// The clipboard's platform side behind clipboard.h: the X11 selection, or the
// in-process clipboard of headless tests. Internal to the window layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/window/clipboard.h"

namespace gfx::clip {

class Backend {
public:
    virtual ~Backend() = default;
    // Starts a read whose answer goes to deliver_read(ticket, ...), from any
    // thread, once.
    virtual void read(int ticket, ClipAccept accept) = 0;
    virtual int query() = 0;
    virtual void write_text(const std::string& gbk) = 0;
    virtual void write_picture(std::vector<uint32_t> pixels, int width, int height) = 0;
};

// Hands a read's answer to the poller (clipboard.cpp). An answer for a
// cancelled ticket is dropped.
void deliver_read(int ticket, ClipboardContent content);

}  // namespace gfx::clip
