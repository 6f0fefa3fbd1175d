// Fetches the titles of web pages on a worker thread, for web-link
// attachments waiting for their name. The frame loop asks and then polls;
// nothing here blocks it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace nd::weblink {

struct FetchLimits {
    long timeout_ms = 5000;                // the whole fetch, redirects included
    size_t max_bytes = size_t{256} << 10;  // of the page; a title beyond is not found
};

// poll() results.
constexpr int kTitlePending = 0;
constexpr int kTitleFound = 1;
constexpr int kNoTitle = -1;  // the caller names the link by its address
constexpr int kUnknownTicket = -2;

class TitleFetcher {
public:
    explicit TitleFetcher(FetchLimits limits = {});
    ~TitleFetcher();
    TitleFetcher(const TitleFetcher&) = delete;
    TitleFetcher& operator=(const TitleFetcher&) = delete;

    // Queues the fetch of an http or https address and returns its ticket
    // (> 0). Any other address is refused with kNoTitle and nothing is
    // fetched.
    [[nodiscard]] int request(const std::string& address);
    // kTitlePending; kTitleFound with the GBK title in `*title`; kNoTitle
    // when the page gave none (no answer in time, an error status, not
    // HTML, no title element, a redirect to another scheme); the ticket is
    // spent by the last two. kUnknownTicket for a ticket not (or no longer)
    // known.
    [[nodiscard]] int poll(int ticket, std::string* title);
    void cancel(int ticket);

private:
    void run();

    FetchLimits m_limits;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::atomic<bool> m_stop{false};
    int m_next_ticket = 1;
    std::deque<std::pair<int, std::string>> m_queue;
    // A ticket is present from request to poll; its answer once fetched
    // (an empty string: no title).
    std::map<int, std::optional<std::string>> m_results;
    std::thread m_thread;  // started by the first request
};

// The program's fetcher, with the standard limits.
TitleFetcher& title_fetcher();

// One fetch, on the calling thread: the GBK title, or empty. Stops early
// when `*stop` turns true.
std::string fetch_title(const std::string& address, const FetchLimits& limits,
                        const std::atomic<bool>* stop = nullptr);

}  // namespace nd::weblink
