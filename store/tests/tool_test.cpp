// The storage commands of nodrel-tool, run as a user would run them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "app/settings/settings.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tests/workspace_fixture.h"
#include "tools/testing/tool_run.h"

namespace nd {
namespace {

using testing::read_all;
using testing::write_raw;

using testing::ToolRun;

ToolRun tool(const std::string& args) {
    return testing::run_tool(ND_TOOL_PATH, args);
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
                 {"export " + wk, 2, "usage"}};
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
    r = tool("check " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "groups=3 boards=3 cases=0")) << r.out;
    r = tool("dump " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "board 0.0 \"分类1\"")) << r.out;
    EXPECT_TRUE(has(r, "group 2 \"检查表\"")) << r.out;
}

TEST_F(Tool, CheckRepairsAndReportsWhatCannotLoad) {
    make_with_cases();
    std::string beta = make_path(root, find_case(0, 0, 1)->key.type, find_case(0, 0, 1)->key, 0);
    std::string gamma_body =
        make_path(root, find_case(0, 0, 2)->key.type, find_case(0, 0, 2)->key, 1);
    clear_tables();
    std::remove(beta.c_str());
    ToolRun r = tool("check " + wk);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(has(r, "repaired: board 分类1: Case file")) << r.out;
    EXPECT_TRUE(has(r, "cases=2")) << r.out;

    write_raw(gamma_body, "torn");
    r = tool("check " + wk);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_TRUE(has(r, "Case 内容文件已损坏")) << r.out;
    EXPECT_TRUE(has(r, gamma_body)) << r.out;
    EXPECT_EQ(read_all(gamma_body), "torn");
}

TEST_F(Tool, DumpAndExportWriteNothing) {
    make_with_cases();
    // Work a load would write back: a duplicate ordinal and an overdue Case.
    find_board(0, 0)->cases[2].ordinal = 1;
    save_board(0, 0);
    find_case(0, 0, 0)->due_date = 20000101;
    find_case(0, 0, 0)->overdue_status = 3;
    save_case(0, 0, 0, 0);
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

}  // namespace
}  // namespace nd
