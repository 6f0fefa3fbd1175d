#include "update/version_query.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "update/net.h"
#include "update/tests/fake_server.h"
#include "update/tests/loopback_server.h"
#include "update/tests/test_files.h"

namespace nd {
namespace {

using Clock = std::chrono::steady_clock;

constexpr QueryTimeouts kShort{1000, 400};

ServerAddress loopback(int port) {
    return {"127.0.0.1", port};
}

long elapsed_ms(Clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

TEST(VersionQuery, AsksTheReleaseServerForTheNewestReleaseOfTheProduct) {
    testing::TempDir releases;
    testing::write_file(releases.file("tw/6/0.1.BIN"), {1, 2, 3});
    testing::write_file(releases.file("tw/6/0.3.BIN"), {1, 2, 3});
    testing::write_file(releases.file("twquill/9/0.0.BIN"), {1});
    ReleaseServer server;
    ReleaseServerOptions options;
    options.directory = releases.path();
    std::string reason;
    ASSERT_EQ(testing::start_on_loopback(server, options, &reason), 0) << reason;

    Version newest;
    ASSERT_EQ(ask_newest_release(loopback(server.control_port()), 2, 2, kShort, &newest),
              kQueryOk);
    EXPECT_EQ(newest, (Version{6, 0, 3}));
}

// The hello is the updater's, with this product's type and flag byte; a
// reply may follow stray values.
TEST(VersionQuery, SendsTheUpdatersHelloAndSkipsStrayValues) {
    HelloRecord received{};
    Version newest;
    {
        testing::FakeServer control([&](int fd) {
            uint8_t hello[2 + sizeof(HelloRecord)];
            if (!recv_all(fd, hello, sizeof hello) || get_u16(hello) != kMsgHello) return;
            std::memcpy(&received, hello + 2, sizeof received);
            uint8_t reply[4 + 2 + kVersionReplySize];
            put_u16(reply, kMsgKeepAlive);
            put_u16(reply + 2, 0x1234);
            put_u16(reply + 4, kMsgHello);
            encode_version_reply({6, 1, 7}, 99, reply + 6);
            static_cast<void>(send_all(fd, reply, sizeof reply));
            uint8_t rest[2];
            while (recv_all(fd, rest, 2)) {
            }
        });
        ASSERT_EQ(ask_newest_release(loopback(control.port()), 2, 5, kShort, &newest),
                  kQueryOk);
    }
    // The server's thread has been joined; what it received can be read.
    EXPECT_EQ(newest, (Version{6, 1, 7}));
    const HelloRecord expected = make_hello(2, 5);
    EXPECT_EQ(std::memcmp(&received, &expected, sizeof expected), 0);
}

// A missing, closing, silent or babbling server is "no answer" within the
// timeouts, and the caller's numbers stay as they were.
TEST(VersionQuery, EveryFailureEndsWithinItsTimeout) {
    testing::FakeServer closes([](int) {});
    testing::FakeServer silent([](int fd) {
        uint8_t byte;
        while (recv_all(fd, &byte, 1)) {
        }
    });
    testing::FakeServer half_reply([](int fd) {
        uint8_t reply[2 + 6];
        put_u16(reply, kMsgHello);
        static_cast<void>(send_all(fd, reply, sizeof reply));
        uint8_t byte;
        while (recv_all(fd, &byte, 1)) {
        }
    });
    // Keeps sending values that are not the reply, one every 50 ms, each well
    // inside any receive timeout.
    testing::FakeServer babbles([](int fd) {
        uint8_t stray[2];
        put_u16(stray, kMsgKeepAlive);
        while (send_all(fd, stray, 2)) usleep(50 * 1000);
    });
    int unused_port = 0;
    const int listener = tcp_listen("127.0.0.1", 0, &unused_port);
    close_socket(listener);

    struct Case {
        const char* name;
        int port;
        int status;
    };
    const Case cases[] = {
        {"nothing listens", unused_port, kQueryUnreachable},
        {"closes at once", closes.port(), kQueryNoReply},
        {"never answers", silent.port(), kQueryNoReply},
        {"stops inside the reply", half_reply.port(), kQueryNoReply},
        {"sends only stray values", babbles.port(), kQueryNoReply},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Version newest{1, 2, 3};
        const auto start = Clock::now();
        EXPECT_EQ(ask_newest_release(loopback(c.port), 2, 2, kShort, &newest), c.status);
        EXPECT_LT(elapsed_ms(start), kShort.connect_ms + kShort.reply_ms + 500);
        EXPECT_EQ(newest, (Version{1, 2, 3}));
    }
}

}  // namespace
}  // namespace nd
