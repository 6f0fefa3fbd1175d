#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>

#include "base/file_io.h"
#include "base/gbk.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tests/workspace_fixture.h"

namespace nd {
namespace {

using testing::read_all;
using testing::snapshot;
using testing::write_raw;
using testing::WriteLimit;

class Workspace : public testing::WorkspaceTest {
protected:
    int reopen(RepairNotes* notes = nullptr) {
        clear_tables();
        EXPECT_EQ(repair_workspace(notes), 0);
        return load_workspace();
    }
    LocationRef new_case(const char* title, int g = 0, int b = 0) {
        std::lock_guard<std::mutex> hold(StorageLock);
        return create_case(title, make_key(kAttrFragment), g, b);
    }
    std::vector<uint16_t> ordinals(int g, int b) {
        const Board* bd = find_board(g, b);
        std::vector<uint16_t> v;
        for (uint32_t i = 0; i < bd->case_count; ++i) v.push_back(bd->cases[i].ordinal);
        return v;
    }
};

TEST_F(Workspace, NewWorkspaceThenSecondOpenAddsTheDefaultGroups) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    EXPECT_EQ(Tables.groups.count, 1u);
    EXPECT_STREQ(Tables.groups.names[0], "root");
    ASSERT_NE(find_board(0, 0), nullptr);
    EXPECT_EQ(gbk_to_utf8(find_board(0, 0)->name), "分类1");
    for (const char* d : {"0/frame", "1/case", "1/img"}) EXPECT_TRUE(dir_exists(root + d)) << d;
    EXPECT_EQ(LoadProgress.load(), 100.0f);

    ASSERT_EQ(reopen(), kLoadOk);
    ASSERT_EQ(Tables.groups.count, 3u);
    EXPECT_EQ(gbk_to_utf8(Tables.groups.names[1]), "任务");
    EXPECT_EQ(gbk_to_utf8(Tables.groups.names[2]), "检查表");
    EXPECT_EQ(gbk_to_utf8(find_board(1, 0)->name), "我的任务");
    EXPECT_EQ(gbk_to_utf8(find_board(2, 0)->name), "我的检查表");

    ASSERT_EQ(reopen(), kLoadOk);
    EXPECT_EQ(Tables.groups.count, 3u);
    EXPECT_EQ(gbk_to_utf8(find_board(2, 0)->name), "我的检查表");
}

TEST_F(Workspace, GroupRefusals) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    EXPECT_EQ(add_group("root"), -3);
    EXPECT_EQ(add_group(""), -2);
    EXPECT_EQ(add_group("abcdefghijklmnopqrstu"), -2);  // 21 bytes
    for (int i = 1; i < 20; ++i) {
        std::string name = std::to_string(i);
        EXPECT_EQ(add_group(name.c_str()), i);
    }
    EXPECT_EQ(add_group("one more"), -1);
    ASSERT_EQ(reopen(), kLoadOk);
    EXPECT_EQ(Tables.groups.count, 20u);
}

TEST_F(Workspace, DeletedBoardSlotIsReusedAndFilesStay) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    EXPECT_EQ(delete_board(0, 0), -2);  // the only board of the first group
    ASSERT_EQ(add_board("b1", nullptr, 0, -1).board, 1);
    ASSERT_EQ(add_board("b2", nullptr, 0, -1).board, 2);
    std::string b1 = board_path(0, 1);
    EXPECT_EQ(delete_board(0, 1), 0);
    EXPECT_EQ(delete_board(0, 1), -3);
    EXPECT_TRUE(file_exists(b1));
    EXPECT_EQ(add_board("over", nullptr, 0, 2).flag, -1);  // slot 2 holds a board
    LocationRef again = add_board("b3", nullptr, 0, -1);
    EXPECT_EQ(again.flag, 0);
    EXPECT_EQ(again.board, 1);
    // A rename owns only the first 32 bytes of the 64-byte name field.
    find_board(0, 2)->name[40] = 'Z';
    ASSERT_EQ(rename_board("renamed", 0, 2), 0);
    ASSERT_EQ(reopen(), kLoadOk);
    EXPECT_STREQ(find_board(0, 1)->name, "b3");
    EXPECT_STREQ(find_board(0, 2)->name, "renamed");
    EXPECT_EQ(find_board(0, 2)->name[40], 'Z');
}

