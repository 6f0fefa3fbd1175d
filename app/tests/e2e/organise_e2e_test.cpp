// Organising a board with the real program: Ctrl+1 arranges 41 scattered
// cards, a card's menu sets its colour, the left bar's menu makes a
// category, and the options panel's grid switch reaches config.cfg and
// stays there over a restart.
#include <mutex>
#include <set>

#include "app/tests/e2e/board_cases.h"
#include "app/tests/e2e/nodrel_fixture.h"
#include "base/file_io.h"
#include "settings/settings.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd::e2e {
namespace {

// The left bar lies at (10, 100); its list starts 82 below its top, the
// first category row 6 into it, rows 64 apart.
constexpr int kCategoryRowY = 100 + 82 + 6;
// Arranged rows start right of the bar (10 + 288 + 100) and 50 below its top.
constexpr int kArrangedX = 398;
constexpr int kArrangedY = 150;

class OrganiseE2e : public NodrelE2e {
protected:
    std::string m_root;

    void SetUp() override {
        NodrelE2e::SetUp();
        ASSERT_TRUE(workspace_root(m_workspace, m_root));
    }

    // Every other card starts as a photo, so the arrangement has forms to
    // turn back into titles.
    std::vector<RecordKey> add_cases(const std::vector<std::pair<int, int>>& places) {
        return add_title_cases(m_root, places, nullptr, {}, kFormPhoto);
    }

    CaseRecord stored(const RecordKey& key) {
        CaseRecord r{};
        (void)read_file_exact(make_path(m_root, key.type, key, 0), &r, sizeof r);
        return r;
    }

    uint8_t stored_option(int row) {
        ConfigRecord cfg{};
        if (read_config((m_dir / "prog" / "config.cfg").string(), cfg) != 0) return 0xFF;
        return cfg.profiles[kProductCode].options[row];
    }

