// `nodrel-tool render`, run as a user runs it: golden pictures of small
// scenes in every skin, the layout it writes, and that it only reads.
//
// The goldens are hashes of the pictures below the top bar (the top bar
// has tests of its own). Drawing is integer arithmetic on the packaged
// fonts, so a picture either matches exactly or something changed; after a
// deliberate change they are made again with
//     ND_UPDATE_GOLDEN=1 build/board/nd_board_render_tests
// which rewrites board/tests/golden/render.txt; ND_GOLDEN_PICTURES=DIR
// keeps the pictures in DIR to look at.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/process.h"
#include "base/testing/file_bytes.h"
#include "base/testing/temp_dir.h"
#include "board/layout.h"
#include "board/testing/scene.h"
#include "gfx/gfx.h"
#include "settings/settings.h"
#include "store/tables.h"

namespace nd {
namespace {

using testing::SceneCard;
using testing::SceneLink;

const std::string kGoldenFile = std::string(ND_SOURCE_DIR) + "/board/tests/golden/render.txt";

int render(const std::vector<std::string>& args) {
    Spawned child;
    if (spawn_process(ND_TOOL_PATH, args, SpawnOptions{}, &child) != 0) return -1;
    return wait_process(child.pid);
}

// FNV-1a over the colour bytes of every row below the top bar.
uint32_t picture_hash(const std::string& png) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    if (gfx::getimage(image, png.c_str()) != 0) {
        gfx::delete_image(image);
        return 0;
    }
    uint32_t h = 2166136261u;
    for (int y = kCaptionHeight + kTopBarHeight; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const uint32_t p = image->pixels[static_cast<size_t>(y) * image->width + x];
            for (int shift : {16, 8, 0}) {
                h ^= (p >> shift) & 0xFF;
                h *= 16777619u;
            }
        }
    }
    gfx::delete_image(image);
    return h;
}

std::map<std::string, uint32_t> read_goldens() {
    std::map<std::string, uint32_t> goldens;
    std::ifstream in(kGoldenFile);
    std::string name;
    std::string hex;
    while (in >> name >> hex) goldens[name] = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
    return goldens;
}

const std::vector<SceneCard> kTitles = {
    {.title = "\xD6\xF7\xCC\xE2", .x = 200, .y = 220, .colour = kColourGood},  // 主题
    {.title = "Red person", .x = 420, .y = 150, .colour = kColourSevere, .kind = kKindPerson},
    {.title = "Yellow task", .x = 520, .y = 380, .colour = kColourWarning, .kind = kKindTask},
    {.title = "Grey pinned", .x = 80, .y = 400, .pinned = true},
};
const std::vector<SceneLink> kTitleLinks = {{0, 1}, {0, 2, true}, {0, 3}, {1, 2}};

const std::vector<SceneCard> kWindows = {
    {.title = "Notes", .x = 40, .y = 140, .colour = kColourGood, .form = kFormCase,
     .content = "first line\nsecond line\n**img:01\nthird line"},
    {.title = "Map", .x = 330, .y = 140, .form = kFormMap, .marks = {{40, 80}, {150, 160}}},
    {.title = "Linked", .x = 640, .y = 300, .colour = kColourSevere},
};
const std::vector<SceneLink> kWindowLinks = {{2, 1, false, 0}, {0, 2}};

class Render : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(temp.path().empty());
        set_sync_writes(false);
    }
    void TearDown() override {
        clear_tables();
        set_sync_writes(true);
    }
    std::string make(const std::string& name, const std::vector<SceneCard>& cards,
                     const std::vector<SceneLink>& links) {
        const std::string wk = temp / (name + ".wk");
        EXPECT_TRUE(testing::make_scene(wk, cards, links));
        clear_tables();
        return wk;
    }

    nd::testing::TempDir temp{"nd_render"};
};

TEST_F(Render, GoldenPicturesInEverySkin) {
    struct Scene {
        const char* name;
        const std::vector<SceneCard>* cards;
        const std::vector<SceneLink>* links;
        std::vector<std::string> options;
    };
    const Scene scenes[] = {
        {"titles-black", &kTitles, &kTitleLinks, {"--skin", "0"}},
        {"titles-stars-scale2", &kTitles, &kTitleLinks, {"--skin", "2", "--scale", "2"}},
        {"windows-white", &kWindows, &kWindowLinks, {"--skin", "3"}},
        {"windows-cake-moved", &kWindows, &kWindowLinks,
         {"--skin", "1", "--origin", "-30,20", "--top", "0.0.2"}},
    };
    const bool update = std::getenv("ND_UPDATE_GOLDEN") != nullptr;
    std::map<std::string, uint32_t> goldens = read_goldens();
    for (const Scene& s : scenes) {
        const std::string wk = make(s.name, *s.cards, *s.links);
        const char* keep = std::getenv("ND_GOLDEN_PICTURES");
        const std::string png = (keep ? std::string(keep) : temp.path()) + "/" + s.name + ".png";
        std::vector<std::string> args = {"render", wk, png, "--size", "900x600"};
        args.insert(args.end(), s.options.begin(), s.options.end());
        ASSERT_EQ(render(args), 0) << s.name;
        const uint32_t hash = picture_hash(png);
        ASSERT_NE(hash, 0u) << s.name << ": the picture cannot be read";
        if (update) {
            goldens[s.name] = hash;
        } else {
            ASSERT_TRUE(goldens.count(s.name)) << s.name << " has no golden";
            EXPECT_EQ(hash, goldens[s.name]) << s.name << " differs from its golden (" << png
                                             << " kept while the test runs)";
        }
    }
    if (update) {
        std::ofstream out(kGoldenFile);
        for (const auto& [name, hash] : goldens) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "%08x", hash);
            out << name << " " << hex << "\n";
        }
    }
}

