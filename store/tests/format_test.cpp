// Files written by the store, read back with offsets taken from the file
// formats and nothing else: a bug shared by the store's reader and writer
// cannot hide here.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/tests/workspace_fixture.h"

namespace nd {
namespace {

using testing::read_all;

uint32_t u32(const std::string& b, size_t off) {
    return uint32_t{static_cast<uint8_t>(b[off])} |
           uint32_t{static_cast<uint8_t>(b[off + 1])} << 8 |
           uint32_t{static_cast<uint8_t>(b[off + 2])} << 16 |
           uint32_t{static_cast<uint8_t>(b[off + 3])} << 24;
}
uint16_t u16(const std::string& b, size_t off) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[off]) | static_cast<uint8_t>(b[off + 1])
                                                                    << 8);
}

// "%04u/%02u/%02u/%02u_%02u_%02u_%08X" from the 16 key bytes at `off`.
std::string dated_name(const std::string& b, size_t off) {
    char buf[64];
    std::snprintf(
        buf, sizeof buf, "%04u/%02u/%02u/%02u_%02u_%02u_%08X", unsigned{u16(b, off + 10)},
        unsigned{static_cast<uint8_t>(b[off + 12])}, unsigned{static_cast<uint8_t>(b[off + 13])},
        unsigned{static_cast<uint8_t>(b[off + 14])}, unsigned{static_cast<uint8_t>(b[off + 15])},
        unsigned{static_cast<uint8_t>(b[off + 3])}, unsigned{u16(b, off + 4)});
    return buf;
}

class Format : public testing::WorkspaceTest {};

TEST_F(Format, NewWorkspaceFilesReadIndependently) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        ASSERT_EQ(create_case("T1", make_key(102), 0, 0).flag, 0);
    }
    CasePointFile pts;
    ASSERT_EQ(load_points(*find_case(0, 0, 0), pts), 0);
    clear_tables();

    std::string rootf = read_all(root + "0/frame/root.frame");
    ASSERT_EQ(rootf.size(), 4804u);
    EXPECT_EQ(u32(rootf, 0), 1u);
    EXPECT_STREQ(rootf.data() + 4, "root");
    EXPECT_EQ(u16(rootf, 3204), 1);  // group key type
    EXPECT_EQ(rootf[3204 + 2], 0);   // flag byte
    char gname[64];
    std::snprintf(
        gname, sizeof gname, "%04u_%02u_%02u_%02u%02u%02u_%08X", unsigned{u16(rootf, 3214)},
        unsigned{static_cast<uint8_t>(rootf[3216])}, unsigned{static_cast<uint8_t>(rootf[3217])},
        unsigned{static_cast<uint8_t>(rootf[3218])}, unsigned{static_cast<uint8_t>(rootf[3219])},
        unsigned{static_cast<uint8_t>(rootf[3207])}, unsigned{u16(rootf, 3208)});

    std::string group = read_all(root + "0/frame/" + gname);
    ASSERT_EQ(group.size(), 1604u);
    EXPECT_EQ(u32(group, 0), 1u);
    EXPECT_EQ(u16(group, 4), 0x7FF1);

    std::string board = read_all(root + "0/frame/" + dated_name(group, 4) + ".frame");
    ASSERT_EQ(board.size(), 24864u);
    EXPECT_EQ(u32(board, 0), 24864u);
    EXPECT_EQ(board[5], 0);
    EXPECT_EQ(u32(board, 280), 0xFFFFFFFFu);
    EXPECT_EQ(u32(board, 284), 0xFFFFFFFFu);
    EXPECT_EQ(board.substr(296, 16), group.substr(4, 16));
    EXPECT_EQ(u16(board, 312), 0x7FF1);
    EXPECT_EQ(u16(board, 312 + 4), u16(board, 296 + 4));  // same serial in the last-save key
    EXPECT_STREQ(board.data() + 328, "\xb7\xd6\xc0\xe0\x31");
    EXPECT_EQ(u32(board, 23100), 1u);
    EXPECT_EQ(u16(board, 23104), 102);
    EXPECT_EQ(u16(board, 23104 + 6), 1);  // ordinal

    std::string base = root + "1/case/" + dated_name(board, 23104);
    std::string rec = read_all(base + ".case");
    ASSERT_EQ(rec.size(), 65536u);
    EXPECT_EQ(u32(rec, 0), 65536u);
    EXPECT_EQ(rec[4], 1);
    EXPECT_EQ(u32(rec, 2628), 0xFFFFFFFFu);
    EXPECT_EQ(u32(rec, 2632), 0xFFFFFFFFu);
    EXPECT_EQ(u16(rec, 2644), 102);
    EXPECT_EQ(rec.substr(2644 + 2, 14), board.substr(23104 + 2, 14).replace(4, 2, "\0\0", 2));
    EXPECT_STREQ(rec.data() + 2676, "T1");
    EXPECT_EQ(u32(rec, 58800), 0u);

    std::string body = read_all(base + "_BODY.case");
    ASSERT_EQ(body.size(), 65536u);
    EXPECT_EQ(body.substr(0, 4), std::string("\n\n\n\0", 4));

    std::string pos = read_all(base + ".pos");
    ASSERT_EQ(pos.size(), 12004u);
    EXPECT_EQ(u32(pos, 0), 1000u);
    float p0[3];
    std::memcpy(p0, pos.data() + 4, 12);
    EXPECT_EQ(p0[0], 10.0f);
    EXPECT_EQ(p0[1], 10.0f);
    EXPECT_EQ(p0[2], 10.0f);
}

}  // namespace
}  // namespace nd
