// The real `update` program on a private X server against release servers on
// loopback: the real serve-updates, or scripted servers where a scenario
// needs one that misbehaves. Each test checks what reached the disk.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "settings/settings.h"
#include "update/config_file.h"
#include "update/net.h"
#include "update/protocol.h"
#include "update/tests/e2e_support.h"
#include "update/tests/fake_server.h"
#include "update/tests/test_files.h"
#include "zip/block_file.h"

namespace nd {
namespace {

using namespace nd::testing;

constexpr int kDriverTimeoutMs = 45000;

std::vector<uint8_t> pack(const std::vector<uint8_t>& data) {
    CCompressLZ77 codec;
    std::vector<uint8_t> out;
    EXPECT_EQ(pack_blocks(codec, data.data(), data.size(), 65536, &out), 0);
    return out;
}

std::string read_text(const std::string& path) {
    const auto bytes = read_file(path);
    return {bytes.begin(), bytes.end()};
}

// A program directory as an installation has it: the updater, the program
// `nodrel` at 1.2.3, servers.cfg pointing at loopback, and config.cfg in
// the same directory, which is also the updater's working directory.
struct Installation {
    TempDir dir;
    std::vector<uint8_t> old_program = text_bytes("#!/bin/sh\necho nodrel 1.2.3\n");

    Installation(int control_port, int download_port, uint8_t product = 2) {
        std::filesystem::copy_file(ND_UPDATE_BIN, dir.file("update"));
        chmod(dir.file("update").c_str(), 0755);
        write_file(dir.file("nodrel"), old_program);
        chmod(dir.file("nodrel").c_str(), 0755);
        std::ofstream(dir.file("servers.cfg"))
            << "# loopback test servers\ncontrol = 127.0.0.1:" << control_port
            << "\nupdate = 127.0.0.1:" << download_port << "\n";
        ConfigRecord record{};
        record.product = product;
        record.profiles[2].flag = 2;
        record.profiles[2].major = 1;
        record.profiles[2].minor = 2;
        record.profiles[2].patch = 3;
        record.profiles[2].options[0] = 1;
        EXPECT_EQ(write_config(dir.file("config.cfg"), record), 0);
    }

    int drive(const char* mode) {
        const pid_t pid =
            spawn({ND_WITH_XVFB, "--screen", "800x600x24", "bash",
                   std::string(ND_SOURCE_DIR) + "/update/tests/drive_update.sh", mode, dir.path()},
                  dir.path());
        return pid < 0 ? -1 : wait_exit(pid, kDriverTimeoutMs);
    }

