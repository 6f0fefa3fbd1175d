#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "base/file_io.h"
#include "base/testing/file_bytes.h"
#include "base/testing/temp_dir.h"
#include "settings/settings.h"

namespace nd {
namespace {

using testing::read_all;
using testing::TempDir;
using testing::write_raw;

// Unseals a file on disk and returns the raw record bytes, so field checks
// below read offsets straight from the bytes rather than through the structs.
std::string raw_record(const std::string& path, size_t size) {
    std::string rec;
    EXPECT_EQ(unseal(read_all(path), rec, size), kUnsealOk) << path;
    return rec;
}

int32_t i32_at(const std::string& b, size_t off) {
    int32_t v;
    std::memcpy(&v, b.data() + off, 4);
    return v;
}
uint16_t u16_at(const std::string& b, size_t off) {
    uint16_t v;
    std::memcpy(&v, b.data() + off, 2);
    return v;
}

TEST(Config, MissingFileGetsDefaultsAndOurVersion) {
    TempDir dir;
    ConfigRecord cfg;
    ASSERT_EQ(load_config(dir / "config.cfg", cfg), 0);
    EXPECT_EQ(read_all(dir / "config.cfg").size(), 4376u);
    std::string b = raw_record(dir / "config.cfg", 4096);
    EXPECT_EQ(b[0], 2);
    for (int t = 0; t < 13; ++t) {
        size_t p = 1 + 300 * t;
        bool own = t == 2;
        EXPECT_EQ(b[p], own ? 2 : 0) << t;
        EXPECT_EQ(i32_at(b, p + 1), own ? 6 : 0) << t;
        EXPECT_EQ(i32_at(b, p + 5), 0) << t;
        EXPECT_EQ(i32_at(b, p + 9), own ? 0 : 1) << t;
        EXPECT_EQ(i32_at(b, p + 13), 1) << t;
        EXPECT_EQ(std::string(b.data() + p + 149, 9), std::string("\1\0\1\0\0\0\0\1\0", 9)) << t;
    }
}

TEST(Config, ReadKeepsUnknownBytesAndSavesWithFreshKey) {
    TempDir dir;
    ConfigRecord cfg;
    default_config(cfg);
    cfg.profiles[2].bytes25[10] = 0x5A;
    cfg.profiles[7].major = 3;
    ASSERT_EQ(write_config(dir / "config.cfg", cfg), 0);
    std::string before = read_all(dir / "config.cfg");
    ConfigRecord got;
    ASSERT_EQ(load_config(dir / "config.cfg", got), 0);
    EXPECT_NE(read_all(dir / "config.cfg"), before);
    EXPECT_EQ(got.profiles[2].bytes25[10], 0x5A);
    // Packed fields are read by value: a reference to one may be misaligned.
    EXPECT_EQ(uint32_t{got.profiles[7].major}, 3u);
    EXPECT_EQ(uint32_t{got.profiles[2].major}, 6u);
}

TEST(Config, DamagedFileIsKeptAsideThenReplaced) {
    TempDir dir;
    std::string junk(4400, 'x');
    write_raw(dir / "config.cfg", junk);
    ConfigRecord cfg;
    ASSERT_EQ(read_config(dir / "config.cfg", cfg), kSealedDamaged);
    ASSERT_EQ(load_config(dir / "config.cfg", cfg), 0);
    EXPECT_EQ(read_all(dir / "config.cfg.bad"), junk);
    EXPECT_EQ(cfg.product, 2);
    // A second damaged file does not overwrite the first one kept aside.
    write_raw(dir / "config.cfg", junk + "y");
    ASSERT_EQ(load_config(dir / "config.cfg", cfg), 0);
    EXPECT_EQ(read_all(dir / "config.cfg.bad"), junk);
    EXPECT_EQ(read_all(dir / "config.cfg.bad1"), junk + "y");
}

// When every name for keeping a damaged file aside is taken, the file is
// not written over: the defaults serve from memory and the call says the
// file was not written.
TEST(Config, DamagedFileThatCannotBeKeptAsideIsLeftAlone) {
    TempDir dir;
    for (const char* name : {"config.cfg", "table.cfg"}) {
        const std::string junk(4400, 'x');
        write_raw(dir / name, junk);
        for (int i = 0; i < 100; ++i) {
            write_raw(dir / (std::string(name) + ".bad" + (i ? std::to_string(i) : "")), "taken");
        }
    }
    ConfigRecord cfg;
    EXPECT_EQ(load_config(dir / "config.cfg", cfg), -1);
    EXPECT_EQ(cfg.product, 2);
    EXPECT_EQ(read_all(dir / "config.cfg"), std::string(4400, 'x'));
    RecentList list;
    EXPECT_EQ(load_recent(list, dir / "table.cfg"), -1);
    EXPECT_EQ(list.table.count, 0);
    EXPECT_EQ(read_all(dir / "table.cfg"), std::string(4400, 'x'));
}

class Recent : public ::testing::Test {
protected:
    TempDir dir;
    RecentList list;
    void SetUp() override { ASSERT_EQ(load_recent(list, dir / "table.cfg"), 0); }
    std::string wk(int i) { return dir.path() + "/w" + std::to_string(i) + ".wk"; }
};

TEST_F(Recent, MissingFileIsWrittenZeroed) {
    EXPECT_EQ(read_all(dir / "table.cfg").size(), 46360u);
    EXPECT_EQ(raw_record(dir / "table.cfg", 43604), std::string(43604, '\0'));
}

TEST_F(Recent, AddCutsNameAndTheTwentyFirstOverwritesTheLast) {
    for (int i = 0; i < 20; ++i) {
        std::string name = std::to_string(i);
        name += ".wk";
        EXPECT_EQ(add_recent(list, wk(i).c_str(), name.c_str()), i);
    }
    EXPECT_EQ(add_recent(list, wk(20).c_str(), "last.wk"), 19);
    EXPECT_EQ(list.table.count, 20);
    EXPECT_STREQ(list.table.entries[19].name, "last");
    EXPECT_STREQ(list.table.entries[19].path, wk(20).c_str());
    EXPECT_EQ(find_recent(list, wk(19).c_str()), -1);
    EXPECT_EQ(find_recent(list, wk(3).c_str()), 3);

    // Two-byte characters count once when the last three are cut.
    ASSERT_GE(add_recent(list, wk(30).c_str(), "\xb9\xa4\xd7\xf7\xc7\xf8\xc3\xfb"), 0);  // 工作区名
    EXPECT_STREQ(list.table.entries[19].name, "\xb9\xa4");
    ASSERT_GE(add_recent(list, wk(31).c_str(), "ab"), 0);
    EXPECT_STREQ(list.table.entries[19].name, "");
    EXPECT_EQ(add_recent(list, std::string(3000, 'p').c_str(), "x.wk"), -1);
}

TEST_F(Recent, MoveFifthToTopShiftsOthersAndSaves) {
    for (int i = 0; i < 6; ++i) ASSERT_GE(add_recent(list, wk(i).c_str(), "name.wk"), 0);
    ASSERT_EQ(move_recent_to_top(list, 4), 0);
    const int order[] = {4, 0, 1, 2, 3, 5};
    RecentList again;
    ASSERT_EQ(load_recent(again, dir / "table.cfg"), 0);
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(again.table.entries[i].path, wk(order[i]).c_str());
    EXPECT_EQ(move_recent_to_top(list, 6), -1);
}

TEST_F(Recent, DropMissingCompactsInOrder) {
    for (int i = 0; i < 5; ++i) {
        ASSERT_GE(add_recent(list, wk(i).c_str(), "n.wk"), 0);
        if (i != 1 && i != 3) write_raw(wk(i), "x");
    }
    EXPECT_EQ(drop_missing_recent(list), 2);
    ASSERT_EQ(list.table.count, 3);
    EXPECT_STREQ(list.table.entries[0].path, wk(0).c_str());
    EXPECT_STREQ(list.table.entries[1].path, wk(2).c_str());
    EXPECT_STREQ(list.table.entries[2].path, wk(4).c_str());
    EXPECT_EQ(list.table.entries[3].path[0], 0);
    RecentList again;
    ASSERT_EQ(load_recent(again, dir / "table.cfg"), 0);
    EXPECT_EQ(again.table.count, 3);
}

TEST(WorkspaceSettingsFile, NewRecordHasTheDefaults) {
    TempDir dir;
    WorkspaceSettings ws;
    ASSERT_EQ(load_workspace_settings(ws, dir / "a.wk", nullptr), kWkCreated);
    close_workspace_settings(ws);
    EXPECT_EQ(read_all(dir / "a.wk").size(), 2232u);
    std::string b = raw_record(dir / "a.wk", 2068);
    struct Field {
        size_t off;
        int size;
        int32_t value;
    } fields[] = {{28, 4, 0},      {32, 4, 6},    {44, 4, 0},    {48, 4, 2052},   {52, 1, 0},
                  {53, 4, -1},     {81, 1, 0},    {82, 2, 1600}, {84, 2, 900},    {87, 1, 1},
                  {246, 1, 0},     {278, 4, 77},  {282, 4, 67},  {286, 4, 77},    {290, 4, 482},
                  {294, 4, 99999}, {298, 4, 167}, {302, 2, 288}, {304, 2, 400},   {306, 2, 288},
                  {308, 2, 400},   {310, 2, 244}, {312, 2, 300}, {315, 4, 99999}, {319, 4, 67},
                  {327, 1, 1},     {328, 4, 380}, {332, 4, 67},  {336, 4, 0}};
    for (const Field& f : fields) {
        int32_t v = f.size == 4   ? i32_at(b, f.off)
                    : f.size == 2 ? u16_at(b, f.off)
                                  : static_cast<uint8_t>(b[f.off]);
        EXPECT_EQ(v, f.value) << "offset " << f.off;
    }
    EXPECT_EQ(b.substr(340), std::string(2068 - 340, '\0'));
}

TEST(WorkspaceSettingsFile, LoadCorrectsStoredValues) {
    TempDir dir;
    WorkspaceRecord rec;
    default_workspace_settings(rec);
    rec.width = 800;
    rec.height = 500;
    rec.skin = 1;
    rec.mark = 7;
    rec.bytes88[3] = 0x42;
    ASSERT_EQ(write_sealed(dir / "a.wk", &rec, sizeof rec), 0);
    WorkspaceSettings ws;
    ASSERT_EQ(load_workspace_settings(ws, dir / "a.wk", nullptr), kWkLoaded);
    EXPECT_EQ(ws.record.width, 900);
    EXPECT_EQ(ws.record.height, 600);
    EXPECT_EQ(ws.record.skin, 2);
    EXPECT_EQ(ws.record.byte327, 0);
    EXPECT_EQ(ws.record.mark, 2052);
    EXPECT_EQ(ws.record.bytes88[3], 0x42);

    ASSERT_EQ(set_workspace_password(ws, "secret"), 0);
    EXPECT_NE(ws.file, -1);
    close_workspace_settings(ws);
    EXPECT_EQ(std::string(raw_record(dir / "a.wk", 2068).data() + 246), "secret");
}

TEST(WorkspaceSettingsFile, DamagedRecordIsKeptAside) {
    TempDir dir;
    write_raw(dir / "a.wk", std::string(2232, 'z'));
    WorkspaceSettings ws;
    ASSERT_EQ(load_workspace_settings(ws, dir / "a.wk", nullptr), kWkCreated);
    EXPECT_EQ(read_all(dir / "a.wk.bad"), std::string(2232, 'z'));
    EXPECT_EQ(ws.record.width, 1600);
    close_workspace_settings(ws);
}

// A damaged record is kept under the first free ".bad" name, and the
// settings say which, so the user can be told where it went.
TEST(WorkspaceSettingsFile, DamagedRecordNamesWhereItWasKept) {
    TempDir dir;
    write_raw(dir / "a.wk.bad", "an older damaged record");
    write_raw(dir / "a.wk", std::string(2232, 'z'));
    WorkspaceSettings ws;
    ASSERT_EQ(load_workspace_settings(ws, dir / "a.wk", nullptr), kWkCreated);
    EXPECT_EQ(ws.kept_aside, dir / "a.wk.bad1");
    EXPECT_EQ(read_all(dir / "a.wk.bad1"), std::string(2232, 'z'));
    EXPECT_EQ(read_all(dir / "a.wk.bad"), "an older damaged record");
    close_workspace_settings(ws);
    ASSERT_EQ(load_workspace_settings(ws, dir / "a.wk", nullptr), kWkLoaded);
    EXPECT_EQ(ws.kept_aside, "");
    close_workspace_settings(ws);
}

// A look at the settings that writes nothing: it takes the lock like an
// opening, but a damaged record stays where it is and a missing one is not
// made.
TEST(WorkspaceSettingsFile, InspectingWritesNothing) {
    TempDir dir;
    WorkspaceSettings ws;
    std::string reason;
    EXPECT_EQ(inspect_workspace_settings(ws, dir / "none.wk", &reason), kWkFailed);
    EXPECT_FALSE(file_exists(dir / "none.wk"));

    write_raw(dir / "a.wk", std::string(2232, 'z'));
    EXPECT_EQ(inspect_workspace_settings(ws, dir / "a.wk", &reason), kWkDamaged);
    EXPECT_EQ(ws.file >= 0 && workspace_in_use(dir / "a.wk"), 1);
    close_workspace_settings(ws);
    EXPECT_EQ(read_all(dir / "a.wk"), std::string(2232, 'z'));
    EXPECT_FALSE(file_exists(dir / "a.wk.bad"));

    ASSERT_EQ(::unlink((dir / "a.wk").c_str()), 0);
    ASSERT_EQ(load_workspace_settings(ws, dir / "a.wk", nullptr), kWkCreated);
    close_workspace_settings(ws);
    EXPECT_EQ(inspect_workspace_settings(ws, dir / "a.wk", &reason), kWkLoaded);
    EXPECT_EQ(ws.record.width, 1600);
    EXPECT_EQ(workspace_in_use(dir / "a.wk"), 1);
    close_workspace_settings(ws);
}

// A ".wk" the user keeps elsewhere behind a symbolic link, readable only by
// them: saves write the real file, keep its permissions and the link, and
// the lock holds on the file the link leads to.
TEST(WorkspaceSettingsFile, SavesKeepALinkAndThePermissions) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "store").c_str(), 0700), 0);
    const std::string real = dir / "store/a.wk";
    WorkspaceSettings ws;
    ASSERT_EQ(load_workspace_settings(ws, real, nullptr), kWkCreated);
    close_workspace_settings(ws);
    ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
    ASSERT_EQ(::symlink(real.c_str(), (dir / "a.wk").c_str()), 0);

    ASSERT_EQ(load_workspace_settings(ws, dir / "a.wk", nullptr), kWkLoaded);
    ASSERT_EQ(set_workspace_password(ws, "secret"), 0);
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "a.wk").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(std::string(raw_record(real, 2068).data() + 246), "secret");
    EXPECT_EQ(workspace_in_use(dir / "a.wk"), 1);
    EXPECT_EQ(workspace_in_use(real), 1);
    close_workspace_settings(ws);
    EXPECT_EQ(workspace_in_use(real), 0);
}

