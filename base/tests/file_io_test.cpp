// Crash-safe replaces: what a replace keeps of the file it replaces, and the
// copies kept aside from damaged files.
#include "base/file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "base/testing/file_bytes.h"
#include "base/testing/temp_dir.h"

namespace nd {
namespace {

using testing::read_all;
using testing::TempDir;

mode_t mode_of(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

// A replace keeps the permissions the user gave the file; a new file gets
// the usual ones.
TEST(Replace, KeepsTheModeOfTheFileItReplaces) {
    TempDir dir;
    const std::string path = dir / "private";
    ASSERT_EQ(write_file_atomic(path, "one", 3), kIoOk);
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    for (const std::string patch : {"two", "xyz"}) {
        ASSERT_EQ(write_file_atomic(path, patch.data(), patch.size()), kIoOk);
        EXPECT_EQ(mode_of(path) & 07777, 0600u);
    }
    const FilePatch p{0, "P", 1};
    ASSERT_EQ(patch_file_atomic(path, &p, 1), kIoOk);
    EXPECT_EQ(mode_of(path) & 07777, 0600u);
    EXPECT_EQ(read_all(path), "Pyz");

    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(write_file_atomic(path, "again", 5), kIoOk);
    EXPECT_EQ(mode_of(path) & 07777, 0640u);
}

// A replace of a symbolic link writes the file the link points at (through a
// chain of links, relative or absolute) and leaves every link as it was.
TEST(Replace, GoesThroughSymbolicLinks) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "real").c_str(), 0777), 0);
    const std::string target = dir / "real/data";
    ASSERT_EQ(write_file_atomic(target, "old", 3), kIoOk);
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    ASSERT_EQ(::symlink("real/data", (dir / "near").c_str()), 0);  // relative
    ASSERT_EQ(::symlink((dir / "near").c_str(), (dir / "far").c_str()), 0);

    ASSERT_EQ(write_file_atomic(dir / "far", "new", 3), kIoOk);
    EXPECT_TRUE(S_ISLNK(mode_of(dir / "far")));
    EXPECT_TRUE(S_ISLNK(mode_of(dir / "near")));
    EXPECT_EQ(read_all(target), "new");
    EXPECT_EQ(mode_of(target) & 07777, 0600u);
    EXPECT_EQ(replace_target(dir / "far"), target);

    // A link whose file does not exist yet makes that file.
    ASSERT_EQ(::symlink("real/later", (dir / "dangling").c_str()), 0);
    ASSERT_EQ(write_file_atomic(dir / "dangling", "made", 4), kIoOk);
    EXPECT_TRUE(S_ISLNK(mode_of(dir / "dangling")));
    EXPECT_EQ(read_all(dir / "real/later"), "made");

    // A loop of links is no file to write.
    ASSERT_EQ(::symlink("loop_b", (dir / "loop_a").c_str()), 0);
    ASSERT_EQ(::symlink("loop_a", (dir / "loop_b").c_str()), 0);
    EXPECT_EQ(write_file_atomic(dir / "loop_a", "x", 1), kIoFailed);
    EXPECT_TRUE(S_ISLNK(mode_of(dir / "loop_a")));
}

// A copy kept aside never replaces an earlier one: each goes to the first
// free ".bad" name, and the name is told.
TEST(KeepCopyAside, TakesTheFirstFreeName) {
    TempDir dir;
    const std::string path = dir / "board.frame";
    std::string kept;
    ASSERT_EQ(keep_copy_aside(path, "first", 5, &kept), kIoOk);
    EXPECT_EQ(kept, path + ".bad");
    ASSERT_EQ(keep_copy_aside(path, "second", 6, &kept), kIoOk);
    EXPECT_EQ(kept, path + ".bad1");
    EXPECT_EQ(read_all(path + ".bad"), "first");
    EXPECT_EQ(read_all(path + ".bad1"), "second");
    EXPECT_FALSE(file_exists(path));
}

TEST(ReadPrefix, TellsHowMuchAShortFileHeld) {
    TempDir dir;
    ASSERT_EQ(write_file_atomic(dir / "short", "abc", 3), kIoOk);
    char buf[8] = {};
    size_t got = 99;
    EXPECT_EQ(read_file_prefix(dir / "short", buf, sizeof buf, &got), kIoShort);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(std::string(buf, 3), "abc");
    EXPECT_EQ(read_file_prefix(dir / "none", buf, sizeof buf, &got), kIoMissing);
    EXPECT_EQ(got, 0u);
}

TEST(TempNames, OnlyTheNamesOfReplacesAreTemporary) {
    struct Case {
        const char* name;
        bool temp;
    } cases[] = {{"a.case.tmp123_4", true},  {"a.wk.tmp77", true},   {"a.case", false},
                 {"a.tmp", false},           {"a.tmpx1_2", false},   {"a.case.tmp12_", false},
                 {"x.tmp1_2.case", false},   {".tmp5_6", false}};
    for (const Case& c : cases) EXPECT_EQ(is_temp_name(c.name), c.temp) << c.name;
}

}  // namespace
}  // namespace nd
