#include "update/install.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "update/tests/test_files.h"
#include "zip/block_file.h"

namespace nd {
namespace {

using namespace nd::testing;

std::vector<uint8_t> packed(const std::vector<uint8_t>& data) {
    CCompressLZ77 codec;
    std::vector<uint8_t> out;
    EXPECT_EQ(pack_blocks(codec, data.data(), data.size(), 65536, &out), 0);
    return out;
}

struct InstallFixture {
    TempDir dir;
    InstallPaths paths{dir.path(), dir.file("nodrel"), dir.file("prev")};
    std::vector<uint8_t> old_program = text_bytes("#!/bin/sh\necho old\n");
    InstallFixture() {
        write_file(paths.program, old_program);
        chmod(paths.program.c_str(), 0750);
        write_file(paths.backup, text_bytes("stale backup"));
    }
};

TEST(InstallRelease, ReplacesTheProgramKeepingItsModeAndLeavesNoExtraFiles) {
    InstallFixture f;
    std::vector<uint8_t> fresh;
    for (int i = 0; i < 100000; ++i) fresh.push_back(static_cast<uint8_t>("new program "[i % 12]));
    CCompressLZ77 codec;
    ASSERT_EQ(install_release(codec, f.paths, {1, 2, 4}, packed(fresh)), kInstallOk);
    EXPECT_EQ(read_file(f.paths.program), fresh);
    EXPECT_EQ(mode_of(f.paths.program), 0750u);
    EXPECT_FALSE(exists(f.paths.backup));
    EXPECT_FALSE(exists(f.dir.file("1.2.4.BIN")));
    EXPECT_FALSE(exists(f.paths.program + ".new"));
}

TEST(InstallRelease, DamagedReleasesLeaveTheOldProgramInPlace) {
    std::vector<uint8_t> corrupt = packed(std::vector<uint8_t>(5000, 'a'));
    corrupt[4] = 0x80;  // the first token copies from an empty window
    std::vector<uint8_t> cut = packed(std::vector<uint8_t>(70000, 'b'));
    cut.resize(cut.size() - 3);
    for (const auto& release : {corrupt, cut}) {
        InstallFixture f;
        CCompressLZ77 codec;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(install_release(codec, f.paths, {1, 2, 4}, release), kInstallRebuild);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(read_file(f.paths.program), f.old_program);
        EXPECT_EQ(mode_of(f.paths.program), 0750u);
        EXPECT_FALSE(exists(f.dir.file("1.2.4.BIN")));
        EXPECT_FALSE(exists(f.paths.program + ".new"));
    }
}

// Everything that happened to the name `name` in a watched directory, other
// than a whole file being moved onto it. Any such event means that for a
// moment the name stood for no program, or for a partly written one.
std::vector<uint32_t> unsafe_events(int watch_fd, const std::string& name) {
    std::vector<uint32_t> found;
    alignas(inotify_event) char buffer[16384];
    ssize_t got;
    while ((got = read(watch_fd, buffer, sizeof buffer)) > 0) {
        for (char* at = buffer; at < buffer + got;) {
            const auto* e = reinterpret_cast<const inotify_event*>(at);
            if (e->len > 0 && name == e->name && !(e->mask & IN_MOVED_TO)) found.push_back(e->mask);
            at += sizeof(inotify_event) + e->len;
        }
    }
    return found;
}

TEST(InstallRelease, TheProgramNameAlwaysStandsForAWholeProgram) {
    InstallFixture f;
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, f.dir.path().c_str(),
                                IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY),
              0);
    CCompressLZ77 codec;
    ASSERT_EQ(install_release(codec, f.paths, {1, 2, 4}, packed(text_bytes("new program"))),
              kInstallOk);
    EXPECT_EQ(read_file(f.paths.program), text_bytes("new program"));
    EXPECT_EQ(unsafe_events(watch, "nodrel"), std::vector<uint32_t>{});
    close(watch);
}

TEST(InstallRelease, FirstInstallGetsAProgramMode) {
    TempDir dir;
    InstallPaths paths{dir.path(), dir.file("nodrel"), dir.file("prev")};
    CCompressLZ77 codec;
    ASSERT_EQ(install_release(codec, paths, {6, 0, 1}, packed(text_bytes("hello"))), kInstallOk);
    EXPECT_EQ(read_file(paths.program), text_bytes("hello"));
    EXPECT_EQ(mode_of(paths.program), 0755u);
    EXPECT_EQ(release_file_path("/opt/nd", {6, 0, 1}), "/opt/nd/6.0.1.BIN");
}

}  // namespace
}  // namespace nd
