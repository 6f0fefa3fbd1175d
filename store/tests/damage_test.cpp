// Damaged workspaces that still open: short files, keys that disagree with
// the lists that name them, half-made workspaces and half-added groups.
// Every test damages the files the way a crash or a full disk does and then
// opens the workspace as the program does (repair pass, then load).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

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
using testing::write_raw;
using testing::WriteLimit;

class Damage : public testing::WorkspaceTest {
protected:
    // A settled workspace (the default groups made) with a second board in
    // the first group holding the Cases "a", "b" and "c".
    void SetUp() override {
        testing::WorkspaceTest::SetUp();
        ASSERT_EQ(load_workspace(), kLoadNew);
        ASSERT_EQ(open(), kLoadOk);
        ASSERT_EQ(add_board("second", nullptr, 0, -1).board, 1);
        for (const char* t : {"a", "b", "c"}) {
            std::lock_guard<std::mutex> hold(StorageLock);
            ASSERT_EQ(create_case(t, make_key(kAttrPerson), 0, 1).flag, 0);
        }
        for (int s = 0; s < 3; ++s) {
            std::snprintf(find_case_body(0, 1, s)->text, 64, "content of %c\n", 'a' + s);
            ASSERT_EQ(save_case(2, 0, 1, s), 0);
            files[s] = read_all(case_path(0, 1, s)) + read_all(case_path(0, 1, s, 1));
        }
    }
    // Opens the workspace as the program does.
    int open(RepairNotes* notes = nullptr) {
        clear_tables();
        EXPECT_EQ(repair_workspace(notes), kRepairDone);
        return load_workspace(notes);
    }
    void cut(const std::string& path, size_t size) {
        std::string bytes = read_all(path);
        ASSERT_LT(size, bytes.size()) << path;
        write_raw(path, bytes.substr(0, size));
    }
    // The board of group `g` named `name`, or -1.
    int board_named(int g, const std::string& name_utf8) {
        for (int b = 0; b < kBoardSlots; ++b) {
            const Board* bd = find_board(g, b);
            if (bd && gbk_to_utf8(field_text(bd->name, sizeof bd->name)) == name_utf8) return b;
        }
        return -1;
    }
    std::string files[3];  // record and content of "a", "b", "c" as saved
};

// A short record or content file is kept aside and read for what it holds;
// the workspace opens with every Case.
TEST_F(Damage, ShortCaseFilesAreKeptAsideAndReadForWhatTheyHold) {
    const std::string a = case_path(0, 1, 0), b_body = case_path(0, 1, 1, 1);
    const std::string c = case_path(0, 1, 2);
    const RecordKey c_key = find_case(0, 1, 2)->key;
    cut(a, 3000);                          // past the title
    write_raw(b_body, "half a sentence");  // a content cut mid-way
    cut(c, 100);                           // the key and the title are gone

    RepairNotes notes;
    ASSERT_EQ(open(&notes), kLoadOk) << last_load_failure().detail;
    std::vector<std::string> told;
    for (const std::string& m : damage_messages(notes)) told.push_back(gbk_to_utf8(m));
    ASSERT_EQ(told.size(), 4u);  // c's key is mended as well as its length
    EXPECT_EQ(told[0], "Case「a」的文件不完整，已按可读的部分修复，原文件保存为 " + a + ".bad。");
    EXPECT_EQ(told[1],
              "Case「b」的内容文件不完整，已按可读的部分修复，原文件保存为 " + b_body + ".bad。");
    EXPECT_EQ(told[2], "Case的文件不完整，已按可读的部分修复，原文件保存为 " + c + ".bad。");
    EXPECT_EQ(told[3], "Case的标识与列表不符，已修正。");
    ASSERT_EQ(find_board(0, 1)->case_count, 3u);
    EXPECT_STREQ(find_case(0, 1, 0)->title, "a");
    EXPECT_STREQ(find_case_body(0, 1, 0)->text, "content of a\n");
    EXPECT_STREQ(find_case_body(0, 1, 1)->text, "half a sentence");
    EXPECT_STREQ(find_case(0, 1, 2)->title, "");
    EXPECT_TRUE(same_item(find_case(0, 1, 2)->key, c_key));

    // Each damaged file is kept as it was and made whole in place.
    EXPECT_TRUE(read_all(a + ".bad") == files[0].substr(0, 3000));
    EXPECT_EQ(read_all(b_body + ".bad"), "half a sentence");
    EXPECT_TRUE(read_all(c + ".bad") == files[2].substr(0, 100));
    for (const std::string& p : {a, b_body, c}) EXPECT_EQ(read_all(p).size(), 65536u) << p;
    EXPECT_EQ(read_all(b_body).substr(0, 16), std::string("half a sentence\0", 16));

    // The next opening finds nothing more to do.
    ASSERT_EQ(open(), kLoadOk);
    EXPECT_FALSE(file_exists(a + ".bad1"));
    EXPECT_STREQ(find_case_body(0, 1, 1)->text, "half a sentence");
}

