// Title fetches against a small HTTP server on the loopback interface that
// the test runs itself: a titled page, a server that never answers, a
// redirect to another scheme, pages larger than the read limit.
#include "weblink/fetcher.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace nd::weblink {
namespace {

uint64_t now_ms() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

// Serves one request per connection, each on its own thread, by path.
class TinyHttpServer {
public:
    TinyHttpServer() {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        socklen_t length = sizeof(address);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        listen(m_listener, 16);
        m_accepter = std::thread([this] { accept_loop(); });
    }

    ~TinyHttpServer() {
        m_stop.store(true);
        m_accepter.join();
        for (std::thread& t : m_connections) t.join();
        close(m_listener);
    }

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }
    int port() const { return m_port; }
    int requests() const { return m_requests.load(); }
    int connections() const { return m_accepted.load(); }
    // A response that could not be sent whole: the client stopped reading.
    bool cut_short() const { return m_cut_short.load(); }

private:
    bool stopping() const { return m_stop.load(); }

    void accept_loop() {
        while (!stopping()) {
            pollfd fd{m_listener, POLLIN, 0};
            if (poll(&fd, 1, 50) <= 0) continue;
            int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            ++m_accepted;
            m_connections.emplace_back([this, client] {
                serve(client);
                close(client);
            });
        }
    }

    // Sends everything unless the client goes away.
    bool send_all(int fd, const std::string& data) {
        size_t done = 0;
        while (done < data.size() && !stopping()) {
            pollfd p{fd, POLLOUT, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            ssize_t n = send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
            if (n <= 0) {
                m_cut_short.store(true);
                return false;
            }
            done += static_cast<size_t>(n);
        }
        return done == data.size();
    }

    void respond(int fd, const std::string& status, const std::string& headers,
                 const std::string& body) {
        send_all(fd, "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
                         "\r\n" + headers + "Connection: close\r\n\r\n" + body);
    }

    // A body of `total` bytes with `text` at byte `at`, sent in pieces.
    void respond_large(int fd, size_t total, size_t at, const std::string& text) {
        std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                           std::to_string(total) + "\r\nConnection: close\r\n\r\n";
        if (!send_all(fd, head)) return;
        std::string filler(64 << 10, ' ');
        for (size_t sent = 0; sent < total;) {
            std::string piece = filler.substr(0, std::min(filler.size(), total - sent));
            if (at >= sent && at < sent + piece.size()) {
                piece.replace(at - sent, text.size(), text);
                piece.resize(std::min(piece.size(), total - sent));
            }
            if (!send_all(fd, piece)) return;
            sent += piece.size();
        }
    }

    void serve(int fd) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && !stopping()) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            ssize_t n = recv(fd, buffer, sizeof(buffer), 0);
            if (n <= 0) return;
            request.append(buffer, static_cast<size_t>(n));
        }
        ++m_requests;
        size_t start = request.find(' ') + 1;
        std::string path = request.substr(start, request.find(' ', start) - start);
        const std::string html = "Content-Type: text/html; charset=utf-8\r\n";
        if (path == "/title") {
            respond(fd, "200 OK", html,
                    "<html><head><title>Hello &amp; \xE4\xB8\xAD\xE6\x96\x87</title></head>");
        } else if (path == "/gbk") {
            respond(fd, "200 OK", "Content-Type: text/html; charset=GBK\r\n",
                    "<title>\xB2\xE2\xCA\xD4\xD2\xB3</title>");
        } else if (path == "/moved") {
            respond(fd, "301 Moved Permanently", "Location: /title\r\n", "");
        } else if (path == "/to-ftp") {
            respond(fd, "302 Found",
                    "Location: ftp://127.0.0.1:" + std::to_string(m_port) + "/title\r\n", "");
        } else if (path == "/missing") {
            respond(fd, "404 Not Found", html, "<title>404 Not Found</title>");
        } else if (path == "/picture") {
            respond(fd, "200 OK", "Content-Type: image/png\r\n", "<title>not html</title>");
        } else if (path == "/late-title") {
            respond_large(fd, size_t{32} << 20, size_t{300} << 10, "<title>Late</title>");
        } else if (path == "/early-title") {
            respond_large(fd, size_t{32} << 20, 100, "<title>Early</title>");
        } else if (path == "/silent") {
            // Holds the connection and never answers.
            while (!stopping()) {
                pollfd p{fd, POLLIN, 0};
                poll(&p, 1, 50);
            }
        }
    }

    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::atomic<int> m_accepted{0};
    std::atomic<bool> m_cut_short{false};
    std::thread m_accepter;
    std::vector<std::thread> m_connections;  // accepter thread only, joined at the end
};

