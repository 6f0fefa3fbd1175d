// nodrel-tool search, assess and export --canvas on a workspace made with the
// store's own calls, run as a user runs them, while the workspace is held
// open as nodrel holds it.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "analysis/links.h"
#include "base/file_io.h"
#include "base/park_miller.h"
#include "base/testing/file_bytes.h"
#include "base/testing/temp_dir.h"
#include "settings/settings.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"
#include "tools/testing/tool_run.h"

namespace nd {
namespace {

using Json = nlohmann::json;

using testing::snapshot;
using testing::ToolRun;

// Standard output only: the commands' messages go to standard error.
ToolRun tool(const std::string& args) {
    return testing::run_tool(ND_TOOL_PATH, args, false);
}

std::string quoted(const std::string& s) {
    return "'" + s + "'";
}

class AnalysisTool : public ::testing::Test {
protected:
    testing::TempDir temp{"nd_analysis_tool"};
    const std::string& dir = temp.path();
    std::string wk, root;
    std::string image_year;
    WorkspaceSettings held;

    void link(int from_board, int from_slot, int to_board, int to_slot, bool tight) {
        CaseRecord* a = find_case(0, from_board, from_slot);
        const CaseRecord* b = find_case(0, to_board, to_slot);
        ASSERT_TRUE(add_link(*a, b->key, LocationRef{0, 0, to_board, to_slot}, tight));
    }

    void SetUp() override {
        ASSERT_FALSE(dir.empty());
        wk = dir + "/ws.wk";
        ASSERT_EQ(tool("new " + wk).status, 0);
        ASSERT_TRUE(workspace_root(wk, root));
        seed_random(7);
        set_sync_writes(false);
        clear_tables();
        Tables.read_only = false;
        set_workspace_root(root);
        ASSERT_EQ(load_workspace(), kLoadOk);
        std::lock_guard<std::mutex> hold(StorageLock);
        ASSERT_EQ(add_board("second", nullptr, 0, -1).flag, 0);
        struct Made {
            const char* title;
            int board;
            uint16_t kind;
            uint8_t status;
            uint16_t importance;
        } made[] = {
            {"Alpha plan", 0, kKindPerson, kColourGood, 2},
            {"Beta", 0, kKindObject, kColourSevere, 4},
            {"Gamma", 0, kKindEvent, kColourWarning, 0},
            {"\xD6\xD0\xCE\xC4", 0, kKindTask, kColourShelved, 1},  // 中文
            {"Delta plan", 1, kKindEvent, kColourGood, 3},
        };
        for (const Made& m : made) {
            LocationRef at = create_case(m.title, make_key(kAttrEvent), 0, m.board);
            ASSERT_EQ(at.flag, 0);
            CaseRecord* c = find_case(0, m.board, at.slot);
            c->kind = m.kind;
            c->colour = m.status;
            c->importance = m.importance;
            c->form = kFormTitle;
            c->x = 100 * at.slot;
            c->y = 50;
        }
        std::strcpy(find_case_body(0, 0, 1)->text, "a plan for the week\n\n\n");
        CaseRecord* gamma = find_case(0, 0, 2);
        RecordKey image = make_key(kTypeImage);
        image.serial = 0x5F3A;
        image_year = std::to_string(image.year);
        std::string stored = stored_image_path(image);
        gamma->attachments[0].kind = kAttachImage;
        std::strcpy(gamma->attachments[0].name, image_short_name(image).c_str());
        std::strcpy(gamma->attachments[0].path, stored.c_str());
        std::strcpy(find_case_body(0, 0, 2)->text, "\n**img:00\n\n");
        std::string disk = stored_to_disk(root, stored);
        std::filesystem::create_directories(std::filesystem::path(disk).parent_path());
        std::ofstream(disk, std::ios::binary) << "picture bytes";
        std::strcpy(gamma->resource_names[0], "\xB9\xA4\xCA\xB1");  // 工时
        gamma->resource_values[0] = 3;
        gamma->resource_count = 1;
        CaseRecord* beta = find_case(0, 0, 1);
        std::strcpy(beta->resource_names[0], "\xB9\xA4\xCA\xB1");
        beta->resource_values[0] = 4;
        beta->resource_count = 1;
        link(0, 0, 0, 1, true);  // Alpha -> Beta, tight both ways
        link(0, 1, 0, 0, true);
        link(0, 1, 0, 2, false);  // Beta -> Gamma, one way
        link(0, 0, 1, 0, true);   // Alpha -> Delta on the other board
        link(1, 0, 0, 0, false);
        link(0, 3, 0, 0, false);  // 中文 -> Alpha, one way
        for (int b = 0; b < 2; ++b)
            for (int s = 0; s < 4; ++s)
                if (find_case(0, b, s)) {
                    ASSERT_EQ(save_case(2, 0, b, s), 0);
                }
        clear_tables();
        // nodrel holds the workspace open from here on.
        ASSERT_EQ(load_workspace_settings(held, wk, nullptr), kWkLoaded);
    }