// A short board is remade from what is readable, never deleted: it keeps its
// slot, its name and the Cases its list still names; the Cases whose entries
// were cut off are gathered into a recovery category of the group, with
// their content. Cases of a deleted board stay out of it.
TEST_F(Damage, ShortBoardIsRemadeAndItsLostCasesGathered) {
    ASSERT_EQ(add_board("gone", nullptr, 0, -1).board, 2);
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        ASSERT_EQ(create_case("of a deleted board", make_key(kAttrPerson), 0, 2).flag, 0);
    }
    ASSERT_EQ(delete_board(0, 2), 0);
    const std::string bp = board_path(0, 1);
    const std::string before = read_all(bp);
    cut(bp, offsetof(Board, cases) + 16 + 8);  // the first entry whole, the second cut

    RepairNotes notes;
    ASSERT_EQ(open(&notes), kLoadOk) << last_load_failure().detail;
    std::vector<std::string> told = damage_messages(notes);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(gbk_to_utf8(told[0]),
              "白板「second」的文件不完整，已按可读的部分修复，原文件保存为 " + bp + ".bad。");
    EXPECT_EQ(gbk_to_utf8(told[1]), "2 个不在任何白板上的 Case，已放入分类「找回的 Case」。");
    ASSERT_NE(find_board(0, 1), nullptr);
    EXPECT_STREQ(find_board(0, 1)->name, "second");
    ASSERT_EQ(find_board(0, 1)->case_count, 1u);
    EXPECT_STREQ(find_case(0, 1, 0)->title, "a");
    EXPECT_TRUE(read_all(bp + ".bad") == before.substr(0, offsetof(Board, cases) + 24));
    EXPECT_EQ(read_all(bp).size(), sizeof(Board));

    int r = board_named(0, "找回的 Case");
    ASSERT_GE(r, 0);
    ASSERT_EQ(find_board(0, r)->case_count, 2u);
    // Made in one second, "b" and "c" come in the order of their serials.
    for (int s = 0; s < 2; ++s) {
        const std::string title = find_case(0, r, s)->title;
        ASSERT_TRUE(title == "b" || title == "c") << title;
        EXPECT_TRUE(read_all(case_path(0, r, s)) + read_all(case_path(0, r, s, 1)) ==
                    files[title[0] - 'a'])
            << title;
        EXPECT_EQ(find_board(0, r)->cases[s].ordinal, s + 1);
    }
    EXPECT_STRNE(find_case(0, r, 0)->title, find_case(0, r, 1)->title);
    // The deleted board's slot is reused by the recovery category, as by any
    // new board; its Case stays where the user left it.
    EXPECT_EQ(board_named(0, "gone"), -1);
    for (int b = 0; b < kBoardSlots; ++b) {
        for (int s = 0; s < kCaseSlots; ++s) {
            const CaseRecord* rec = find_case(0, b, s);
            if (rec) {
                EXPECT_STRNE(rec->title, "of a deleted board");
            }
        }
    }

    // Nothing is gathered twice.
    ASSERT_EQ(open(), kLoadOk);
    EXPECT_EQ(find_board(0, r)->case_count, 2u);
    EXPECT_EQ(board_named(0, "找回的 Case"), r);
}

// A board cut before its name and its list keeps its slot under a plain
// name, and every Case it held is gathered.
TEST_F(Damage, BoardCutBeforeItsNameKeepsItsSlot) {
    cut(board_path(0, 1), 200);
    ASSERT_EQ(open(), kLoadOk) << last_load_failure().detail;
    ASSERT_NE(find_board(0, 1), nullptr);
    EXPECT_EQ(gbk_to_utf8(find_board(0, 1)->name), "找回的白板");
    EXPECT_EQ(find_board(0, 1)->case_count, 0u);
    int r = board_named(0, "找回的 Case");
    ASSERT_GE(r, 2);
    EXPECT_EQ(find_board(0, r)->case_count, 3u);
    // A new board does not take the damaged board's slot.
    EXPECT_EQ(add_board("new", nullptr, 0, -1).board, r + 1);
}

