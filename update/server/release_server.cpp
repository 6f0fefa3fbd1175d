#include "update/server/release_server.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <list>
#include <memory>

#include "update/net.h"
#include "update/products.h"

namespace nd {
namespace {

// Requests longer than this are not paths any product asks for.
constexpr uint32_t kMaxRequestPath = 1024;
// A client that says nothing for this long is dropped.
constexpr int kIdleTimeoutMs = 15000;
// After a failed accept (out of descriptors or memory) the loop waits, first
// this long and twice as long after each further failure, up to a second.
constexpr int kFirstBackoffMs = 10;
constexpr int kLongestBackoffMs = 1000;

bool parse_uint(const std::string& s, uint32_t* out) {
    if (s.empty() || s.size() > 9) return false;
    uint32_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint32_t>(c - '0');
    }
    *out = v;
    return true;
}

}  // namespace

bool newest_release(const std::string& directory, int product_type, uint32_t major, Version* out) {
    namespace fs = std::filesystem;
    std::string prefix;
    if (const ProductRow* row = find_product(product_type)) {
        prefix = row->download_format;
        prefix = prefix.substr(0, prefix.find('/'));
    }
    bool found = false;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(directory, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const fs::path rel = fs::relative(it->path(), directory, ec);
        std::vector<std::string> parts;
        for (const auto& p : rel) parts.push_back(p.string());
        if (parts.size() != 3 || (!prefix.empty() && parts[0] != prefix)) continue;
        const std::string& name = parts[2];
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".BIN") != 0) continue;
        const std::string stem = name.substr(0, name.size() - 4);
        const size_t dot = stem.find('.');
        Version v;
        if (dot == std::string::npos || !parse_uint(parts[1], &v.major) ||
            !parse_uint(stem.substr(0, dot), &v.minor) ||
            !parse_uint(stem.substr(dot + 1), &v.patch))
            continue;
        if (major != 0 && v.major != major) continue;
        if (!found || version_number(v) > version_number(*out)) *out = v;
        found = true;
    }
    return found;
}

std::string resolve_release_path(const std::string& directory, const std::string& request) {
    if (request.empty() || request[0] == '/' || request.find('\0') != std::string::npos) return "";
    for (size_t at = 0; at <= request.size();) {
        const size_t slash = std::min(request.find('/', at), request.size());
        const std::string part = request.substr(at, slash - at);
        if (part == ".." || part == "." || part.empty()) return "";
        at = slash + 1;
    }
    char root[PATH_MAX], full[PATH_MAX];
    if (!realpath(directory.c_str(), root)) return "";
    const std::string candidate = std::string(root) + "/" + request;
    if (!realpath(candidate.c_str(), full)) return "";
    const std::string base = std::string(root) + "/";
    if (std::strncmp(full, base.c_str(), base.size()) != 0) return "";
    struct stat st;
    if (stat(full, &st) != 0 || !S_ISREG(st.st_mode)) return "";
    return full;
}

ReleaseServer::~ReleaseServer() {
    stop();
}

int ReleaseServer::start(const ReleaseServerOptions& options, std::string* reason) {
    options_ = options;
    stopping_ = false;
    control_listener_ = tcp_listen(options.bind_address, options.control_port, &control_port_);
    download_listener_ = tcp_listen(options.bind_address, options.download_port, &download_port_);
    if (control_listener_ < 0 || download_listener_ < 0 || pipe(wake_pipe_) != 0) {
        if (reason)
            *reason = "cannot listen on " + options.bind_address + " ports " +
                      std::to_string(options.control_port) + " and " +
                      std::to_string(options.download_port) + ": " + std::strerror(errno);
        close_socket(control_listener_);
        close_socket(download_listener_);
        control_listener_ = download_listener_ = -1;
        return -1;
    }
    threads_.emplace_back(&ReleaseServer::accept_loop, this, control_listener_, true);
    threads_.emplace_back(&ReleaseServer::accept_loop, this, download_listener_, false);
    return 0;
}

void ReleaseServer::stop() {
    if (control_listener_ < 0) return;
    stopping_ = true;
    const char byte = 1;
    if (write(wake_pipe_[1], &byte, 1) < 0) std::perror("release server");
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (int fd : connections_) shutdown(fd, SHUT_RDWR);
    }
    // Accept loops end on the wake pipe; connection threads end once their
    // sockets are shut down. New connection threads are only added by the
    // accept loops, which are joined first.
    for (size_t i = 0; i < threads_.size(); ++i) threads_[i].join();
    threads_.clear();
    close_socket(control_listener_);
    close_socket(download_listener_);
    close(wake_pipe_[0]);
    close(wake_pipe_[1]);
    control_listener_ = download_listener_ = -1;
}

void ReleaseServer::track(int fd, bool add) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (add) {
        connections_.insert(fd);
        if (stopping_) shutdown(fd, SHUT_RDWR);
    } else {
        connections_.erase(fd);
    }
}