    // Waits for the board, then for the pixel at (x, y) to show it.
    WindowInfo board_shown(int x, int y) {
        const WindowInfo w = open_board();
        EXPECT_NE(w.id, 0u);
        EXPECT_TRUE(wait_for([&] { return m_x.pixel(w.id, x, y) == kBackground; })) << log();
        return w;
    }
};

TEST_F(OrganiseE2e, CtrlOneLaysOut41CardsInRowsOfEightWithTheirTitles) {
    std::vector<std::pair<int, int>> places;
    for (int i = 0; i < 41; ++i) places.push_back({420 + (i * 373) % 1000, 120 + (i * 211) % 650});
    const std::vector<RecordKey> keys = add_cases(places);
    ASSERT_EQ(keys.size(), 41u);

    start();
    const WindowInfo w = board_shown(1550, 880);
    ASSERT_NE(w.id, 0u);
    xdotool(w, 1550, 880, {"sleep", "0.3", "key", "ctrl+1"});
    const auto arranged = [&] {
        for (const RecordKey& k : keys) {
            const CaseRecord r = stored(k);
            if ((r.form & 3) != kFormTitle || (r.y - kArrangedY) % 32 != 0) return false;
        }
        return true;
    };
    ASSERT_TRUE(wait_for(arranged)) << log();
    kill(m_pid, SIGTERM);
    ASSERT_EQ(wait_exit(), 0) << log();

    // Five full rows of eight and one of one, each starting at the same x.
    std::map<int, std::vector<int>> rows;
    for (const RecordKey& k : keys) {
        const CaseRecord r = stored(k);
        EXPECT_EQ(r.form & 3, kFormTitle);
        rows[r.y].push_back(r.x);
    }
    ASSERT_EQ(rows.size(), 6u);
    int row = 0;
    for (auto& [y, xs] : rows) {
        EXPECT_EQ(y, kArrangedY + 32 * row);
        EXPECT_EQ(xs.size(), row < 5 ? 8u : 1u) << "row " << row;
        EXPECT_EQ(*std::min_element(xs.begin(), xs.end()), kArrangedX) << "row " << row;
        ++row;
    }
}

TEST_F(OrganiseE2e, RedFromACardsMenuIsStoredWithTodaysDate) {
    const std::vector<RecordKey> keys = add_cases({{600, 400}});
    start();
    const WindowInfo w = board_shown(1550, 880);
    ASSERT_NE(w.id, 0u);
    const int x = 600 + 6, y = 400 + 6;
    xdotool(w, x, y, {"sleep", "0.3", "click", "3"});
    ASSERT_TRUE(wait_for([&] { return m_x.pixel(w.id, x + 120, y + 100) != kBackground; }))
        << "no menu; log:\n"
        << log();
    // "红色" is the menu's third row: grey, green, red, yellow.
    xdotool(w, x + 5 + 60, y + 5 + 2 * 28 + 14, {"sleep", "0.3", "click", "1"});
    EXPECT_TRUE(wait_for([&] {
        const CaseRecord r = stored(keys[0]);
        return r.colour == 2 && r.colour_date == today_yyyymmdd();
    })) << log();
    kill(m_pid, SIGTERM);
    EXPECT_EQ(wait_exit(), 0) << log();
}

TEST_F(OrganiseE2e, ACategoryMadeFromTheLeftBarsMenuGetsItsFiles) {
    start();
    const WindowInfo w = board_shown(1550, 880);
    ASSERT_NE(w.id, 0u);
    // The row below the first category is the place for a new one.
    const int x = 100, y = kCategoryRowY + 64 + 10;
    // A click that comes before the board takes input is asked again.
    const long under_menu = m_x.pixel(w.id, x + 150, y + 20);
    bool menu = false;
    for (int tries = 0; tries < 3 && !menu; ++tries) {
        xdotool(w, x, y, {"sleep", "0.3", "click", "3"});
        menu = wait_for([&] { return m_x.pixel(w.id, x + 150, y + 20) != under_menu; }, 3000);
    }
    ASSERT_TRUE(menu) << "no menu; log:\n" << log();
    // "新建分类(N)..." is the first item.
    // The dialog opens where the menu was asked for.
    const long under_dialog = m_x.pixel(w.id, x + 250, y + 60);
    xdotool(w, x + 5 + 60, y + 5 + 14, {"sleep", "0.3", "click", "1"});
    ASSERT_TRUE(wait_for([&] { return m_x.pixel(w.id, x + 250, y + 60) != under_dialog; }, 10000))
        << "no dialog; log:\n"
        << log();
    // The dialog takes keys from the frame after it shows.
    nap(300);
    ASSERT_EQ(run({"xdotool", "type", "--delay", "50", "Plans"}), 0);
    ASSERT_EQ(run({"xdotool", "key", "Return"}), 0);

    const auto made = [&]() -> bool {
        Tables.read_only = true;
        clear_tables();
        set_workspace_root(m_root);
        bool found = false;
        if (load_workspace() >= 0) {
            for (int b = 0; b < kBoardSlots && !found; ++b) {
                const Board* board = find_board(0, b);
                if (board && std::string(board->name) == "Plans")
                    found = file_exists(make_path(m_root, kTypeBoard, board->key, 0));
            }
        }
        clear_tables();
        Tables.read_only = false;
        return found;
    };
    EXPECT_TRUE(wait_for(made, 10000)) << log();
    kill(m_pid, SIGTERM);
    EXPECT_EQ(wait_exit(), 0) << log();
    EXPECT_TRUE(made());
}

TEST_F(OrganiseE2e, TheGridSwitchFlipsItsByteInConfigAndKeepsItOverARestart) {
    start();
    WindowInfo w = board_shown(1550, 880);
    ASSERT_NE(w.id, 0u);
    const uint8_t before = stored_option(0);
    ASSERT_NE(before, 0xFF);
    // The options button sits left of the main-menu button, at the top
    // bar's right end: four caption buttons of 45 and the menu's 28.
    xdotool(w, w.width - 4 * 45 - 28 - 22, 30 + 14, {"sleep", "0.3", "click", "1"});
    nap(500);
    // "网格" is the first switch, at (310, 210).
    xdotool(w, 310 + 20, 210 + 10, {"sleep", "0.3", "click", "1"});
    EXPECT_TRUE(wait_for([&] { return stored_option(0) == (before ? 0 : 1); })) << log();
    kill(m_pid, SIGTERM);
    ASSERT_EQ(wait_exit(), 0) << log();

    start();
    w = board_shown(1550, 880);
    ASSERT_NE(w.id, 0u);
    kill(m_pid, SIGTERM);
    ASSERT_EQ(wait_exit(), 0) << log();
    EXPECT_EQ(stored_option(0), before ? 0 : 1);
}

}  // namespace
}  // namespace nd::e2e