class Fetcher : public ::testing::Test {
protected:
    void SetUp() override {
        // A proxy named in the environment would take the loopback requests.
        for (const char* name :
             {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
            unsetenv(name);
        }
    }

    // Waits for the answer of `ticket`; `*waited` gets the time taken.
    static int answer(TitleFetcher& fetcher, int ticket, std::string* title,
                      uint64_t* waited = nullptr) {
        uint64_t start = now_ms();
        int result = kTitlePending;
        while ((result = fetcher.poll(ticket, title)) == kTitlePending &&
               now_ms() - start < 20000) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (waited) *waited = now_ms() - start;
        return result;
    }

    TinyHttpServer m_server;
};

TEST_F(Fetcher, TitlesOfPagesAndTheirFailures) {
    struct Case {
        const char* path;
        int result;
        std::string title;
    };
    const Case cases[] = {
        {"/title", kTitleFound, "Hello & \xD6\xD0\xCE\xC4"},
        {"/gbk", kTitleFound, "\xB2\xE2\xCA\xD4\xD2\xB3"},
        {"/moved", kTitleFound, "Hello & \xD6\xD0\xCE\xC4"},  // http to http is followed
        {"/missing", kNoTitle, ""},
        {"/picture", kNoTitle, ""},
        {"/late-title", kNoTitle, ""},  // beyond the 256 KiB read
        {"/early-title", kTitleFound, "Early"},
    };
    TitleFetcher fetcher;
    for (const Case& c : cases) {
        int ticket = fetcher.request(m_server.url(c.path));
        ASSERT_GT(ticket, 0);
        std::string title;
        EXPECT_EQ(answer(fetcher, ticket, &title), c.result) << c.path;
        if (c.result == kTitleFound) {
            EXPECT_EQ(title, c.title) << c.path;
        }
        EXPECT_EQ(fetcher.poll(ticket, &title), kUnknownTicket) << c.path;
    }
    // The 32 MiB pages were not read to their end.
    EXPECT_TRUE(m_server.cut_short());
}

TEST_F(Fetcher, RedirectToAnotherSchemeIsRefused) {
    TitleFetcher fetcher;
    std::string title;
    EXPECT_EQ(answer(fetcher, fetcher.request(m_server.url("/to-ftp")), &title), kNoTitle);
    // Following it would have opened a second connection to this server.
    EXPECT_EQ(m_server.connections(), 1);
    EXPECT_EQ(fetcher.request("ftp://127.0.0.1:" + std::to_string(m_server.port()) + "/title"),
              kNoTitle);
    EXPECT_EQ(fetcher.request("file:///etc/hostname"), kNoTitle);
    EXPECT_EQ(m_server.connections(), 1);
}

TEST_F(Fetcher, ASilentServerEndsInNoTitleAtTheTimeout) {
    TitleFetcher fetcher(FetchLimits{800, size_t{256} << 10});
    int ticket = fetcher.request(m_server.url("/silent"));
    // Requests queue behind it and are answered after it.
    int next = fetcher.request(m_server.url("/title"));
    std::string title;
    EXPECT_EQ(fetcher.poll(ticket, &title), kTitlePending);
    uint64_t waited = 0;
    EXPECT_EQ(answer(fetcher, ticket, &title, &waited), kNoTitle);
    EXPECT_GE(waited, 700u);
    EXPECT_LT(waited, 3000u);
    EXPECT_EQ(answer(fetcher, next, &title), kTitleFound);
}

TEST_F(Fetcher, StoppingAbandonsAFetchUnderWay) {
    uint64_t stopped = 0;
    {
        TitleFetcher fetcher;  // 5 s timeout
        int ticket = fetcher.request(m_server.url("/silent"));
        uint64_t start = now_ms();
        while (m_server.requests() == 0 && now_ms() - start < 5000) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ASSERT_EQ(m_server.requests(), 1);
        fetcher.cancel(ticket);
        std::string title;
        EXPECT_EQ(fetcher.poll(ticket, &title), kUnknownTicket);
        stopped = now_ms();
    }
    // The transfer checks for the stop at least once a second.
    EXPECT_LT(now_ms() - stopped, 2000u);
}

}  // namespace
}  // namespace nd::weblink