void ReleaseServer::accept_loop(int listener, bool control) {
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::list<Worker> workers;
    int backoff_ms = 0;  // the pause after the last failed accept, 0 after a good one
    bool pausing = false;
    while (!stopping_) {
        // Finished connection threads are joined as new clients arrive, so
        // a long-running server does not collect them.
        for (auto it = workers.begin(); it != workers.end();) {
            if (*it->done) {
                it->thread.join();
                it = workers.erase(it);
            } else {
                ++it;
            }
        }
        // At the cap, and while backing off, only the wake pipe is watched
        // (with a timeout, to look at the workers and the back-off again);
        // new clients wait in the listen queue.
        const bool full = workers.size() >= kMaxConnectionsPerPort;
        const bool listening = !full && !pausing;
        pollfd p[2] = {{wake_pipe_[0], POLLIN, 0}, {listener, POLLIN, 0}};
        const int ready = poll(p, listening ? 2 : 1, full ? 50 : pausing ? backoff_ms : -1);
        if (ready < 0 && errno != EINTR) break;
        if (stopping_ || (p[0].revents & POLLIN)) break;
        if (pausing) {
            pausing = ready != 0;
            continue;
        }
        if (!listening || !(p[1].revents & POLLIN)) continue;
        const int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            // Out of descriptors or memory the listener stays readable, and
            // retrying at once would spin; a client that went away before it
            // was accepted is simply gone.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                backoff_ms =
                    backoff_ms == 0 ? kFirstBackoffMs : std::min(2 * backoff_ms, kLongestBackoffMs);
                pausing = true;
            }
            continue;
        }
        backoff_ms = 0;
        set_recv_timeout(fd, kIdleTimeoutMs);
        track(fd, true);
        auto done = std::make_shared<std::atomic<bool>>(false);
        workers.push_back({std::thread([this, fd, control, done] {
                               if (control)
                                   serve_control(fd);
                               else
                                   serve_download(fd);
                               track(fd, false);
                               close_socket(fd);
                               *done = true;
                           }),
                           done});
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (int fd : connections_) shutdown(fd, SHUT_RDWR);
    }
    for (auto& w : workers) w.thread.join();
}

void ReleaseServer::serve_control(int fd) {
    // Keep-alives are read and dropped; every hello gets a version reply.
    // Anything else is not this protocol and ends the connection.
    for (;;) {
        uint8_t code[2];
        if (!recv_all(fd, code, 2)) return;
        const uint16_t message = get_u16(code);
        if (message == kMsgKeepAlive) continue;
        if (message != kMsgHello) return;
        HelloRecord hello;
        if (!recv_all(fd, &hello, sizeof hello)) return;
        // A client that states its version in the hello is offered its own
        // major version's newest release, the only kind it installs; the
        // format's own clients state none and are offered the newest of all.
        Version v = options_.version;
        if (!options_.fixed_version && !newest_release(options_.directory, hello.product_type,
                                                       hello_installed_version(hello).major, &v))
            v = Version{};
        uint8_t reply[2 + kVersionReplySize];
        put_u16(reply, kMsgHello);
        encode_version_reply(v, 0, reply + 2);
        if (!send_all(fd, reply, sizeof reply)) return;
    }
}

void ReleaseServer::serve_download(int fd) {
    uint8_t head[6];
    if (!recv_all(fd, head, sizeof head) || get_u16(head) != kMsgDownload) return;
    const uint32_t length = get_u32(head + 2);
    if (length > kMaxRequestPath) return;
    std::string request(length, '\0');
    if (length > 0 && !recv_all(fd, request.data(), length)) return;

    uint8_t sizes[8] = {};
    const std::string path = resolve_release_path(options_.directory, request);
    FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    struct stat st;
    if (!f || fstat(fileno(f), &st) != 0 || static_cast<uint64_t>(st.st_size) / 100 > UINT32_MAX) {
        if (f) std::fclose(f);
        // Sizes of zero tell the updater there is no such release; a client
        // that has gone is no concern of the server's.
        static_cast<void>(send_all(fd, sizes, sizeof sizes));
        return;
    }
    const uint64_t size = static_cast<uint64_t>(st.st_size);
    put_u32(sizes, static_cast<uint32_t>(size / 100));
    put_u32(sizes + 4, static_cast<uint32_t>(size % 100));
    bool ok = send_all(fd, sizes, sizeof sizes);
    uint8_t buffer[kTransferPiece];
    uint64_t sent = 0;
    while (ok && sent < size) {
        const size_t got = std::fread(buffer, 1, sizeof buffer, f);
        if (got == 0) break;
        ok = send_all(fd, buffer, got);
        sent += got;
    }
    std::fclose(f);
    // The client closes first once it has everything; wait for that so the
    // last bytes are not cut off by a reset.
    if (ok) {
        shutdown(fd, SHUT_WR);
        uint8_t drain[256];
        while (recv(fd, drain, sizeof drain, 0) > 0) {
        }
    }
}

}  // namespace nd
