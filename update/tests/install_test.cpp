#include "update/install.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "update/tests/test_files.h"
#include "zip/block_file.h"

namespace nd {
namespace {

using namespace nd::testing;

std::vector<uint8_t> packed(const std::vector<uint8_t>& data) {
    CCompressLZ77 codec;
    std::vector<uint8_t> out;
    pack_blocks(codec, data.data(), data.size(), 65536, &out);
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