    ConfigRecord config() {
        ConfigRecord record{};
        std::string reason;
        EXPECT_EQ(read_config_file(dir.file("config.cfg"), &record, &reason), kConfigOk) << reason;
        return record;
    }
    Version installed() {
        const ConfigRecord r = config();
        return {r.profiles[2].major, r.profiles[2].minor, r.profiles[2].patch};
    }
    std::string log() { return read_text(dir.file("update.log")); }
    void expect_untouched() {
        EXPECT_EQ(read_file(dir.file("nodrel")), old_program);
        EXPECT_EQ(installed(), (Version{1, 2, 3}));
        EXPECT_FALSE(exists(dir.file("prev")));
        EXPECT_FALSE(exists(dir.file("nodrel.new")));
    }
};

std::vector<uint8_t> new_program() {
    std::vector<uint8_t> p = elf_program("nodrel 1.2.4\n");
    for (int i = 0; i < 150000; ++i) p.push_back(static_cast<uint8_t>((i * 7) ^ (i >> 5)));
    return p;
}

TEST(UpdateEndToEnd, InstallsANewerReleaseFromServeUpdates) {
    TempDir releases;
    const std::vector<uint8_t> program = new_program();
    write_file(releases.file("tw/1/2.4.BIN"), pack(program));
    write_file(releases.file("tw/1/2.2.BIN"), pack(text_bytes("older")));
    ServeUpdates server(ND_TOOL_BIN, releases.path());
    ASSERT_TRUE(server.ok());
    Installation inst(server.control_port(), server.download_port());

    EXPECT_EQ(inst.drive("close-when-done"), 0) << inst.log();
    EXPECT_EQ(read_file(inst.dir.file("nodrel")), program);
    EXPECT_EQ(mode_of(inst.dir.file("nodrel")), 0755u);
    EXPECT_EQ(inst.installed(), (Version{1, 2, 4}));
    EXPECT_EQ(inst.config().profiles[2].options[0], 1);
    EXPECT_FALSE(exists(inst.dir.file("prev")));
    EXPECT_FALSE(exists(inst.dir.file("1.2.4.BIN")));
    EXPECT_NE(inst.log().find("更新已经完成！"), std::string::npos) << inst.log();
}

TEST(UpdateEndToEnd, NothingChangesWithoutANewerReleaseOfTheSameMajor) {
    TempDir releases;
    for (const char* offer : {"1.2.3", "1.1.9", "2.0.0"}) {
        SCOPED_TRACE(offer);
        ServeUpdates server(ND_TOOL_BIN, releases.path(), {"--offer", offer});
        ASSERT_TRUE(server.ok());
        Installation inst(server.control_port(), server.download_port());
        const auto config_bytes = read_file(inst.dir.file("config.cfg"));
        EXPECT_EQ(inst.drive("close-when-done"), 0) << inst.log();
        EXPECT_NE(inst.log().find("没有新版本, 当前为 1.2.3"), std::string::npos) << inst.log();
        inst.expect_untouched();
        EXPECT_EQ(read_file(inst.dir.file("config.cfg")), config_bytes);
    }
}

TEST(UpdateEndToEnd, FindsTheReplyAfterStrayValuesAndTakesA250ByteRelease) {
    FakeServer control([](int fd) {
        uint8_t hello[2 + sizeof(HelloRecord)];
        if (!recv_all(fd, hello, sizeof hello)) return;
        uint8_t reply[] = {0x04, 0x10, 0x34, 0x12, 0x00, 0x00, 0x09, 0x20, 1, 0, 0, 0,
                           2,    0,    0,    0,    4,    0,    0,    0,    0, 0, 0, 0};
        static_cast<void>(send_all(fd, reply, sizeof reply));
        uint8_t keep[2];
        while (recv_all(fd, keep, 2)) {
        }
    });
    // A raw 246-byte block: 250 bytes, sent as 100 chunks of 2 and 50.
    std::vector<uint8_t> program(246);
    for (size_t i = 0; i < program.size(); ++i) program[i] = static_cast<uint8_t>(255 - i);
    stamp_elf_header(program);
    const std::vector<uint8_t> release = pack(program);
    ASSERT_EQ(release.size(), 250u);
    FakeServer download([&](int fd) {
        uint8_t head[6];
        if (!recv_all(fd, head, 6)) return;
        std::string path(get_u32(head + 2), '\0');
        if (!recv_all(fd, path.data(), path.size()) || path != "tw/1/2.4.BIN") return;
        uint8_t sizes[8];
        put_u32(sizes, 2);
        put_u32(sizes + 4, 50);
        static_cast<void>(send_all(fd, sizes, 8));
        static_cast<void>(send_all(fd, release.data(), release.size()));
        shutdown(fd, SHUT_RDWR);
    });
    Installation inst(control.port(), download.port());
    EXPECT_EQ(inst.drive("close-when-done"), 0) << inst.log();
    EXPECT_EQ(read_file(inst.dir.file("nodrel")), program);
    EXPECT_EQ(inst.installed(), (Version{1, 2, 4}));
}

TEST(UpdateEndToEnd, BrokenTransfersAndReleasesLeaveTheOldProgram) {
    // The server hangs up a third of the way through.
    {
        FakeServer control([](int fd) {
            uint8_t hello[2 + sizeof(HelloRecord)];
            if (!recv_all(fd, hello, sizeof hello)) return;
            uint8_t reply[18] = {0x09, 0x20, 1, 0, 0, 0, 2, 0, 0, 0, 4};
            static_cast<void>(send_all(fd, reply, sizeof reply));
            uint8_t keep[2];
            while (recv_all(fd, keep, 2)) {
            }
        });
        FakeServer download([](int fd) {
            uint8_t head[64];
            recv(fd, head, sizeof head, 0);
            uint8_t sizes[8];
            put_u32(sizes, 3000);
            put_u32(sizes + 4, 0);
            static_cast<void>(send_all(fd, sizes, 8));
            const std::vector<uint8_t> part(100000, 0x55);
            static_cast<void>(send_all(fd, part.data(), part.size()));
            shutdown(fd, SHUT_RDWR);
        });
        Installation inst(control.port(), download.port());
        EXPECT_EQ(inst.drive("close-when-done"), 0) << inst.log();
        EXPECT_NE(inst.log().find("更新错误，请重试。"), std::string::npos) << inst.log();
        inst.expect_untouched();
        EXPECT_FALSE(exists(inst.dir.file("1.2.4.BIN")));
    }
    // serve-updates hands out a release whose second block is damaged.
    {
        TempDir releases;
        std::vector<uint8_t> bad = pack(new_program());
        const size_t second = 4 + (bad[2] | (bad[3] << 8));
        bad[second + 4] = 0x80;
        write_file(releases.file("tw/1/2.4.BIN"), bad);
        ServeUpdates server(ND_TOOL_BIN, releases.path());
        ASSERT_TRUE(server.ok());
        Installation inst(server.control_port(), server.download_port());
        EXPECT_EQ(inst.drive("close-when-done"), 0) << inst.log();
        EXPECT_NE(inst.log().find("Decompress error"), std::string::npos) << inst.log();
        EXPECT_NE(inst.log().find("更新错误，请重试。"), std::string::npos) << inst.log();
        inst.expect_untouched();
    }
    // A whole release of four bytes of text is no program.
    {
        TempDir releases;
        write_file(releases.file("tw/1/2.4.BIN"), pack(text_bytes("tiny")));
        ServeUpdates server(ND_TOOL_BIN, releases.path());
        ASSERT_TRUE(server.ok());
        Installation inst(server.control_port(), server.download_port());
        EXPECT_EQ(inst.drive("close-when-done"), 0) << inst.log();
        EXPECT_NE(inst.log().find("更新错误，请重试。"), std::string::npos) << inst.log();
        EXPECT_EQ(inst.log().find("更新已经完成！"), std::string::npos) << inst.log();
        inst.expect_untouched();
    }
}

// Processor time (ms) the process has used so far.
long cpu_ms_of(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int i = 3; rest >> field && i <= 15; ++i)
        if (i == 14 || i == 15) ticks += std::stol(field);
    return ticks * 1000 / sysconf(_SC_CLK_TCK);
}

// Out of descriptors, serve-updates waits before it tries to accept again
// instead of spinning on a listener that stays readable.
TEST(ServeUpdatesLimits, BacksOffWhenOutOfDescriptors) {
    TempDir releases;
    ServeUpdates server(ND_TOOL_BIN, releases.path(), {}, {"/usr/bin/prlimit", "--nofile=16"});
    ASSERT_TRUE(server.ok());
    // Silent clients hold their descriptors; the later ones find none left.
    std::vector<int> clients;
    for (int i = 0; i < 24; ++i) {
        clients.push_back(tcp_connect("127.0.0.1", server.control_port(), 2000));
        ASSERT_GE(clients.back(), 0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const long before = cpu_ms_of(server.pid());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_LT(cpu_ms_of(server.pid()) - before, 60) << "ms of processor time in a second";
    for (int fd : clients) close_socket(fd);
}

int free_port() {
    int port = 0;
    close_socket(tcp_listen("127.0.0.1", 0, &port));
    return port;
}

TEST(UpdateEndToEnd, ASecondUpdaterLeavesAtOnce) {
    // No control server: the first updater keeps its window open, retrying.
    Installation inst(free_port(), free_port());
    EXPECT_EQ(inst.drive("second-instance"), 0) << inst.log();
}

TEST(UpdateEndToEnd, AProductWithoutATableRowIsRefusedInTheWindow) {
    FakeServer control([](int) {});
    Installation inst(control.port(), free_port(), 5);
    EXPECT_EQ(inst.drive("close-when-done"), 0) << inst.log();
    EXPECT_NE(inst.log().find("不支持的产品类型 5"), std::string::npos) << inst.log();
    EXPECT_EQ(control.connections(), 0);
    EXPECT_EQ(read_file(inst.dir.file("nodrel")), inst.old_program);
}

TEST(UpdateEndToEnd, NoConfigMeansNoWindowAndExitZero) {
    Installation inst(free_port(), free_port());
    std::filesystem::remove(inst.dir.file("config.cfg"));
    // No display at all: reaching the window would fail.
    const pid_t pid = spawn({"/usr/bin/env", "-u", "DISPLAY", "./update"}, inst.dir.path());
    EXPECT_EQ(wait_exit(pid, 5000), 0);
}

}  // namespace
}  // namespace nd
