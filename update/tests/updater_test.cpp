#include "update/updater.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "update/messages.h"
#include "update/net.h"
#include "update/tests/fake_server.h"
#include "update/tests/test_files.h"
#include "zip/block_file.h"

namespace nd {
namespace {

using namespace nd::testing;

template <typename Pred>
bool wait_until(Pred pred, int ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::string formatted(const char* pattern, int a, int b, int c) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

// A control server that reads the hello, sends `stray` 16-bit values, then
// the version reply, and keeps reading keep-alives.
FakeServer control_server(Version offered, std::vector<uint16_t> stray,
                          std::vector<uint8_t>* hello_seen = nullptr,
                          std::atomic<int>* keepalives = nullptr) {
    return FakeServer([=](int fd) {
        uint8_t hello[2 + sizeof(HelloRecord)];
        if (!recv_all(fd, hello, sizeof hello)) return;
        if (hello_seen) hello_seen->assign(hello, hello + sizeof hello);
        std::vector<uint8_t> out;
        for (uint16_t v : stray) out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)});
        out.insert(out.end(), {0x09, 0x20});
        uint8_t body[kVersionReplySize];
        encode_version_reply(offered, 1234, body);
        out.insert(out.end(), body, body + sizeof body);
        static_cast<void>(send_all(fd, out.data(), out.size()));
        uint8_t keep[2];
        while (recv_all(fd, keep, 2))
            if (keepalives && get_u16(keep) == kMsgKeepAlive) ++*keepalives;
    });
}

// A download server that checks the request and answers with the given S
// and R, then `bytes` (which may be fewer than announced), and hangs up.
FakeServer download_server(uint32_t chunk, uint32_t remainder, std::vector<uint8_t> bytes,
                           std::string* path_seen = nullptr) {
    return FakeServer([=](int fd) {
        uint8_t head[6];
        if (!recv_all(fd, head, 6) || get_u16(head) != kMsgDownload) return;
        std::string path(get_u32(head + 2), '\0');
        if (!recv_all(fd, path.data(), path.size())) return;
        if (path_seen) *path_seen = path;
        uint8_t sizes[8];
        put_u32(sizes, chunk);
        put_u32(sizes + 4, remainder);
        static_cast<void>(send_all(fd, sizes, 8));
        static_cast<void>(send_all(fd, bytes.data(), bytes.size()));
        shutdown(fd, SHUT_RDWR);
    });
}

struct Installed {
    TempDir dir;
    std::vector<uint8_t> old_program = text_bytes("old program");
    std::atomic<int> saves{0};
    ConfigRecord saved{};

    Installed() {
        write_file(dir.file("nodrel"), old_program);
        chmod(dir.file("nodrel").c_str(), 0755);
    }
    UpdaterSetup setup(int control_port, int download_port, int product = 2) {
        UpdaterSetup s;
        s.program_dir = dir.path();
        s.servers.control = {"127.0.0.1", control_port};
        s.servers.update = {"127.0.0.1", download_port};
        s.settings.product = static_cast<uint8_t>(product);
        s.settings.profiles[2].flag = 2;
        s.settings.profiles[2].major = 1;
        s.settings.profiles[2].minor = 2;
        s.settings.profiles[2].patch = 3;
        s.save_settings = [this](const ConfigRecord& r) {
            saved = r;
            ++saves;
            return 0;
        };
        s.timing = {50, 50, 0, 5, 0, 2000, 2000};
        return s;
    }
};

// A port nothing listens on.
int closed_port() {
    int port = 0;
    const int fd = tcp_listen("127.0.0.1", 0, &port);
    close_socket(fd);
    return port;
}

