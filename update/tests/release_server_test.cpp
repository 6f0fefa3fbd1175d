#include "update/server/release_server.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>

#include "update/net.h"
#include "update/tests/test_files.h"

namespace nd {
namespace {

using testing::TempDir;
using testing::write_file;

class ReleaseServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(dir.file("tw/1/2.4.BIN"), std::vector<uint8_t>(250, 0x41));
        write_file(dir.file("tw/1/2.10.BIN"), std::vector<uint8_t>(7, 0x42));
        write_file(dir.file("twquill/3/0.0.BIN"), {1});
        write_file(dir.file("tw/notes.txt"), {1});
        write_file(outside.file("secret"), std::vector<uint8_t>(10, 0x53));
        std::filesystem::create_symlink(outside.file("secret"), dir.file("tw/escape.BIN"));
        ReleaseServerOptions options;
        options.directory = dir.path();
        options.bind_address = "127.0.0.1";
        options.control_port = 0;
        options.download_port = 0;
        std::string reason;
        ASSERT_EQ(server.start(options, &reason), 0) << reason;
    }

    // Sends a download request and returns S, R and the bytes that follow.
    struct Reply {
        uint32_t chunk = 0, remainder = 0;
        std::vector<uint8_t> data;
        bool ok = false;
    };
    Reply download(const std::string& path) {
        Reply r;
        const int fd = tcp_connect("127.0.0.1", server.download_port(), 2000);
        if (fd < 0) return r;
        set_recv_timeout(fd, 5000);
        std::vector<uint8_t> req(6 + path.size());
        put_u16(req.data(), kMsgDownload);
        put_u32(req.data() + 2, static_cast<uint32_t>(path.size()));
        std::memcpy(req.data() + 6, path.data(), path.size());
        uint8_t sizes[8];
        if (send_all(fd, req.data(), req.size()) && recv_all(fd, sizes, 8)) {
            r.chunk = get_u32(sizes);
            r.remainder = get_u32(sizes + 4);
            r.data.resize(100ull * r.chunk + r.remainder);
            r.ok = recv_all(fd, r.data.data(), r.data.size());
        }
        close_socket(fd);
        return r;
    }

    Version hello(uint8_t product, const Version& installed = {}) {
        const int fd = tcp_connect("127.0.0.1", server.control_port(), 2000);
        set_recv_timeout(fd, 5000);
        uint8_t msg[2 + sizeof(HelloRecord) + 2];
        put_u16(msg, kMsgHello);
        // A client that states its version in the hello's first bytes.
        HelloRecord h = make_hello(product, 0);
        put_u32(h.installed, installed.major);
        put_u32(h.installed + 4, installed.minor);
        put_u32(h.installed + 8, installed.patch);
        std::memcpy(msg + 2, &h, sizeof h);
        put_u16(msg + 2 + sizeof h, kMsgKeepAlive);
        uint8_t reply[2 + kVersionReplySize] = {};
        EXPECT_TRUE(send_all(fd, msg, sizeof msg));
        EXPECT_TRUE(recv_all(fd, reply, sizeof reply));
        close_socket(fd);
        EXPECT_EQ(get_u16(reply), kMsgHello);
        return decode_version_reply(reply + 2);
    }

    TempDir dir, outside;
    ReleaseServer server;
};

TEST_F(ReleaseServerTest, AnswersHelloWithTheNewestReleaseOfTheProduct) {
    EXPECT_EQ(hello(2), (Version{1, 2, 10}));
    EXPECT_EQ(hello(1), (Version{3, 0, 0}));
    EXPECT_EQ(hello(7), (Version{0, 0, 0}));
}

TEST_F(ReleaseServerTest, ServesFilesAsChunksAndRemainder) {
    const Reply r = download("tw/1/2.4.BIN");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.chunk, 2u);
    EXPECT_EQ(r.remainder, 50u);
    EXPECT_EQ(r.data, std::vector<uint8_t>(250, 0x41));
    const Reply small = download("tw/1/2.10.BIN");
    EXPECT_EQ(small.chunk, 0u);
    EXPECT_EQ(small.remainder, 7u);
}

TEST_F(ReleaseServerTest, NeverServesMissingOrOutsidePaths) {
    for (const char* path : {"tw/1/9.9.BIN", "", "/etc/passwd", "../secret", "tw/../../secret",
                             "tw/./1/2.4.BIN", "tw//1/2.4.BIN", "tw/escape.BIN", "tw/1"}) {
        SCOPED_TRACE(path);
        const Reply r = download(path);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.chunk, 0u);
        EXPECT_EQ(r.remainder, 0u);
    }
}