    void TearDown() override {
        close_workspace_settings(held);
        set_sync_writes(true);
        clear_tables();
    }
};

TEST_F(AnalysisTool, SearchListsResultsInThePanelsOrder) {
    const std::string before = snapshot(dir);
    struct Case {
        std::string args;
        int status;
        std::string out;
    } cases[] = {
        {"plan", 0, "1\t0.0.0\tAlpha plan\n2\t0.0.1\tBeta\n1\t0.1.0\tDelta plan\n"},
        {"plan --board 0.1", 0, "1\t0.1.0\tDelta plan\n"},
        {"Plan", 0, ""},
        {quoted("中文"), 0, "1\t0.0.3\t中文\n"},
        {quoted("形"), 0, ""},                 // its bytes lie across 中 and 文
        {image_year, 0, "3\t0.0.2\tGamma\n"},  // only in the picture's stored path
        {"plan --board 0.7", 2, ""},
        {"plan --board x", 2, ""},
        {"''", 2, ""},
    };
    for (const Case& c : cases) {
        ToolRun r = tool("search " + wk + " " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
    }
    EXPECT_EQ(tool("search " + dir + "/none.wk plan").status, 1);
    EXPECT_EQ(snapshot(dir), before) << "search changed the workspace";
}

TEST_F(AnalysisTool, AssessJsonHoldsTheReportsFigures) {
    const std::string before = snapshot(dir);
    ToolRun r = tool("assess " + wk + " 0.0.0 --json");
    ASSERT_EQ(r.status, 0);
    Json j = Json::parse(r.out);
    const Json want_members = Json::parse(R"([
        {"case":"0.0.0","title":"Alpha plan","kind":103,"status":1,"importance":2,"actual":4.3},
        {"case":"0.0.1","title":"Beta","kind":101,"status":2,"importance":4,"actual":5.0},
        {"case":"0.0.2","title":"Gamma","kind":106,"status":3,"importance":0,"actual":0.0},
        {"case":"0.1.0","title":"Delta plan","kind":106,"status":1,"importance":3,"actual":4.0}
    ])");
    EXPECT_EQ(j["subject"], "0.0.0");
    EXPECT_EQ(j["members"], want_members);
    EXPECT_EQ(j["status_counts"], Json::parse("[0,2,1,1]"));
    EXPECT_EQ(j["key_nodes"], Json::parse(R"(["0.0.0","0.0.1","0.1.0"])"));
    EXPECT_EQ(j["people"], Json::parse(R"(["0.0.0"])"));
    EXPECT_EQ(j["objects"], Json::parse(R"(["0.0.1"])"));
    EXPECT_EQ(j["resources"], Json::parse(R"([{"name":"工时","total":7}])"));
    EXPECT_EQ(j["relations"], Json::parse(R"([
        {"case":"0.0.1","out":"tight","back":"tight","verdict":"它们俩的关系是紧密的"},
        {"case":"0.1.0","out":"tight","back":"loose",
         "verdict":"\"Alpha plan\" 认为自己与 \"Delta plan\" 的关系是紧密的"}
    ])"));
    std::vector<std::string> keys;
    for (auto& [k, v] : j.items()) keys.push_back(k);
    EXPECT_EQ(keys.size(), 8u);

    ToolRun text = tool("assess " + wk + " 0.0.0");
    EXPECT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("subject 0.0.0 \"Alpha plan\""), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("它们俩的关系是紧密的"), std::string::npos) << text.out;

