// The reply reader of the version question: a loopback server takes the
// question and answers with the input, then closes. The reader skips 16-bit
// values until the reply code and then reads the 16-byte reply, so the
// outcome is known from the input alone.
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <thread>

#include "update/net.h"
#include "update/protocol.h"
#include "update/version_query.h"
#include "tools/fuzz/entries.h"

namespace nd::fuzz {

namespace {

// The request the question sends: code, hello record, keep-alive.
constexpr size_t kRequestBytes = 2 + sizeof(HelloRecord) + 2;

// Waits of the question and of the server: generous, since a fuzzing
// machine may be busy; an answer that never ends the question shows as the
// fuzzer's own timeout.
constexpr int kWaitMs = 10000;

void serve_one(int listener, const uint8_t* data, size_t size) {
    // The question always connects; the wait is bounded all the same so a
    // failed connect ends in the status check, not in a hang.
    pollfd waiting{listener, POLLIN, 0};
    if (::poll(&waiting, 1, kWaitMs) != 1) return;
    const int fd = ::accept(listener, nullptr, nullptr);
    if (fd < 0) return;
    uint8_t request[kRequestBytes];
    if (recv_all(fd, request, sizeof request)) {
        // The reader may close as soon as it has its reply; what it does not
        // take is dropped, without a signal.
        size_t sent = 0;
        while (sent < size) {
            const ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
            if (n <= 0) break;
            sent += static_cast<size_t>(n);
        }
    }
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
}

}  // namespace

void update_reply_one(const uint8_t* data, size_t size) {
    static int port = 0;
    static const int listener = [] {
        const int fd = tcp_listen("127.0.0.1", 0, &port);
        fuzz_require(fd >= 0, "a loopback listener");
        return fd;
    }();

    // What the reader must make of the input.
    bool replied = false;
    Version expected;
    for (size_t at = 0; at + 2 <= size; at += 2) {
        if (get_u16(data + at) != kMsgHello) continue;
        if (at + 2 + kVersionReplySize <= size) {
            replied = true;
            expected = decode_version_reply(data + at + 2);
        }
        break;
    }

    std::thread server(serve_one, listener, data, size);
    Version newest{99, 99, 99};
    const int status = ask_newest_release({"127.0.0.1", port}, 2, 0, {kWaitMs, kWaitMs}, &newest);
    server.join();
    if (status != (replied ? kQueryOk : kQueryNoReply))
        std::fprintf(stderr, "fuzz: the question ended with status %d\n", status);
    fuzz_require(status == (replied ? kQueryOk : kQueryNoReply), "the reply is read as sent");
    if (replied) fuzz_require(newest == expected, "the version is the one sent");

    // The numbers an offered release is judged by.
    const Version installed{6, 0, 0};
    if (offers_update(installed, newest)) {
        fuzz_require(newest.major <= installed.major &&
                         version_number(newest) > version_number(installed),
                     "only a newer release of no higher major version is offered");
    }
    if (size >= 8) {
        const int64_t total = release_size(get_u32(data), get_u32(data + 4));
        fuzz_require(total == -1 || (total >= 0 && static_cast<uint64_t>(total) <= kMaxReleaseBytes),
                     "an announced release size is refused or within the bound");
    }
}

}  // namespace nd::fuzz