TEST_F(ReleaseServerTest, SurvivesMalformedRequestsAndServesClientsAtOnce) {
    const std::vector<std::vector<uint8_t>> junk = {
        {0x10, 0x20},                          // wrong message code
        {0x10, 0x20, 0xFF, 0xFF, 0xFF, 0xFF},  // path length of 4 GiB
        {0x10},                                // cut short
        std::vector<uint8_t>(5000, 0xEE),
    };
    for (int port : {server.download_port(), server.control_port()}) {
        for (const auto& bytes : junk) {
            const int fd = tcp_connect("127.0.0.1", port, 2000);
            ASSERT_GE(fd, 0);
            static_cast<void>(send_all(fd, bytes.data(), bytes.size()));
            shutdown(fd, SHUT_WR);
            close_socket(fd);
        }
    }
    // A client that connects and says nothing does not block the others.
    const int idle = tcp_connect("127.0.0.1", server.download_port(), 2000);
    std::vector<std::thread> clients;
    std::atomic<int> good{0};
    for (int i = 0; i < 6; ++i)
        clients.emplace_back([&] {
            if (download("tw/1/2.4.BIN").data == std::vector<uint8_t>(250, 0x41)) ++good;
        });
    for (auto& t : clients) t.join();
    EXPECT_EQ(good, 6);
    EXPECT_EQ(hello(2), (Version{1, 2, 10}));
    close_socket(idle);
}

// A client is offered the newest release of its own major version, the only
// kind it installs; one that names no version gets the newest of all.
TEST_F(ReleaseServerTest, OffersEachClientTheNewestReleaseOfItsMajor) {
    write_file(dir.file("tw/2/0.1.BIN"), {1});
    struct Case {
        Version installed, offered;
    };
    // With nothing newer of its major (1.9.0) a client is told its major's
    // newest all the same, and installs nothing.
    const Case cases[] = {
        {{1, 2, 3}, {1, 2, 10}}, {{1, 9, 0}, {1, 2, 10}}, {{2, 0, 0}, {2, 0, 1}},
        {{3, 0, 0}, {0, 0, 0}},  {{0, 0, 0}, {2, 0, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hello(2, c.installed), c.offered) << version_text(c.installed);
}

// Connections beyond the cap wait in the listen queue until one ends.
TEST_F(ReleaseServerTest, AtTheCapFurtherClientsWaitUntilOneLeaves) {
    std::vector<int> idle;
    for (int i = 0; i < kMaxConnectionsPerPort; ++i) {
        idle.push_back(tcp_connect("127.0.0.1", server.control_port(), 2000));
        ASSERT_GE(idle.back(), 0);
    }
    const int fd = tcp_connect("127.0.0.1", server.control_port(), 2000);
    ASSERT_GE(fd, 0);
    uint8_t msg[2 + sizeof(HelloRecord)];
    put_u16(msg, kMsgHello);
    const HelloRecord h = make_hello(2, 0);
    std::memcpy(msg + 2, &h, sizeof h);
    ASSERT_TRUE(send_all(fd, msg, sizeof msg));
    uint8_t reply[2 + kVersionReplySize];
    set_recv_timeout(fd, 500);
    EXPECT_FALSE(recv_all(fd, reply, sizeof reply)) << "served beyond the cap";
    close_socket(idle.back());
    idle.pop_back();
    set_recv_timeout(fd, 5000);
    ASSERT_TRUE(recv_all(fd, reply, sizeof reply));
    EXPECT_EQ(decode_version_reply(reply + 2), (Version{1, 2, 10}));
    close_socket(fd);
    for (int other : idle) close_socket(other);
}

// Without --bind the server is reachable from this machine only.
TEST(ReleaseServerDefaults, ListensOnLoopbackOnly) {
    TempDir dir;
    ReleaseServerOptions options;
    options.directory = dir.path();
    options.control_port = 0;
    options.download_port = 0;
    ReleaseServer server;
    std::string reason;
    ASSERT_EQ(server.start(options, &reason), 0) << reason;
    // The kernel's table of TCP sockets: local address and port in hex,
    // state 0A for a listener.
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::vector<std::string> listeners;
    while (std::getline(table, line)) {
        char local[64] = {}, remote[64] = {}, state[8] = {};
        if (std::sscanf(line.c_str(), " %*d: %63s %63s %7s", local, remote, state) != 3) continue;
        const std::string l = local;
        for (int port : {server.control_port(), server.download_port()}) {
            char tail[8];
            std::snprintf(tail, sizeof tail, ":%04X", port);
            if (std::string(state) == "0A" && l.size() > 5 && l.substr(l.size() - 5) == tail)
                listeners.push_back(l.substr(0, l.size() - 5));
        }
    }
    EXPECT_EQ(listeners, (std::vector<std::string>{"0100007F", "0100007F"}));
}

}  // namespace
}  // namespace nd