// A board placed past the end leaves the skipped slots deleted on disk, so
// the workspace loads as it is and the next board fills the first of them.
TEST_F(Workspace, BoardPlacedPastTheEndLeavesDeletedSlots) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    ASSERT_EQ(add_board("far", nullptr, 0, 4).board, 4);
    clear_tables();
    ASSERT_EQ(load_workspace(), kLoadOk);
    const GroupFile& img = Tables.group_boards[0]->image;
    EXPECT_EQ(img.count, 5u);
    for (int b = 1; b < 4; ++b) EXPECT_EQ(img.keys[b].type, kTypeDeleted) << b;
    EXPECT_STREQ(find_board(0, 4)->name, "far");
    EXPECT_EQ(add_board("next", nullptr, 0, -1).board, 1);
}

TEST_F(Workspace, FullGroupRefusesABoard) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    for (int i = 1; i < 80; ++i) ASSERT_EQ(add_board("b", nullptr, 0, -1).flag, 0) << i;
    EXPECT_EQ(add_board("b", nullptr, 0, -1).flag, -3);
}

TEST_F(Workspace, CasesKeepTheirContentAcrossSaveAndLoad) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    LocationRef at = new_case("first");
    ASSERT_EQ(at.flag, 0);
    EXPECT_EQ(read_all(case_path(0, 0, 0, 1)).substr(0, 4), std::string("\n\n\n\0", 4));
    CaseRecord* rec = find_case(0, 0, 0);
    rec->x = 120;
    rec->y = -40;
    rec->form = 0x8002;  // run-time bits above bit 1 do not survive a load
    rec->bytes630[5] = 0x77;
    std::strcpy(find_case_body(0, 0, 0)->text, "hello\n\n\n");
    ASSERT_EQ(save_case(2, 0, 0, 0), 0);
    ASSERT_EQ(reopen(), kLoadOk);
    rec = find_case(0, 0, 0);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(load_label(), "first");  // the last item the loader showed
    EXPECT_EQ(LoadProgress.load(), 100.0f);
    EXPECT_STREQ(rec->title, "first");
    EXPECT_EQ(rec->x, 120);
    EXPECT_EQ(rec->y, -40);
    EXPECT_EQ(rec->form, 2);
    EXPECT_EQ(rec->bytes630[5], 0x77);
    EXPECT_STREQ(find_case_body(0, 0, 0)->text, "hello\n\n\n");
}

TEST_F(Workspace, FullBoardRefusesACaseWithoutTouchingAnyFile) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    for (int i = 0; i < 80; ++i) ASSERT_EQ(new_case("c").flag, 0) << i;
    std::string before = snapshot(root);
    EXPECT_EQ(new_case("one too many").flag, -1);
    EXPECT_EQ(snapshot(root), before);
    EXPECT_EQ(find_board(0, 0)->case_count, 80u);
}

TEST_F(Workspace, DeletingTheSecondOfThreeLeavesOrdinalsOneTwo) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    for (const char* t : {"a", "b", "c"}) ASSERT_EQ(new_case(t).flag, 0);
    EXPECT_EQ(ordinals(0, 0), (std::vector<uint16_t>{1, 2, 3}));
    std::string b_file = case_path(0, 0, 1);
    ASSERT_EQ(delete_case(0, 0, 1), 0);
    EXPECT_EQ(ordinals(0, 0), (std::vector<uint16_t>{1, 2}));
    EXPECT_STREQ(find_case(0, 0, 1)->title, "c");
    EXPECT_EQ(find_case(0, 0, 2), nullptr);
    EXPECT_TRUE(file_exists(b_file));
    ASSERT_EQ(reopen(), kLoadOk);
    EXPECT_EQ(ordinals(0, 0), (std::vector<uint16_t>{1, 2}));
    EXPECT_STREQ(find_case(0, 0, 1)->title, "c");
}

