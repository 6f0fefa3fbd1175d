// The clipboard calls: which clipboard serves them, and the tickets of reads
// under way. Called from the frame loop; answers arrive from the clipboard's
// own thread.
#include "gfx/window/clipboard.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "gfx/window/clipboard_backend.h"
#include "gfx/window/clipboard_fake.h"
#include "gfx/window/clipboard_offer.h"
#include "gfx/window/clipboard_x11.h"
#include "gfx/window/window_state.h"

namespace gfx {

namespace {

// The in-process clipboard of headless windows.
class FakeClipboard : public clip::Backend {
public:
    void read(int ticket, ClipAccept accept) override {
        clip::OwnedOffer offer = snapshot();
        clip::deliver_read(ticket, clip::read_offer(clip::offer_of(offer), accept));
    }
    int query() override { return clip::classify_targets(snapshot().targets()); }
    void write_text(const std::string& gbk) override { set(clip::text_offer(gbk)); }
    void write_picture(std::vector<uint32_t> pixels, int width, int height) override {
        set(clip::picture_offer(pixels, width, height));
    }

    void set(clip::OwnedOffer offer) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_offer = std::move(offer);
    }
    clip::OwnedOffer snapshot() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_offer;
    }

private:
    std::mutex m_mutex;
    clip::OwnedOffer m_offer;
};

FakeClipboard& fake() {
    static FakeClipboard clipboard;
    return clipboard;
}

struct Clipboard {
    bool chosen = false;
    std::unique_ptr<clip::Backend> x11;
    clip::Backend* backend = nullptr;  // nullptr: unavailable

    std::mutex mutex;  // guards the fields below
    int next_ticket = 1;
    // A ticket is present from request to poll; its answer once delivered.
    std::map<int, std::optional<ClipboardContent>> reads;

    // The clipboard's thread may be delivering an answer at exit; it is
    // stopped before the tickets it delivers to go away.
    ~Clipboard() { x11.reset(); }
};

Clipboard& clipboard() {
    static Clipboard state;
    return state;
}

// Chooses on first use: the in-process clipboard for a window forced
// headless, else the X11 selection when a display can be opened, else none.
clip::Backend* backend() {
    Clipboard& c = clipboard();
    if (!c.chosen) {
        c.chosen = true;
        if (window_state().force_headless) {
            c.backend = &fake();
        } else {
            c.x11 = clip::open_x11_backend();
            c.backend = c.x11.get();
        }
    }
    return c.backend;
}

}  // namespace

namespace clip {

void deliver_read(int ticket, ClipboardContent content) {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> lock(c.mutex);
    auto it = c.reads.find(ticket);
    if (it != c.reads.end()) it->second = std::move(content);
}

}  // namespace clip

bool clipboard_available() {
    return backend() != nullptr;
}

int clipboard_request(ClipAccept accept) {
    clip::Backend* b = backend();
    if (!b) return kClipUnavailable;
    Clipboard& c = clipboard();
    int ticket = 0;
    {
        std::lock_guard<std::mutex> lock(c.mutex);
        ticket = c.next_ticket++;
        if (c.next_ticket <= 0) c.next_ticket = 1;
        c.reads[ticket];
    }
    b->read(ticket, accept);
    return ticket;
}

int clipboard_poll(int ticket, ClipboardContent* out) {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> lock(c.mutex);
    auto it = c.reads.find(ticket);
    if (it == c.reads.end()) return -1;
    if (!it->second) return 0;
    if (out) *out = std::move(*it->second);
    c.reads.erase(it);
    return 1;
}

void clipboard_cancel(int ticket) {
    Clipboard& c = clipboard();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.reads.erase(ticket);
}

int clipboard_query() {
    clip::Backend* b = backend();
    return b ? b->query() : kClipUnavailable;
}

int clipboard_write_text(const char* gbk, size_t length) {
    clip::Backend* b = backend();
    if (!b) return kClipUnavailable;
    b->write_text(std::string(gbk ? gbk : "", gbk ? length : 0));
    return 0;
}

int clipboard_write_image(const IMAGE* image) {
    clip::Backend* b = backend();
    if (!b) return kClipUnavailable;
    if (!image) return kPictureError;
    if (image->mark != kImageMark) fatal_bad_image(image, "clipboard_write_image");
    b->write_picture(image->pixels, image->width, image->height);
    return 0;
}

void fake_clipboard_offer(ClipEntries entries) {
    clip::OwnedOffer offer;
    offer.entries = std::move(entries);
    fake().set(std::move(offer));
}

ClipEntries fake_clipboard_contents() {
    return fake().snapshot().entries;
}

void clipboard_reset() {
    Clipboard& c = clipboard();
    c.x11.reset();
    c.backend = nullptr;
    c.chosen = false;
    std::lock_guard<std::mutex> lock(c.mutex);
    c.reads.clear();
}

}  // namespace gfx
