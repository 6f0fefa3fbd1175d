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

// The release file as the download leaves it beside the program.
std::string downloaded(const InstallPaths& paths, const std::vector<uint8_t>& release) {
    const std::string path = release_file_path(paths.program_dir, {1, 2, 4});
    write_file(path, release);
    return path;
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
    stamp_elf_header(fresh);
    CCompressLZ77 codec;
    ASSERT_EQ(install_release(codec, f.paths, downloaded(f.paths, packed(fresh))), kInstallOk);
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
        EXPECT_EQ(install_release(codec, f.paths, downloaded(f.paths, release)), kInstallRebuild);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(read_file(f.paths.program), f.old_program);
        EXPECT_EQ(mode_of(f.paths.program), 0750u);
        EXPECT_FALSE(exists(f.dir.file("1.2.4.BIN")));
        EXPECT_FALSE(exists(f.paths.program + ".new"));
    }
}

// A release that unpacks whole but into no program for this machine (a few
// bytes of text, a script, a 32-bit or big-endian or other machine's
// program, a relocatable object) is refused and changes nothing.
TEST(InstallRelease, OnlyAProgramForThisMachineIsInstalled) {
    auto altered = [](size_t at, uint8_t value) {
        std::vector<uint8_t> p = elf_program("program");
        p[at] = value;
        return p;
    };
    const std::vector<uint8_t> header = elf_program("");
    const struct {
        const char* name;
        std::vector<uint8_t> content;
    } cases[] = {
        {"tiny", text_bytes("tiny")},
        {"a script", text_bytes("#!/bin/sh\necho new\n")},
        {"32-bit", altered(4, 1)},
        {"big-endian", altered(5, 2)},
        {"relocatable", altered(16, 1)},
        {"another machine", altered(18, 183)},
        {"a cut header", std::vector<uint8_t>(header.begin(), header.end() - 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InstallFixture f;
        CCompressLZ77 codec;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(install_release(codec, f.paths, downloaded(f.paths, packed(c.content))),
                  kInstallNotProgram);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(read_file(f.paths.program), f.old_program);
        EXPECT_EQ(mode_of(f.paths.program), 0750u);
        EXPECT_FALSE(exists(f.dir.file("1.2.4.BIN")));
        EXPECT_FALSE(exists(f.paths.program + ".new"));
    }
    std::vector<uint8_t> executable = elf_program("program");
    executable[16] = 2;
    InstallFixture f;
    CCompressLZ77 codec;
    EXPECT_EQ(install_release(codec, f.paths, downloaded(f.paths, packed(executable))), kInstallOk);
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
    ASSERT_EQ(install_release(codec, f.paths, downloaded(f.paths, packed(elf_program("new")))),
              kInstallOk);
    EXPECT_EQ(read_file(f.paths.program), elf_program("new"));
    EXPECT_EQ(unsafe_events(watch, "nodrel"), std::vector<uint32_t>{});
    close(watch);
}

TEST(InstallRelease, FirstInstallGetsAProgramMode) {
    TempDir dir;
    InstallPaths paths{dir.path(), dir.file("nodrel"), dir.file("prev")};
    CCompressLZ77 codec;
    ASSERT_EQ(install_release(codec, paths, downloaded(paths, packed(elf_program("hello")))),
              kInstallOk);
    EXPECT_EQ(read_file(paths.program), elf_program("hello"));
    EXPECT_EQ(mode_of(paths.program), 0755u);
    EXPECT_EQ(release_file_path("/opt/nd", {6, 0, 1}), "/opt/nd/6.0.1.BIN");
}

}  // namespace
}  // namespace nd