TEST_F(Workspace, DuplicateOrdinalsAreRenumberedAndSaved) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    for (const char* t : {"a", "b", "c"}) ASSERT_EQ(new_case(t).flag, 0);
    Board* b = find_board(0, 0);
    b->cases[1].ordinal = 1;
    ASSERT_EQ(save_board(0, 0), 0);
    ASSERT_EQ(reopen(), kLoadOk);
    EXPECT_EQ(ordinals(0, 0), (std::vector<uint16_t>{1, 2, 3}));
    std::string file = read_all(board_path(0, 0));
    EXPECT_EQ(file[23104 + 16 + 6], 2);
}

TEST_F(Workspace, RepairDropsMissingCasesAndBoards) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    ASSERT_EQ(add_board("second", nullptr, 0, -1).flag, 0);
    for (const char* t : {"a", "b", "c"}) ASSERT_EQ(new_case(t).flag, 0);
    ASSERT_EQ(new_case("x", 0, 1).flag, 0);
    std::string gone_case = case_path(0, 0, 1);
    std::string pass_case = case_path(0, 0, 2);
    std::string gone_board = board_path(0, 1);
    ASSERT_EQ(std::rename(pass_case.c_str(),
                          (pass_case.substr(0, pass_case.size() - 5) + ".pass").c_str()),
              0);
    std::remove(gone_case.c_str());
    std::remove(gone_board.c_str());

    RepairNotes notes;
    ASSERT_EQ(reopen(&notes), kLoadOk);
    EXPECT_EQ(notes.size(), 3u);
    EXPECT_EQ(find_board(0, 0)->case_count, 2u);
    EXPECT_STREQ(find_case(0, 0, 0)->title, "a");
    EXPECT_STREQ(find_case(0, 0, 1)->title, "c");
    EXPECT_EQ(ordinals(0, 0), (std::vector<uint16_t>{1, 2}));
    EXPECT_TRUE(file_exists(pass_case));
    EXPECT_EQ(find_board(0, 1), nullptr);
    EXPECT_EQ(Tables.group_boards[0]->image.keys[1].type, kTypeDeleted);
}

// A damaged count in root.frame, a group file or a board is cut to what the
// table holds: the workspace opens with every group, board and Case.
TEST_F(Workspace, RepairCutsDamagedCountsInsteadOfDroppingAnything) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    ASSERT_EQ(reopen(), kLoadOk);  // the default groups now exist
    ASSERT_EQ(add_board("second", nullptr, 0, -1).flag, 0);
    for (const char* t : {"a", "b"}) ASSERT_EQ(new_case(t, 0, 1).flag, 0);
    const std::string files[] = {root + "0/frame/root.frame",
                                 make_path(root, kTypeGroup, Tables.groups.keys[0], 0),
                                 board_path(0, 1)};
    const size_t offsets[] = {0, 0, 23100};
    for (int i = 0; i < 3; ++i) {
        std::string before = read_all(files[i]);
        std::string bytes = before;
        const uint32_t damaged = 0x10000;
        std::memcpy(&bytes[offsets[i]], &damaged, 4);
        write_raw(files[i], bytes);

        ASSERT_EQ(reopen(), kLoadOk) << files[i];
        EXPECT_EQ(read_all(files[i]), before) << files[i];
        EXPECT_EQ(Tables.groups.count, 3u);
        EXPECT_EQ(Tables.group_boards[0]->image.count, 2u);
        ASSERT_NE(find_board(0, 1), nullptr) << files[i];
        EXPECT_EQ(find_board(0, 1)->case_count, 2u);
        EXPECT_STREQ(find_case(0, 1, 1)->title, "b");
    }
}

