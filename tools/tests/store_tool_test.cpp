// The storage commands of nodrel-tool, run as a user would run them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "settings/settings.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/snapshots.h"
#include "store/tests/workspace_fixture.h"
#include "tools/testing/tool_run.h"

namespace nd {
namespace {

using testing::read_all;
using testing::write_raw;

using testing::ToolRun;

// Runs nodrel-tool through the shell; `before` goes in front of it (a limit
// to set, for example).
ToolRun tool(const std::string& args, const std::string& before = "") {
    return testing::run_tool(before + ND_TOOL_PATH, args);
}

bool has(const ToolRun& r, const std::string& text) {
    return r.out.find(text) != std::string::npos;
}

class Tool : public testing::WorkspaceTest {
protected:
    std::string wk;
    void SetUp() override {
        testing::WorkspaceTest::SetUp();
        wk = dir + "/ws.wk";
    }
    // A workspace with three Cases on its first board, made by the library.
    void make_with_cases() {
        ASSERT_EQ(tool("new " + wk).status, 0);
        ASSERT_EQ(load_workspace(), kLoadOk);
        std::lock_guard<std::mutex> hold(StorageLock);
        for (const char* t : {"alpha", "beta", "gamma"})
            ASSERT_EQ(create_case(t, make_key(kAttrPerson), 0, 0).flag, 0);
    }
};

TEST_F(Tool, BadArgumentsAndBadFiles) {
    write_raw(dir + "/junk", std::string(300, 'j'));
    struct Case {
        std::string args;
        int status;
        const char* says;
    } cases[] = {{"check", 2, "usage"},
                 {"check " + dir + "/noext", 2, "not a .wk path"},
                 {"check " + dir + "/none.wk", 1, "does not exist"},
                 {"dump " + dir + "/none.wk", 1, "cannot be loaded"},
                 {"seal other a b", 2, "unknown kind"},
                 {"seal wk " + dir + "/missing " + dir + "/out", 1, "cannot read"},
                 {"unseal " + dir + "/junk " + dir + "/out", 1, "not a sealed settings file"},
                 {"export " + wk, 2, "usage"},
                 {"repair", 2, "usage"},
                 {"check " + wk + " --mend", 2, "usage"},
                 {"repair " + dir + "/none.wk", 1, "does not exist"}};
    for (const Case& c : cases) {
        ToolRun r = tool(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
        EXPECT_TRUE(has(r, c.says)) << c.args << "\n" << r.out;
    }
}

TEST_F(Tool, NewCheckDump) {
    ToolRun r = tool("new " + wk);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(tool("new " + wk).status, 1);
    // A check only looks: the default groups the next opening adds are told,
    // not made.
    std::string before = testing::snapshot(root) + read_all(wk);
    r = tool("check " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r,
                    "at the next opening: the workspace has one group; a repair would: the "
                    "groups 任务 and 检查表 added"))
        << r.out;
    EXPECT_TRUE(has(r, "groups=1 boards=1 cases=0")) << r.out;
    EXPECT_EQ(testing::snapshot(root) + read_all(wk), before);
    r = tool("repair " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "updated: the workspace has one group, the groups 任务 and 检查表 added"))
        << r.out;
    EXPECT_TRUE(has(r, "groups=3 boards=3 cases=0")) << r.out;
    r = tool("check " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "groups=3 boards=3 cases=0")) << r.out;
    r = tool("dump " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "board 0.0 \"分类1\"")) << r.out;
    EXPECT_TRUE(has(r, "group 2 \"检查表\"")) << r.out;
}

// check reads only and says what a repair needs, a missing file told from a
// short one; check --repair writes and says what it wrote.
TEST_F(Tool, CheckOnlyLooksAndRepairMends) {
    make_with_cases();
    std::string beta = make_path(root, find_case(0, 0, 1)->key.type, find_case(0, 0, 1)->key, 0);
    std::string gamma_body =
        make_path(root, find_case(0, 0, 2)->key.type, find_case(0, 0, 2)->key, 1);
    clear_tables();
    std::remove(beta.c_str());
    write_raw(gamma_body, "torn");

    std::string before = testing::snapshot(dir);
    ToolRun r = tool("check " + wk);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_TRUE(has(r, "needs repair: board 分类1: Case file " + beta +
                           " missing; a repair would: entry removed"))
        << r.out;
    EXPECT_TRUE(has(r, "repair needed (nodrel-tool check --repair " + wk + ")")) << r.out;
    EXPECT_EQ(testing::snapshot(dir), before);

    r = tool("check " + wk + " --repair");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "repaired: board 分类1: Case file " + beta + " missing, entry removed"))
        << r.out;
    EXPECT_TRUE(has(r, "repaired: Case gamma: content " + gamma_body +
                           " truncated (4 of 65536 bytes), kept as " + gamma_body +
                           ".bad and reads as the text it holds"))
        << r.out;
    EXPECT_TRUE(has(r, "cases=2")) << r.out;
    EXPECT_EQ(read_all(gamma_body + ".bad"), "torn");
    EXPECT_EQ(read_all(gamma_body).size(), 65536u);

    r = tool("check " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_FALSE(has(r, "needs repair")) << r.out;
}