// A record whose own key differs from the key its list names it by is
// mended to the listing key, so its saves go to the file the list names and
// survive the next opening.
TEST_F(Damage, KeysThatDifferFromTheirListingAreMended) {
    const std::string bp = board_path(0, 1), cp = case_path(0, 1, 1);
    for (const auto& [path, offset] :
         {std::pair{bp, offsetof(Board, key)}, std::pair{cp, offsetof(CaseRecord, key)}}) {
        std::string bytes = read_all(path);
        bytes[offset + 4] ^= 0x5A;  // another serial
        write_raw(path, bytes);
    }
    ASSERT_EQ(open(), kLoadOk);
    ASSERT_EQ(rename_board("renamed", 0, 1), 0);
    find_case(0, 1, 1)->x = 777;
    ASSERT_EQ(save_case(0, 0, 1, 1), 0);
    EXPECT_EQ(board_path(0, 1), bp);
    EXPECT_EQ(case_path(0, 1, 1), cp);

    const std::string tree = testing::snapshot(root);
    ASSERT_EQ(open(), kLoadOk);
    EXPECT_STREQ(find_board(0, 1)->name, "renamed");
    EXPECT_EQ(find_case(0, 1, 1)->x, 777);
    // Nothing is written to a name no list holds.
    EXPECT_EQ(testing::snapshot(root), tree);
}

// A group table that names no group is what a creation that stopped before
// its end leaves: the workspace is made, not loaded empty.
TEST_F(Damage, AGroupTableWithNoGroupIsAWorkspaceToMake) {
    GroupTable empty;
    std::memset(&empty, 0, sizeof empty);
    write_raw(root + "0/frame/root.frame",
              std::string(reinterpret_cast<const char*>(&empty), sizeof empty));
    clear_tables();
    ASSERT_EQ(load_workspace(), kLoadNew);
    ASSERT_EQ(Tables.groups.count, 1u);
    EXPECT_STREQ(Tables.groups.names[0], "root");
    ASSERT_NE(find_board(0, 0), nullptr);
    ASSERT_EQ(open(), kLoadOk);
    EXPECT_EQ(Tables.groups.count, 3u);
}

// The two default groups of the second opening come with their boards or
// not at all: a disk that refuses a board leaves the table as it was, and
// the next opening adds them.
TEST_F(Damage, DefaultGroupsComeWholeOrNotAtAll) {
    std::filesystem::remove_all(root);
    clear_tables();
    ASSERT_EQ(load_workspace(), kLoadNew);
    {
        WriteLimit limit(10000);  // a group file and root.frame fit, a board does not
        clear_tables();
        ASSERT_EQ(load_workspace(), kLoadOk);
    }
    EXPECT_EQ(Tables.groups.count, 1u);
    uint32_t on_disk = 0;
    std::memcpy(&on_disk, read_all(root + "0/frame/root.frame").data(), 4);
    EXPECT_EQ(on_disk, 1u);
    clear_tables();
    ASSERT_EQ(load_workspace(), kLoadOk);
    ASSERT_EQ(Tables.groups.count, 3u);
    for (int g = 1; g < 3; ++g) EXPECT_NE(find_board(g, 0), nullptr) << g;
}

// A look that only reads: the repair pass and the load say what they would
// mend and leave every file as it is.
TEST_F(Damage, ADryRunWritesNothingAndSaysWhatItWouldDo) {
    write_raw(case_path(0, 1, 0, 1), "");
    cut(board_path(0, 1), offsetof(Board, cases) + 16);
    clear_tables();
    const std::string before = testing::snapshot(dir);
    RepairNotes notes;
    EXPECT_EQ(repair_workspace(&notes, RepairMode::kDryRun), kRepairDone);
    Tables.read_only = true;
    EXPECT_EQ(load_workspace(&notes), kLoadNoBoard);  // the short board is the repair's to mend
    Tables.read_only = false;
    EXPECT_EQ(testing::snapshot(dir), before);
    ASSERT_EQ(notes.size(), 2u);
    for (const RepairNote& n : notes) EXPECT_EQ(n.outcome, RepairNote::kWouldDo) << n.line();
    EXPECT_NE(notes[0].line().find("truncated (23120 of 24864 bytes); a repair would: kept as "),
              std::string::npos)
        << notes[0].line();
    EXPECT_NE(notes[1].line().find("2 Case file(s) no board lists; a repair would: gathered"),
              std::string::npos)
        << notes[1].line();
}

}  // namespace
}  // namespace nd