// A repair whose write fails says so instead of what it would have done, and
// leaves the disk as it was; the same damage is repaired once writes work.
TEST_F(Workspace, RepairReportsARepairOnlyOnceItsWriteSucceeded) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    ASSERT_EQ(reopen(), kLoadOk);  // the default groups now exist
    for (const char* t : {"a", "b"}) ASSERT_EQ(new_case(t).flag, 0);
    const std::string rf = root + "0/frame/root.frame";
    std::string bytes = read_all(rf);
    const uint32_t damaged = 0x10000;
    std::memcpy(&bytes[0], &damaged, 4);
    write_raw(rf, bytes);
    std::remove(case_path(0, 0, 0, 1).c_str());  // a's content
    std::remove(case_path(0, 0, 1).c_str());     // b's record
    clear_tables();
    const std::string before = snapshot(dir);

    RepairNotes notes;
    {
        WriteLimit limit(1024);  // every file the repairs write is larger
        EXPECT_EQ(repair_workspace(&notes), kRepairUnwritten);
    }
    EXPECT_EQ(snapshot(dir), before);
    ASSERT_EQ(notes.size(), 3u);
    for (const RepairNote& n : notes) {
        EXPECT_EQ(n.outcome, RepairNote::kFailed);
        EXPECT_NE(n.line().find("; not repaired, the write failed: "), std::string::npos)
            << n.line();
        for (const char* claim : {"cut to", "made empty", "entry removed"}) {
            EXPECT_EQ(n.line().find(claim), std::string::npos) << n.line();
        }
        EXPECT_NE(gbk_to_utf8(n.message_gbk).find("无法修复：写入失败"), std::string::npos);
    }

    notes.clear();
    EXPECT_EQ(repair_workspace(&notes), kRepairDone);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].line(), "root.frame: group count past the table, cut to 3");
    EXPECT_EQ(gbk_to_utf8(notes[0].message_gbk), "分组表的计数超出范围，已修正。");
    EXPECT_NE(notes[1].line().find("missing, made empty"), std::string::npos) << notes[1].line();
    EXPECT_NE(notes[2].line().find("missing, entry removed"), std::string::npos) << notes[2].line();
    EXPECT_EQ(gbk_to_utf8(notes[2].message_gbk),
              "白板「分类1」中一个 Case的文件丢失，已从白板中移除。");
    EXPECT_EQ(load_workspace(), kLoadOk);
}

// The only board of the first group is made again empty when its file is
// damaged; every damaged file is kept aside, none is overwritten.
TEST_F(Workspace, DamagedFirstBoardIsKeptAsideEveryTime) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    std::string bp = board_path(0, 0);
    for (const char* damage : {"first damage", "second damage"}) {
        write_raw(bp, damage);
        ASSERT_EQ(reopen(), kLoadOk);
        EXPECT_EQ(find_board(0, 0)->case_count, 0u);
    }
    EXPECT_EQ(read_all(bp + ".bad"), "first damage");
    EXPECT_EQ(read_all(bp + ".bad1"), "second damage");
}