// A damaged settings record: check says so and moves nothing; a repair
// keeps it under the first free ".bad" name and says which.
TEST_F(Tool, RepairNamesTheBadFileItKept) {
    ASSERT_EQ(tool("new " + wk).status, 0);
    write_raw(wk + ".bad", "an older damaged record");
    write_raw(wk, std::string(2232, 'z'));
    ToolRun r = tool("check " + wk);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_TRUE(has(r, "needs repair: settings record " + wk + " damaged")) << r.out;
    EXPECT_TRUE(read_all(wk) == std::string(2232, 'z'));
    r = tool("repair " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "repaired: settings record " + wk + " damaged, kept as " + wk + ".bad1"))
        << r.out;
    EXPECT_TRUE(read_all(wk + ".bad1") == std::string(2232, 'z'));
    EXPECT_EQ(read_all(wk + ".bad"), "an older damaged record");
}

// A creation killed between its writes (here by the file size limit, as a
// full disk stops it) leaves no workspace that loads empty: the same
// command makes it afterwards.
TEST_F(Tool, NewStoppedHalfWayCanBeMadeAgain) {
    ToolRun r = tool("new " + wk + " ; exit 0", "ulimit -f 10; exec ");
    ASSERT_FALSE(testing::snapshot(dir).empty());
    ASSERT_FALSE(has(tool("check " + wk), "groups=1 boards=1")) << "the limit let it finish";
    r = tool("new " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    r = tool("check " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "groups=1 boards=1 cases=0")) << r.out;
}

// Keys made by two runs of the tool get serials of their own, as keys made
// by two runs of the program do.
TEST_F(Tool, EachRunDrawsItsOwnSerials) {
    std::string names[2];
    for (int i = 0; i < 2; ++i) {
        std::string w = dir + "/w" + std::to_string(i) + ".wk";
        ASSERT_EQ(tool("new " + w).status, 0);
        for (auto& e :
             std::filesystem::directory_iterator(dir + "/w" + std::to_string(i) + "/0/frame"))
            if (e.is_regular_file() && e.path().filename() != "root.frame")
                names[i] = e.path().filename().string();
    }
    ASSERT_EQ(names[0].size(), 26u) << names[0];
    EXPECT_NE(names[0].substr(18), names[1].substr(18)) << names[0] << " " << names[1];
}

TEST_F(Tool, DumpAndExportWriteNothing) {
    make_with_cases();
    // Work a load would write back: a duplicate ordinal and an overdue Case.
    find_board(0, 0)->cases[2].ordinal = 1;
    ASSERT_EQ(save_board(0, 0), 0);
    find_case(0, 0, 0)->due_date = 20000101;
    find_case(0, 0, 0)->overdue_status = 3;
    ASSERT_EQ(save_case(0, 0, 0, 0), 0);
    clear_tables();
    std::string before = testing::snapshot(root) + read_all(wk);
    ToolRun r = tool("dump " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "#3 \"gamma\"")) << r.out;  // renumbered in memory only
    EXPECT_EQ(tool("export " + wk + " " + dir + "/out").status, 0);
    EXPECT_EQ(testing::snapshot(root) + read_all(wk), before);
}

TEST_F(Tool, CheckRefusesAWorkspaceInUse) {
    ASSERT_EQ(tool("new " + wk).status, 0);
    WorkspaceSettings ws;
    ASSERT_EQ(load_workspace_settings(ws, wk, nullptr), kWkLoaded);
    ToolRun r = tool("check " + wk);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r, "in use")) << r.out;
    close_workspace_settings(ws);
    EXPECT_EQ(tool("check " + wk).status, 0);
}

TEST_F(Tool, SealAndUnsealRoundTrip) {
    ASSERT_EQ(tool("new " + wk).status, 0);
    ASSERT_EQ(tool("unseal " + wk + " " + dir + "/rec").status, 0);
    std::string rec = read_all(dir + "/rec");
    ASSERT_EQ(rec.size(), 2068u);
    ASSERT_EQ(tool("seal wk " + dir + "/rec " + dir + "/again.wk").status, 0);
    EXPECT_EQ(read_all(dir + "/again.wk").size(), 2232u);
    EXPECT_NE(read_all(dir + "/again.wk"), read_all(wk));
    ASSERT_EQ(tool("unseal " + dir + "/again.wk " + dir + "/rec2").status, 0);
    EXPECT_EQ(read_all(dir + "/rec2"), rec);
    ToolRun r = tool("seal config " + dir + "/rec " + dir + "/c.cfg");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(has(r, "4096")) << r.out;
}