TEST(Updater, InstallsAReleaseFoundAfterStrayValues) {
    Installed inst;
    std::vector<uint8_t> hello;
    std::atomic<int> keepalives{0};
    FakeServer control = control_server({1, 2, 4}, {0x1004, 0x7777, 0x0000}, &hello, &keepalives);
    // A raw 246-byte block makes a 250-byte release: 100 chunks of 2 and 50.
    std::vector<uint8_t> program(246);
    for (size_t i = 0; i < program.size(); ++i) program[i] = static_cast<uint8_t>(i * 37);
    stamp_elf_header(program);
    CCompressLZ77 codec;
    std::vector<uint8_t> release;
    EXPECT_EQ(pack_blocks(codec, program.data(), program.size(), 65536, &release), 0);
    ASSERT_EQ(release.size(), 250u);
    std::string path;
    FakeServer download = download_server(2, 50, release, &path);

    Updater updater(inst.setup(control.port(), download.port()));
    EXPECT_EQ(updater.message(), msg::kConnecting);
    ASSERT_EQ(updater.start(), 0);
    ASSERT_TRUE(wait_until([&] { return updater.worker_finished(); }));
    EXPECT_EQ(updater.state(), kUpdateFinished);
    EXPECT_EQ(updater.message(), msg::kDone);
    EXPECT_EQ(updater.progress(), 100);
    EXPECT_EQ(path, "tw/1/2.4.BIN");
    EXPECT_EQ(read_file(inst.dir.file("nodrel")), program);
    EXPECT_EQ(mode_of(inst.dir.file("nodrel")), 0755u);
    EXPECT_FALSE(exists(inst.dir.file("prev")));
    EXPECT_FALSE(exists(inst.dir.file("1.2.4.BIN")));
    ASSERT_EQ(inst.saves, 1);
    EXPECT_EQ(installed_version(inst.saved, 2), (Version{1, 2, 4}));

    ASSERT_EQ(hello.size(), 2 + sizeof(HelloRecord));
    EXPECT_EQ(get_u16(hello.data()), kMsgHello);
    EXPECT_EQ(hello[2 + 156], 2);
    EXPECT_EQ(hello[2 + 157], 2);
    EXPECT_TRUE(wait_until([&] { return keepalives >= 2; }));
}

TEST(Updater, ProgressRisesByOnePerChunk) {
    Installed inst;
    FakeServer control = control_server({1, 2, 4}, {});
    std::vector<uint8_t> program(246);
    for (size_t i = 0; i < program.size(); ++i) program[i] = static_cast<uint8_t>(i * 91 + 7);
    stamp_elf_header(program);
    CCompressLZ77 codec;
    std::vector<uint8_t> release;
    EXPECT_EQ(pack_blocks(codec, program.data(), program.size(), 65536, &release), 0);
    ASSERT_EQ(release.size(), 250u);
    FakeServer download([&](int fd) {
        uint8_t head[64];
        recv(fd, head, sizeof head, 0);
        uint8_t sizes[8];
        put_u32(sizes, 2);
        put_u32(sizes + 4, 50);
        static_cast<void>(send_all(fd, sizes, 8));
        for (int i = 0; i < 100; ++i) {
            static_cast<void>(send_all(fd, release.data() + 2 * i, 2));
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
        static_cast<void>(send_all(fd, release.data() + 200, 50));
        shutdown(fd, SHUT_RDWR);
    });
    Updater updater(inst.setup(control.port(), download.port()));
    ASSERT_EQ(updater.start(), 0);
    std::vector<int> seen;
    ASSERT_TRUE(wait_until([&] {
        const int p = updater.progress();
        if (seen.empty() || seen.back() != p) seen.push_back(p);
        return updater.worker_finished();
    }));
    EXPECT_EQ(updater.message(), msg::kDone);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);
    EXPECT_GT(seen.size(), 20u);
}

TEST(Updater, NoUpdateWhenTheOfferIsNotNewerOrOfAHigherMajor) {
    for (Version offered : {Version{1, 2, 3}, Version{1, 1, 9}, Version{2, 0, 0}}) {
        SCOPED_TRACE(version_text(offered));
        Installed inst;
        FakeServer control = control_server(offered, {});
        FakeServer download = download_server(0, 0, {});
        Updater updater(inst.setup(control.port(), download.port()));
        ASSERT_EQ(updater.start(), 0);
        ASSERT_TRUE(wait_until([&] { return updater.worker_finished(); }));
        EXPECT_EQ(updater.state(), kUpdateNone);
        EXPECT_EQ(updater.message(), formatted(msg::kNoUpdate, 1, 2, 3));
        EXPECT_EQ(download.connections(), 0);
        EXPECT_EQ(inst.saves, 0);
        EXPECT_EQ(read_file(inst.dir.file("nodrel")), inst.old_program);
    }
}