TEST_F(Workspace, FailedLoadNamesTheFileAndWritesNothing) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    ASSERT_EQ(reopen(), kLoadOk);  // the default groups now exist
    for (const char* t : {"a", "b"}) ASSERT_EQ(new_case(t).flag, 0);
    // Work the loader would write back: a duplicate ordinal and an overdue Case.
    find_board(0, 0)->cases[1].ordinal = 1;
    ASSERT_EQ(save_board(0, 0), 0);
    CaseRecord* r = find_case(0, 0, 0);
    r->due_date = 20000101;
    r->overdue_status = 2;
    ASSERT_EQ(save_case(0, 0, 0, 0), 0);
    std::string body = case_path(0, 0, 1, 1);
    std::string board = board_path(0, 0);

    // A content file that cannot be read (a folder in its place), a missing
    // one, and a board file that is short when no repair pass ran first.
    std::remove(body.c_str());
    ASSERT_TRUE(make_dir(body));
    std::string before = snapshot(root);
    clear_tables();
    EXPECT_EQ(load_workspace(), kLoadNoCaseBody);
    LoadFailure f = last_load_failure();
    EXPECT_EQ(f.code, kLoadNoCaseBody);
    EXPECT_NE(f.detail.find(body), std::string::npos);
    EXPECT_EQ(gbk_to_utf8(f.message_gbk), "无法打开 Case 内容文件。");
    EXPECT_EQ(snapshot(root), before);

    ASSERT_EQ(::rmdir(body.c_str()), 0);
    clear_tables();
    EXPECT_EQ(load_workspace(), kLoadNoCaseBody);
    EXPECT_EQ(gbk_to_utf8(last_load_failure().message_gbk), "无法打开 Case 内容文件。");

    write_raw(board, read_all(board).substr(0, 1000));
    before = snapshot(root);
    clear_tables();
    EXPECT_EQ(load_workspace(), kLoadNoBoard);
    EXPECT_EQ(gbk_to_utf8(last_load_failure().message_gbk), "白板文件已损坏。");
    EXPECT_EQ(snapshot(root), before);
}

TEST(Attachments, FirstFreeSlot) {
    CaseRecord r;
    std::memset(&r, 0, sizeof r);
    EXPECT_EQ(first_free_attachment(r), 0);
    for (Attachment& a : r.attachments) a.kind = kAttachFile;
    EXPECT_EQ(first_free_attachment(r), -1);  // a 101st attachment has no slot
    r.attachments[57].kind = kAttachFree;
    EXPECT_EQ(first_free_attachment(r), 57);
}

TEST(OverdueRule, Cases) {
    struct Case {
        int32_t due, changed, overdue, colour, today;
        int expect_colour;
    } cases[] = {
        {20240101, 20231215, 2, 1, 20240102, 2},   // overdue: recoloured
        {20240101, 20231215, 2, 1, 20240101, 1},   // due today: not yet
        {0, 20231215, 2, 1, 20990101, 1},          // no due date: never
        {20240101, 20240106, 2, 1, 20240106, 1},   // colour changed today
        {20240101, 20231215, -1, 1, 20240102, 1},  // rule switched off
        {20240101, 20231215, 6, 1, 20240102, 2},   // taken mod 4
        {20240101, 20231215, 3, 3, 20240102, 3},   // already that colour
    };
    for (const Case& c : cases) {
        CaseRecord r;
        std::memset(&r, 0, sizeof r);
        r.due_date = c.due;
        r.colour_date = c.changed;
        r.overdue_status = c.overdue;
        r.colour = static_cast<uint8_t>(c.colour);
        bool changed = overdue_rule(r, c.today);
        EXPECT_EQ(r.colour, c.expect_colour) << c.due << " " << c.today;
        EXPECT_EQ(changed, c.expect_colour != c.colour);
    }
}

TEST_F(Workspace, OverdueCaseIsRewrittenAtLoad) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    ASSERT_EQ(new_case("late").flag, 0);
    CaseRecord* r = find_case(0, 0, 0);
    r->due_date = 20240101;
    r->colour_date = 20231215;
    r->overdue_status = 2;
    r->colour = 1;
    ASSERT_EQ(save_case(0, 0, 0, 0), 0);
    ASSERT_EQ(reopen(), kLoadOk);
    EXPECT_EQ(find_case(0, 0, 0)->colour, 2);
    EXPECT_EQ(read_all(case_path(0, 0, 0))[5], 2);
}