TEST_F(Render, TheLayoutSaysWhatWasDrawn) {
    const std::string wk = make("layout", {{.title = "one", .x = 100, .y = 300, .colour = 1},
                                           {.title = "two", .x = 400, .y = 100, .colour = 2},
                                           {.title = "hidden", .x = 400, .y = 500}},
                                {{0, 1, true}, {0, 2}});
    const std::string json = temp / "layout.json";
    ASSERT_EQ(render({"render", wk, temp / "layout.png", "--size", "800x600", "--origin", "10,-20",
                      "--layout", json}),
              0);
    const std::string text = testing::read_all(json);
    // Title cards are their title's width plus 14 wide, 30 high; the widths
    // come from the font, so they are read back rather than assumed.
    auto number_after = [&](const std::string& key, size_t from) {
        const size_t at = text.find(key, from);
        return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size());
    };
    const size_t one = text.find("{\"case\":\"0.0.0\"");
    ASSERT_NE(one, std::string::npos) << text;
    const int w0 = number_after("\"rect\":[110,280,", one);
    const size_t two = text.find("{\"case\":\"0.0.1\"");
    const int w1 = number_after("\"rect\":[410,80,", two);
    ASSERT_GT(w0, 14) << text;
    ASSERT_GT(w1, 14) << text;
    std::ostringstream expected;
    expected << "{\"width\":800,\"height\":600,\"origin\":[10,-20],\"scale\":1,\"cards\":["
             << "{\"case\":\"0.0.0\",\"rect\":[110,280," << w0 << ",30],\"form\":1,\"colour\":1,"
             << "\"top\":true},"
             << "{\"case\":\"0.0.1\",\"rect\":[410,80," << w1 << ",30],\"form\":1,\"colour\":2,"
             << "\"top\":false},"
             << "{\"case\":\"0.0.2\",\"rect\":[410,480,";
    ASSERT_EQ(text.substr(0, expected.str().size()), expected.str());
    const int w2 = number_after("\"rect\":[410,480,", one);
    // Card two lies wholly above card one: its connector ends at its bottom.
    std::ostringstream connectors;
    connectors << "\"connectors\":[{\"from\":\"0.0.0\",\"to\":\"0.0.1\",\"tight\":true,\"points\":["
               << "[" << 110 + w0 / 2 << ",280],[" << 110 + w0 / 2 << ",195],[" << 410 + w1 / 2
               << ",195],[" << 410 + w1 / 2 << ",110]]},"
               << "{\"from\":\"0.0.0\",\"to\":\"0.0.2\",\"tight\":false,\"points\":["
               << "[" << 110 + w0 / 2 << ",280],[" << 110 + w0 / 2 << ",380],[" << 410 + w2 / 2
               << ",380],[" << 410 + w2 / 2 << ",480]]}]}\n";
    EXPECT_NE(text.find(connectors.str()), std::string::npos) << text << "\nwanted\n"
                                                               << connectors.str();
}

TEST_F(Render, OnlyReadsAndWorksWhileTheWorkspaceIsOpen) {
    const std::string wk = make("held", kTitles, kTitleLinks);
    // The picture goes elsewhere, so the workspace's folder must stay as it is.
    nd::testing::TempDir out{"nd_render_out"};
    // As nodrel holds it: the .wk's lock taken by this process.
    WorkspaceSettings ws;
    std::string reason;
    ASSERT_GE(load_workspace_settings(ws, wk, &reason), 0) << reason;
    const std::string before = testing::snapshot(temp.path());
    EXPECT_EQ(render({"render", wk, out / "held.png", "--top", "0.0.3"}), 0);
    EXPECT_EQ(testing::snapshot(temp.path()), before);
    close_workspace_settings(ws);
    EXPECT_TRUE(file_exists(out / "held.png"));
}

TEST_F(Render, BadArgumentsAreRefusedPlainly) {
    const std::string wk = make("args", kTitles, {});
    const std::string png = temp / "x.png";
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"render", wk}, 2},
        {{"render", wk, png, "--scale", "3"}, 2},
        {{"render", wk, png, "--size", "100"}, 2},
        {{"render", wk, png, "--board", "0.x"}, 2},
        {{"render", wk, png, "--skin", "4"}, 2},
        {{"render", wk, png, "--origin"}, 2},
        {{"render", temp / "missing.wk", png}, 1},
        {{"render", wk, png, "--board", "0.9"}, 1},
        {{"render", wk, png, "--top", "0.0.50"}, 1},
        {{"render", wk, temp / "no/dir.png"}, 1},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& a : c.args) line += a + " ";
        EXPECT_EQ(render(c.args), c.status) << line;
    }
    EXPECT_FALSE(file_exists(png));
}

}  // namespace
}  // namespace nd