// The in-use lock seen from another process, across saves that replace the
// file, and released when the workspace is closed.
TEST(WorkspaceSettingsFile, LockHoldsAgainstAnotherProcess) {
    TempDir dir;
    std::string path = dir / "a.wk";
    auto other_sees = [&](int expect_status) {
        pid_t pid = fork();
        if (pid == 0) {
            int busy = workspace_in_use(path);
            WorkspaceSettings ws;
            int r = load_workspace_settings(ws, path, nullptr);
            _exit(r == expect_status && busy == (expect_status == kWkInUse) ? 0 : 1);
        }
        int st = 0;
        waitpid(pid, &st, 0);
        return WIFEXITED(st) && WEXITSTATUS(st) == 0;
    };
    WorkspaceSettings ws;
    ASSERT_EQ(load_workspace_settings(ws, path, nullptr), kWkCreated);
    EXPECT_TRUE(other_sees(kWkInUse));
    ASSERT_EQ(save_workspace_settings(ws), 0);
    EXPECT_TRUE(other_sees(kWkInUse));
    // Opening the same file again inside this process is refused too.
    WorkspaceSettings second;
    std::string reason;
    EXPECT_EQ(load_workspace_settings(second, path, &reason), kWkInUse);
    EXPECT_FALSE(reason.empty());
    // The refused one cannot write over the holder's file either.
    std::string held = read_all(path);
    EXPECT_EQ(save_workspace_settings(second), -1);
    EXPECT_EQ(read_all(path), held);
    EXPECT_EQ(ws.file >= 0 && workspace_in_use(path), 1);
    close_workspace_settings(ws);
    EXPECT_TRUE(other_sees(kWkLoaded));
    EXPECT_EQ(workspace_in_use(path), 0);
}

}  // namespace
}  // namespace nd
