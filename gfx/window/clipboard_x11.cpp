// The clipboard's thread: its own X connection, so that the frame loop never
// waits for another program. Work arrives in a queue; answers go back through
// deliver_read and the cached offer kind.
#include "gfx/window/clipboard_x11.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

#include "gfx/window/window.h"
#include "gfx/window/x11_selection.h"

namespace gfx::clip {

namespace {

// Without the XFIXES extension the owner's offer is asked again at most this
// often, when clipboard_query() is called.
constexpr uint64_t kQueryRefreshMs = 250;

std::atomic<Display*> g_clipboard_display{nullptr};
XErrorHandler g_previous_handler = nullptr;

// Errors on the clipboard's connection come from requestors and owners that
// went away mid-transfer; they are expected and ignored. Errors on other
// connections (the window's) go to the handler that was there before.
int on_x_error(Display* display, XErrorEvent* error) {
    if (display == g_clipboard_display.load()) return 0;
    return g_previous_handler ? g_previous_handler(display, error) : 0;
}

struct Job {
    enum Kind { kRead, kWriteText, kWritePicture, kQuery } kind = kRead;
    int ticket = 0;
    ClipAccept accept = ClipAccept::kAnything;
    std::string text;
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
};

class X11Clipboard : public Backend {
public:
    X11Clipboard(Display* display, int wake_fd)
        : m_wake_fd(wake_fd),
          m_selection(std::make_unique<X11Selection>(display, wake_fd, &m_stop)),
          m_watches_owner(m_selection->watches_owner()) {
        m_thread = std::thread([this] { run(); });
    }

    ~X11Clipboard() override {
        m_stop.store(true);
        wake();
        m_thread.join();
        m_selection.reset();
        g_clipboard_display.store(nullptr);
        ::close(m_wake_fd);
    }

    void read(int ticket, ClipAccept accept) override {
        Job job;
        job.kind = Job::kRead;
        job.ticket = ticket;
        job.accept = accept;
        push(std::move(job));
    }

    int query() override {
        if (!m_watches_owner && tick_ms() >= m_next_query_refresh) {
            m_next_query_refresh = tick_ms() + kQueryRefreshMs;
            Job job;
            job.kind = Job::kQuery;
            push(std::move(job));
        }
        return m_offer_kind.load();
    }

    void write_text(const std::string& gbk) override {
        Job job;
        job.kind = Job::kWriteText;
        job.text = gbk;
        push(std::move(job));
    }

    void write_picture(std::vector<uint32_t> pixels, int width, int height) override {
        Job job;
        job.kind = Job::kWritePicture;
        job.pixels = std::move(pixels);
        job.width = width;
        job.height = height;
        push(std::move(job));
    }

private:
    void wake() {
        uint64_t one = 1;
        ssize_t written = ::write(m_wake_fd, &one, sizeof(one));
        (void)written;  // a full counter has already woken the thread
    }

    void push(Job job) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        wake();
    }

    void run_job(Job& job) {
        switch (job.kind) {
            case Job::kRead:
                deliver_read(job.ticket, m_selection->read(job.accept));
                break;
            case Job::kWriteText:
                m_selection->own(text_offer(job.text));
                break;
            case Job::kWritePicture:
                // Encoding a large picture takes a while; it happens here,
                // not on the frame loop.
                m_selection->own(picture_offer(job.pixels, job.width, job.height));
                break;
            case Job::kQuery:
                m_offer_kind.store(m_selection->classify_offer());
                break;
        }
    }

    void run() {
        while (!m_stop.load()) {
            m_selection->dispatch_pending();
            std::deque<Job> jobs;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                jobs.swap(m_jobs);
            }
            for (Job& job : jobs) {
                if (m_stop.load()) break;
                run_job(job);
            }
            if (m_selection->take_offer_changed()) {
                m_offer_kind.store(m_selection->classify_offer());
            }
            if (!jobs.empty()) continue;
            m_selection->expire_transfers();
            m_selection->wait_idle(m_selection->transfers_running() ? 250 : 1000);
        }
    }

    int m_wake_fd;
    std::atomic<bool> m_stop{false};
    std::unique_ptr<X11Selection> m_selection;  // used by the thread only
    bool m_watches_owner;
    std::atomic<int> m_offer_kind{kClipNothing};
    uint64_t m_next_query_refresh = 0;  // frame loop only

    std::mutex m_mutex;
    std::deque<Job> m_jobs;
    std::thread m_thread;
};

}  // namespace

std::unique_ptr<Backend> open_x11_backend() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    int wake_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_fd < 0) {
        XCloseDisplay(display);
        return nullptr;
    }
    static bool handler_installed = false;
    if (!handler_installed) {
        handler_installed = true;
        g_previous_handler = XSetErrorHandler(on_x_error);
    }
    g_clipboard_display.store(display);
    return std::make_unique<X11Clipboard>(display, wake_fd);
}

}  // namespace gfx::clip
