#include "update/version_query.h"

#include <chrono>
#include <cstring>

#include "update/net.h"

namespace nd {

namespace {

using Clock = std::chrono::steady_clock;

// Receives n bytes before `deadline`. The receive timeout is renewed with
// what is left of the time, so a server dripping stray values cannot hold
// the caller past the deadline either.
bool recv_before(int fd, void* data, size_t n, Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    set_recv_timeout(fd, static_cast<int>(left));
    return recv_all(fd, data, n);
}

}  // namespace

int ask_newest_release(const ServerAddress& control, uint8_t product_type, uint8_t product_flag,
                       const QueryTimeouts& timeouts, Version* newest) {
    const int fd = tcp_connect(control.host, control.port, timeouts.connect_ms);
    if (fd < 0) return kQueryUnreachable;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeouts.reply_ms);

    // The hello and one keep-alive, as the updater opens its connection.
    uint8_t request[2 + sizeof(HelloRecord) + 2];
    put_u16(request, kMsgHello);
    const HelloRecord hello = make_hello(product_type, product_flag);
    std::memcpy(request + 2, &hello, sizeof hello);
    put_u16(request + 2 + sizeof hello, kMsgKeepAlive);
    int status = kQueryNoReply;
    if (send_all(fd, request, sizeof request)) {
        // Other 16-bit values may come first; they are skipped.
        uint8_t code[2];
        bool ok;
        while ((ok = recv_before(fd, code, 2, deadline)) && get_u16(code) != kMsgHello) {
        }
        uint8_t body[kVersionReplySize];
        if (ok && recv_before(fd, body, sizeof body, deadline)) {
            *newest = decode_version_reply(body);
            status = kQueryOk;
        }
    }
    close_socket(fd);
    return status;
}

}  // namespace nd
