#include "weblink/fetcher.h"

#include <curl/curl.h>
#include <strings.h>

#include <cstring>

#include "weblink/address.h"
#include "weblink/title.h"

namespace nd::weblink {

namespace {

struct Download {
    std::string body;
    size_t max_bytes = 0;
    bool full = false;
    const std::atomic<bool>* stop = nullptr;
};

size_t take_bytes(char* data, size_t size, size_t count, void* user) {
    Download* d = static_cast<Download*>(user);
    size_t n = size * count;
    size_t room = d->max_bytes - d->body.size();
    if (n > room) {
        // Enough of the page: returning short ends the transfer.
        d->body.append(data, room);
        d->full = true;
        return 0;
    }
    d->body.append(data, n);
    return n;
}

int keep_going(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const Download* d = static_cast<const Download*>(user);
    return d->stop && d->stop->load() ? 1 : 0;
}

bool html_type(const char* content_type) {
    if (!content_type) return true;  // unlabelled: look for a title anyway
    return strncasecmp(content_type, "text/html", 9) == 0 ||
           strncasecmp(content_type, "application/xhtml+xml", 21) == 0;
}

void init_curl_once() {
    static const CURLcode result = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)result;
}

}  // namespace

std::string fetch_title(const std::string& address, const FetchLimits& limits,
                        const std::atomic<bool>* stop) {
    if (!web_scheme(address)) return {};
    init_curl_once();
    CURL* curl = curl_easy_init();
    if (!curl) return {};
    Download download;
    download.max_bytes = limits.max_bytes;
    download.stop = stop;
    curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
    // Only web pages, also after a redirect: no file://, ftp:// and the like.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.timeout_ms);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.timeout_ms);
    // Signals would reach the whole program; timeouts work without them.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Nodrel/6.0");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, take_bytes);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &download);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, keep_going);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &download);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    CURLcode result = curl_easy_perform(curl);
    long status = 0;
    char* content_type = nullptr;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &content_type);
    std::string title;
    // A page cut at the limit still gives the title it holds.
    bool read = result == CURLE_OK || (result == CURLE_WRITE_ERROR && download.full);
    // An error page's title ("404 Not Found") would name the link wrongly.
    if (read && status >= 200 && status < 300 && html_type(content_type)) {
        title = title_from_html(download.body, content_type ? content_type : "");
    }
    curl_easy_cleanup(curl);
    return title;
}

TitleFetcher::TitleFetcher(FetchLimits limits) : m_limits(limits) {
    init_curl_once();
}

TitleFetcher::~TitleFetcher() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

int TitleFetcher::request(const std::string& address) {
    if (!web_scheme(address)) return kNoTitle;
    std::lock_guard<std::mutex> lock(m_mutex);
    int ticket = m_next_ticket++;
    if (m_next_ticket <= 0) m_next_ticket = 1;
    m_results[ticket];
    m_queue.emplace_back(ticket, address);
    if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
    m_wake.notify_all();
    return ticket;
}

int TitleFetcher::poll(int ticket, std::string* title) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_results.find(ticket);
    if (it == m_results.end()) return kUnknownTicket;
    if (!it->second) return kTitlePending;
    int result = it->second->empty() ? kNoTitle : kTitleFound;
    if (title) *title = std::move(*it->second);
    m_results.erase(it);
    return result;
}

void TitleFetcher::cancel(int ticket) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_results.erase(ticket);
}

void TitleFetcher::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
        if (m_stop) return;
        auto [ticket, address] = std::move(m_queue.front());
        m_queue.pop_front();
        if (!m_results.count(ticket)) continue;  // cancelled while queued
        lock.unlock();
        std::string title = fetch_title(address, m_limits, &m_stop);
        lock.lock();
        auto it = m_results.find(ticket);
        if (it != m_results.end()) it->second = std::move(title);
    }
}

TitleFetcher& title_fetcher() {
    static TitleFetcher fetcher;
    return fetcher;
}

}  // namespace nd::weblink