    EXPECT_EQ(tool("assess " + wk + " 0.0.9").status, 2);
    EXPECT_EQ(tool("assess " + wk + " 0.0").status, 2);
    EXPECT_EQ(tool("assess " + wk).status, 2);
    EXPECT_EQ(snapshot(dir), before) << "assess changed the workspace";
}

TEST_F(AnalysisTool, CanvasFilesHoldEveryCaseAndLink) {
    const std::string out = dir + "/out";
    ASSERT_EQ(tool("export " + wk + " " + out + " --canvas").status, 0);
    struct Node {
        std::string title, colour;
        int x;
    };
    struct Edge {
        std::string from, to;
        bool tight;
    };
    struct Board {
        std::string file;
        std::vector<Node> nodes;
        std::vector<Edge> edges;
        int pictures;
    } boards[] = {
        {"01-root/01-分类1.canvas",
         {{"Alpha plan", "4", 0}, {"Beta", "1", 100}, {"Gamma", "3", 200}, {"中文", "", 300}},
         {{"Alpha plan", "Beta", true},
          {"Beta", "Alpha plan", true},
          {"Beta", "Gamma", false},
          {"中文", "Alpha plan", false}},
         1},
        {"01-root/02-second.canvas", {{"Delta plan", "4", 0}}, {}, 0},
    };
    for (const Board& b : boards) {
        SCOPED_TRACE(b.file);
        std::ifstream in(out + "/" + b.file);
        ASSERT_TRUE(in);
        Json canvas = Json::parse(in);
        std::map<std::string, std::string> title_of;  // node id -> title
        std::map<std::string, Json> by_title;
        int pictures = 0;
        for (const Json& n : canvas["nodes"]) {
            for (const char* k : {"x", "y", "width", "height"})
                EXPECT_TRUE(n[k].is_number_integer());
            ASSERT_FALSE(title_of.count(n["id"])) << "duplicate id";
            if (n["type"] == "file") {
                EXPECT_TRUE(std::filesystem::exists(out + "/" + n["file"].get<std::string>()));
                title_of[n["id"]] = "";
                ++pictures;
                continue;
            }
            ASSERT_EQ(n["type"], "text");
            std::string text = n["text"];
            std::string title = text.substr(
                2, text.find('\n') == std::string::npos ? std::string::npos : text.find('\n') - 2);
            title_of[n["id"]] = title;
            by_title[title] = n;
        }
        EXPECT_EQ(pictures, b.pictures);
        ASSERT_EQ(by_title.size(), b.nodes.size());
        for (const Node& want : b.nodes) {
            const Json& n = by_title[want.title];
            EXPECT_EQ(n["x"], want.x) << want.title;
            EXPECT_EQ(n["y"], 50) << want.title;
            EXPECT_EQ(n.value("color", ""), want.colour) << want.title;
            EXPECT_GT(n["width"].get<int>(), 14) << want.title;
        }
        std::vector<std::tuple<std::string, std::string, bool>> edges, want_edges;
        for (const Json& e : canvas["edges"]) {
            ASSERT_TRUE(title_of.count(e["fromNode"]) && title_of.count(e["toNode"]));
            edges.emplace_back(title_of[e["fromNode"]], title_of[e["toNode"]],
                               e.value("label", "") == "紧密");
        }
        for (const Edge& e : b.edges) want_edges.emplace_back(e.from, e.to, e.tight);
        EXPECT_EQ(edges, want_edges);
    }
    // Links to Cases on the other board are named in the text instead.
    std::ifstream second(out + "/01-root/02-second.canvas");
    std::string delta = Json::parse(second)["nodes"][0]["text"];
    EXPECT_NE(delta.find("- Alpha plan (分类1)"), std::string::npos) << delta;
    // The picture is copied, and Gamma's Markdown points at the copy.
    std::ifstream first(out + "/01-root/01-分类1.canvas");
    const Json board0 = Json::parse(first);
    std::string gamma, picture;
    for (const Json& n : board0["nodes"]) {
        if (n["type"] == "file") picture = n["file"];
        if (n["type"] == "text" && n["text"].get<std::string>().rfind("# Gamma", 0) == 0)
            gamma = n["text"];
    }
    std::ifstream copy(out + "/" + picture, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), "picture bytes");
    EXPECT_NE(gamma.find("](<" + picture + ">)"), std::string::npos) << gamma;
}

}  // namespace
}  // namespace nd