TEST_F(Tool, ExportWritesMarkdownWithAttachmentLinks) {
    make_with_cases();
    CaseRecord* c = find_case(0, 0, 0);
    RecordKey img = make_key(kTypeImage);
    img.serial = 0xBEEF;
    c->attachments[0].kind = kAttachImage;
    std::strcpy(c->attachments[0].name, image_short_name(img).c_str());
    std::strcpy(c->attachments[0].path, stored_image_path(img).c_str());
    c->attachments[1].kind = kAttachLink;
    std::strcpy(c->attachments[1].name, "site");
    std::strcpy(c->attachments[1].path, "http://example.invalid/");
    c->link_count = 1;
    c->link_keys[0] = find_case(0, 0, 2)->key;
    c->link_locations[0] = {0, 0, 0, 2};
    std::strcpy(find_case_body(0, 0, 0)->text, "first line\n**img:00\n**htp:01\nlast\n");
    ASSERT_EQ(save_case(2, 0, 0, 0), 0);
    clear_tables();

    std::string out = dir + "/export";
    ToolRun r = tool("export " + wk + " " + out);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "exported 3 cases")) << r.out;
    std::string md = read_all(out + "/01-root/01-分类1/001-alpha.md");
    EXPECT_NE(md.find("# alpha"), std::string::npos) << md;
    EXPECT_NE(md.find("人物"), std::string::npos) << md;
    EXPECT_NE(md.find("![0000BEEF.jpg](<" + root + "1/img/"), std::string::npos) << md;
    EXPECT_NE(md.find("[site](<http://example.invalid/>)"), std::string::npos) << md;
    EXPECT_NE(md.find("[gamma](../../01-root/01-分类1/003-gamma.md)"), std::string::npos) << md;
    EXPECT_NE(md.find("first line\n"), std::string::npos) << md;
    std::string index = read_all(out + "/01-root/01-分类1/index.md");
    EXPECT_NE(index.find("[beta](<002-beta.md>)"), std::string::npos) << index;
}

// A category deleted by one click comes back from the day's snapshot, every
// Case byte for byte; the state before the restore is kept as a snapshot
// too, and a workspace that is open is not touched.
TEST_F(Tool, RestoreBringsADeletedCategoryBack) {
    make_with_cases();
    ASSERT_EQ(add_board("doomed", nullptr, 0, -1).board, 1);
    for (const char* t : {"delta", "epsilon"})
        testing::add_case_with_text(t, 0, 1, std::string("notes on ") + t + "\n");
    clear_tables();
    const std::string whole = testing::snapshot(root);
    std::string reason;
    ASSERT_EQ(take_daily_snapshot(root, &reason), kSnapshotTaken) << reason;
    const std::string day = list_snapshots(root).at(0).name;

    ASSERT_EQ(load_workspace(), kLoadOk);
    ASSERT_EQ(delete_board(0, 1), 0);
    clear_tables();
    ToolRun r = tool("snapshots " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, day + "         cases=5")) << r.out;

    WorkspaceSettings open_elsewhere;
    ASSERT_EQ(load_workspace_settings(open_elsewhere, wk, nullptr), kWkLoaded);
    const std::string deleted = testing::snapshot(root);
    r = tool("restore " + wk + " " + day);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_TRUE(has(r, "is open; close it first")) << r.out;
    EXPECT_TRUE(testing::snapshot(root) == deleted);
    close_workspace_settings(open_elsewhere);

    r = tool("restore " + wk + " " + day);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "the workspace as it was is kept as snapshot " + day + "-")) << r.out;
    EXPECT_TRUE(testing::snapshot(root) == whole);
    ASSERT_EQ(load_workspace(), kLoadOk);
    ASSERT_NE(find_board(0, 1), nullptr);
    EXPECT_STREQ(find_board(0, 1)->name, "doomed");
    EXPECT_STREQ(find_case_body(0, 1, 0)->text, "notes on delta\n");
    clear_tables();
    r = tool("snapshots " + wk);
    EXPECT_TRUE(has(r, "cases=3")) << r.out;  // the state before the restore
    EXPECT_EQ(tool("restore " + wk + " 1999-01-01").status, 1);
}

}  // namespace
}  // namespace nd
