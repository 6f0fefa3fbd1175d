#include <gtest/gtest.h>

#include <cstring>

#include "base/file_io.h"
#include "store/keys.h"
#include "store/paths.h"
#include "store/tests/workspace_fixture.h"

namespace nd {
namespace {

using testing::read_all;
using testing::write_raw;

RecordKey key_0905(uint16_t type) {
    RecordKey k;
    std::memset(&k, 0, sizeof k);
    k.type = type;
    k.year = 2021;
    k.month = 3;
    k.day = 3;
    k.hour = 9;
    k.minute = 5;
    k.second = 7;
    k.serial = 0x1A2B;
    return k;
}

TEST(Names, FormatsOfEveryItem) {
    const std::string r = "/w/";
    struct Case {
        uint16_t type;
        int part;
        const char* expect;
    } cases[] = {
        {101, 0, "/w/1/case/2021/03/03/09_05_07_00001A2B.case"},
        {101, 1, "/w/1/case/2021/03/03/09_05_07_00001A2B_BODY.case"},
        {110, 0, "/w/1/case/2021/03/03/09_05_07_00001A2B.case"},
        {0x8000 + 102, 1, "/w/1/case/2021/03/03/09_05_07_00001A2B_BODY.case"},
        {1, 0, "/w/0/frame/2021_03_03_090507_00001A2B"},
        {1, 1, "/w/0/frame/2021_03_03_090507_00001A2B"},  // no content part for groups
        {0x7FF1, 0, "/w/0/frame/2021/03/03/09_05_07_00001A2B.frame"},
        {0xFFF1, 0, "/w/0/frame/2021/03/03/09_05_07_00001A2B.frame"},
        {109, 0, "/w/1/img/2021/03/03/09_05_07_00001A2B.jpg"},
        {0x8000, 0, ""},
        {0, 0, ""},
        {111, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(make_path(r, c.type, key_0905(c.type), c.part), c.expect) << c.type;
    EXPECT_EQ(make_points_path(r, key_0905(101)), "/w/1/case/2021/03/03/09_05_07_00001A2B.pos");
    EXPECT_EQ(stored_image_path(key_0905(109)), "1\\img\\2021\\03\\03\\09_05_07_00001A2B.jpg");
    EXPECT_EQ(image_short_name(key_0905(109)), "00001A2B.jpg");
}

TEST(Names, WorkspaceRootFromWkPath) {
    struct Case {
        const char* wk;
        const char* root;  // null: no root
    } cases[] = {
        {"D:/a.b/c.wk", "D:/a.b/c/"}, {"/home/u/notes/Team.wk", "/home/u/notes/Team/"},
        {"/x/a.b.wk", "/x/a.b/"},     {"/x.y/noext", nullptr},
        {"noext", nullptr},
    };
    for (const Case& c : cases) {
        std::string root = "unchanged";
        EXPECT_EQ(workspace_root(c.wk, root), c.root != nullptr) << c.wk;
        if (c.root) {
            EXPECT_EQ(root, c.root) << c.wk;
        }
    }
    std::string root;
    EXPECT_FALSE(workspace_root("/" + std::string(300, 'a') + ".wk", root));
}

TEST(Names, StoredPathsMeetTheDisk) {
    EXPECT_EQ(stored_to_disk("/w/", "1\\img\\2021\\03\\03\\a.jpg"), "/w/1/img/2021/03/03/a.jpg");
    // 0x5C is also a GBK trail byte: D5 5C is one character, not a separator.
    EXPECT_EQ(stored_to_disk("/w/", "1\\\xd5\\x.jpg"), "/w/1/\xd5\\x.jpg");
    EXPECT_EQ(stored_to_disk("/w/", "..\\..\\etc\\passwd"), "");
    EXPECT_EQ(stored_to_disk("/w/", "1\\..\\..\\x"), "");
}

TEST(Keys, LastSecondOfTheYear) {
    setenv("TZ", "UTC", 1);
    tzset();
    RecordKey k = make_key_at(102, 1704067199);  // 2023-12-31 23:59:59 UTC
    EXPECT_EQ(k.type, 102);
    EXPECT_EQ(k.flag, 0);
    EXPECT_EQ(k.serial, 0);
    EXPECT_EQ(k.year, 2023);
    EXPECT_EQ(k.month, 12);
    EXPECT_EQ(k.day, 31);
    EXPECT_EQ(k.hour, 23);
    EXPECT_EQ(k.minute, 59);
    EXPECT_EQ(k.second, 59);
    // Keys compare by their clock, whatever their type.
    RecordKey other = k;
    other.type = 101;
    other.serial = 9;
    EXPECT_EQ(key_time_value(k), key_time_value(other));
    other.month = 11;
    EXPECT_NE(key_time_value(k), key_time_value(other));
    // The clock reads as the digits yyyyMMddhhmmss (the board's Ctrl list
    // keeps Cases by it).
    EXPECT_EQ(key_time_value(key_0905(101)), 20210303090507);
}

class PassFiles : public testing::WorkspaceTest {};

TEST_F(PassFiles, ReadNameRenamesPassUnlessCaseExists) {
    RecordKey k = key_0905(101);
    ASSERT_TRUE(make_dir(dir + "/ws"));
    make_dirs(root, k);
    std::string base = root + "1/case/2021/03/03/09_05_07_00001A2B";
    write_raw(base + ".pass", "old");
    std::string path;
    int renamed = -1;
    ASSERT_EQ(make_path_for_read(root, 101, &k, 0, path, renamed), 0);
    EXPECT_EQ(renamed, 1);
    EXPECT_EQ(path, base + ".case");
    EXPECT_EQ(read_all(base + ".case"), "old");
    EXPECT_FALSE(file_exists(base + ".pass"));

    // Both present: the ".case" file is read and the ".pass" one stays.
    write_raw(base + ".pass", "stale");
    ASSERT_EQ(make_path_for_read(root, 101, &k, 0, path, renamed), 0);
    EXPECT_EQ(renamed, 0);
    EXPECT_EQ(read_all(path), "old");
    EXPECT_EQ(read_all(base + ".pass"), "stale");

    EXPECT_EQ(make_path_for_read(root, 101, nullptr, 0, path, renamed), -2);
    EXPECT_EQ(make_path_for_read(root, 0x8000, &k, 0, path, renamed), -3);
}

TEST_F(PassFiles, DatedDirectoriesAreMadeLevelByLevel) {
    ASSERT_TRUE(make_dir(dir + "/ws"));
    ASSERT_TRUE(make_dir(root + "0"));
    ASSERT_TRUE(make_dir(root + "0/frame"));
    make_dirs(root, key_0905(0x7FF1));
    make_dirs(root, key_0905(109));
    make_dirs(root, key_0905(109));  // existing directories are no error
    EXPECT_TRUE(dir_exists(root + "0/frame/2021/03/03"));
    EXPECT_TRUE(dir_exists(root + "1/img/2021/03/03"));
    EXPECT_FALSE(dir_exists(root + "1/case"));
}

}  // namespace
}  // namespace nd