TEST(Updater, FailedDownloadsLeaveTheProgramAndSettingsAlone) {
    std::vector<uint8_t> corrupt;
    {
        CCompressLZ77 codec;
        const std::vector<uint8_t> text(3000, 'q');
        EXPECT_EQ(pack_blocks(codec, text.data(), text.size(), 65536, &corrupt), 0);
        corrupt[4] = 0x80;
    }
    const struct {
        const char* name;
        uint32_t chunk, remainder;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"missing on the server", 0, 0, {}},
        {"size above the bound", 0x7FFFFFFF, 10, {}},
        {"dropped mid-transfer", 100, 0, std::vector<uint8_t>(5000, 1)},
        {"corrupt release", 0, static_cast<uint32_t>(corrupt.size()), corrupt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Installed inst;
        FakeServer control = control_server({1, 2, 4}, {});
        FakeServer download = download_server(c.chunk, c.remainder, c.bytes);
        Updater updater(inst.setup(control.port(), download.port()));
        ::testing::internal::CaptureStderr();
        ASSERT_EQ(updater.start(), 0);
        ASSERT_TRUE(wait_until([&] { return updater.worker_finished(); }));
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(updater.state(), kUpdateApproved);
        EXPECT_EQ(updater.message(), msg::kUpdateError);
        EXPECT_EQ(read_file(inst.dir.file("nodrel")), inst.old_program);
        EXPECT_FALSE(exists(inst.dir.file("1.2.4.BIN")));
        EXPECT_EQ(inst.saves, 0);
    }
}

// A server may announce the largest release there is and send only a little
// of it: the release goes to its file as it arrives, so the updater's
// memory stays small, and the part that came is removed.
TEST(Updater, ALargeAnnouncedReleaseCostsNoMemoryAndLeavesNothingBehind) {
    Installed inst;
    FakeServer control = control_server({1, 2, 4}, {});
    const uint32_t chunk = static_cast<uint32_t>(kMaxReleaseBytes / 100);
    FakeServer download = download_server(chunk, 0, std::vector<uint8_t>(3 << 20, 7));
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    Updater updater(inst.setup(control.port(), download.port()));
    ASSERT_EQ(updater.start(), 0);
    ASSERT_TRUE(wait_until([&] { return updater.worker_finished(); }));
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_EQ(updater.message(), msg::kUpdateError);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "KiB more at the peak";
    EXPECT_FALSE(exists(inst.dir.file("1.2.4.BIN")));
    EXPECT_EQ(read_file(inst.dir.file("nodrel")), inst.old_program);
}

// A byte now and then keeps each read alive but moves the progress bar too
// slowly: the download fails at the progress deadline.
TEST(Updater, ATricklingServerFailsAtTheProgressDeadline) {
    Installed inst;
    FakeServer control = control_server({1, 2, 4}, {});
    FakeServer download([](int fd) {
        uint8_t head[64];
        recv(fd, head, sizeof head, 0);
        uint8_t sizes[8];
        put_u32(sizes, 1000);
        put_u32(sizes + 4, 0);
        static_cast<void>(send_all(fd, sizes, 8));
        const uint8_t byte = 0x55;
        for (int i = 0; i < 100 && send_all(fd, &byte, 1); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    });
    UpdaterSetup setup = inst.setup(control.port(), download.port());
    setup.timing.progress_deadline_ms = 400;
    Updater updater(setup);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(updater.start(), 0);
    ASSERT_TRUE(wait_until([&] { return updater.worker_finished(); }));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_EQ(updater.message(), msg::kUpdateError);
    EXPECT_EQ(updater.progress(), 0);
    EXPECT_FALSE(exists(inst.dir.file("1.2.4.BIN")));
    EXPECT_EQ(read_file(inst.dir.file("nodrel")), inst.old_program);
}

TEST(Updater, UnreachableUpdateServerIsANetworkError) {
    Installed inst;
    FakeServer control = control_server({1, 2, 4}, {});
    Updater updater(inst.setup(control.port(), closed_port()));
    ASSERT_EQ(updater.start(), 0);
    ASSERT_TRUE(wait_until([&] { return updater.worker_finished(); }));
    EXPECT_EQ(updater.message(), msg::kNetworkError);
    EXPECT_EQ(read_file(inst.dir.file("nodrel")), inst.old_program);
}

TEST(Updater, KeepsWaitingWhileTheControlServerIsAway) {
    Installed inst;
    Updater updater(inst.setup(closed_port(), closed_port()));
    ASSERT_EQ(updater.start(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(updater.state(), kUpdateWaiting);
    EXPECT_EQ(updater.message(), msg::kConnecting);
    EXPECT_FALSE(updater.worker_finished());
}

TEST(Updater, RefusesAProductTypeWithoutATableRow) {
    Installed inst;
    FakeServer control = control_server({1, 2, 4}, {});
    Updater updater(inst.setup(control.port(), closed_port(), 5));
    EXPECT_EQ(updater.product(), nullptr);
    EXPECT_EQ(updater.start(), -1);
    EXPECT_TRUE(updater.worker_finished());
    char expected[120];
    std::snprintf(expected, sizeof expected, msg::kUnknownProduct, 5);
    EXPECT_EQ(updater.message(), expected);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(control.connections(), 0);
}

}  // namespace
}  // namespace nd