TEST_F(Workspace, LinksAreCheckedAtLoad) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    for (const char* t : {"src", "a", "b"}) ASSERT_EQ(new_case(t).flag, 0);
    CaseRecord* src = find_case(0, 0, 0);
    RecordKey a = find_case(0, 0, 1)->key;
    RecordKey b = find_case(0, 0, 2)->key;
    // Three links: to "a" at its slot, to "b" at a stale slot, and to a Case
    // that exists nowhere.
    RecordKey ghost = a;
    ghost.year = 1999;
    src->link_count = 3;
    src->link_keys[0] = a;
    src->link_locations[0] = {0, 0, 0, 1};
    src->link_keys[1] = b;
    src->link_locations[1] = {0, 0, 0, 7};
    src->link_keys[2] = ghost;
    src->link_locations[2] = {0, 0, 0, 1};
    src->link_extra[2][0] = 9;
    ASSERT_EQ(save_case(0, 0, 0, 0), 0);
    ASSERT_EQ(reopen(), kLoadOk);
    src = find_case(0, 0, 0);
    ASSERT_EQ(src->link_count, 2u);
    EXPECT_TRUE(same_item(src->link_keys[0], a));
    EXPECT_TRUE(same_item(src->link_keys[1], b));
    EXPECT_EQ(src->link_locations[1].slot, 2);
    EXPECT_EQ(src->link_extra[2][0], 0);
    std::string file = read_all(case_path(0, 0, 0));
    EXPECT_EQ(file[58800], 2);
}

// A damaged link count does not keep the workspace from opening: it is cut
// to the table, the junk links are dropped and the Case is written back.
TEST_F(Workspace, DamagedLinkCountIsCutAtLoad) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    ASSERT_EQ(new_case("damaged").flag, 0);
    std::string cp = case_path(0, 0, 0);
    std::string bytes = read_all(cp);
    const uint32_t damaged = 1000;
    std::memcpy(&bytes[58800], &damaged, 4);
    write_raw(cp, bytes);

    ASSERT_EQ(reopen(), kLoadOk) << last_load_failure().detail;
    EXPECT_STREQ(find_case(0, 0, 0)->title, "damaged");
    EXPECT_EQ(find_case(0, 0, 0)->link_count, 0u);
    uint32_t on_disk;
    std::memcpy(&on_disk, read_all(cp).data() + 58800, 4);
    EXPECT_EQ(on_disk, 0u);
}

TEST_F(Workspace, PointFileIsMadeOnce) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    ASSERT_EQ(new_case("p").flag, 0);
    CasePointFile pts;
    ASSERT_EQ(load_points(*find_case(0, 0, 0), pts), 0);
    std::string path = make_points_path(root, find_case(0, 0, 0)->key);
    std::string bytes = read_all(path);
    ASSERT_EQ(bytes.size(), 12004u);
    EXPECT_EQ(pts.count, 1000u);
    EXPECT_EQ(pts.points[0].x, 10.0f);
    EXPECT_EQ(pts.points[0].z, 10.0f);
    for (const CasePoint& p : pts.points) {
        EXPECT_LE(std::abs(p.x - 10), 105 + 90);
        EXPECT_LE(std::abs(p.z - 10), 125 + 70);
    }
    CasePointFile again;
    ASSERT_EQ(load_points(*find_case(0, 0, 0), again), 0);
    EXPECT_EQ(std::memcmp(&pts, &again, sizeof pts), 0);
    remove_points(*find_case(0, 0, 0));
    EXPECT_FALSE(file_exists(path));
}

TEST_F(Workspace, ItemsMadeInOneSecondGetDistinctFiles) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    RecordKey k = make_key(kAttrFragment);
    std::set<std::string> names;
    for (int i = 0; i < 40; ++i) {
        std::lock_guard<std::mutex> hold(StorageLock);
        seed_random(777);  // the generator would give the same serial every time
        ASSERT_EQ(create_case("same", k, 0, 0).flag, 0);
        names.insert(case_path(0, 0, i));
    }
    EXPECT_EQ(names.size(), 40u);
}

}  // namespace
}  // namespace nd
