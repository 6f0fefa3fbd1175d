// The menus, the top bar and window management with the real program: a
// Case deleted through its card's menu and accelerator, the close button,
// and maximise by a double click on the caption strip.
#include <mutex>

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

// Where the workspace's first whiteboard shows its origin.
constexpr int kOriginX = 0;
constexpr int kOriginY = 0;
// The top bar's first row.
constexpr int kTopBarTop = 30;

class MenusE2e : public NodrelE2e {
protected:
    std::string m_root;
    RecordKey m_board{};  // the first whiteboard's key

    void SetUp() override {
        NodrelE2e::SetUp();
        ASSERT_TRUE(workspace_root(m_workspace, m_root));
    }

    // Title-form Cases on the first whiteboard at the given board places,
    // written as the program would; returns their keys.
    std::vector<RecordKey> add_cases(const std::vector<std::pair<int, int>>& places) {
        std::vector<RecordKey> keys;
        clear_tables();
        set_workspace_root(m_root);
        EXPECT_GE(load_workspace(), 0);
        for (const auto& [x, y] : places) {
            RecordKey key = make_key(kAttrFragment);
            draw_fresh_serial(key);
            LocationRef at;
            {
                std::lock_guard<std::mutex> hold(StorageLock);
                at = create_case("e2e", key, 0, 0);
            }
            EXPECT_EQ(at.flag, 0);
            CaseRecord* record = find_case(0, 0, at.slot);
            record->form = kFormTitle;
            record->x = x;
            record->y = y;
            EXPECT_EQ(save_case(0, 0, 0, at.slot), 0);
            CasePointFile points;
            EXPECT_EQ(load_points(*record, points), 0);
            keys.push_back(record->key);
        }
        m_board = find_board(0, 0)->key;
        clear_tables();
        return keys;
    }

    void set_stored_window_size(int width, int height) {
        WorkspaceSettings ws;
        std::string reason;
        ASSERT_GE(load_workspace_settings(ws, m_workspace, &reason), 0) << reason;
        ws.record.width = static_cast<uint16_t>(width);
        ws.record.height = static_cast<uint16_t>(height);
        ASSERT_EQ(save_workspace_settings(ws), 0);
        close_workspace_settings(ws);
    }

    // The program's window once it has this size and place (their changes
    // reach the server one after the other), or id 0 after 5 s.
    WindowInfo wait_placed(int width, int height, int x, int y) {
        WindowInfo w;
        const bool placed = wait_for([&] {
            w = m_x.wait_window(0, width, height);
            return w.id != 0 && w.x == x && w.y == y;
        });
        if (!placed) {
            ADD_FAILURE() << "no " << width << "x" << height << " window at " << x << "," << y
                          << "; the last one seen: " << w.width << "x" << w.height << " at " << w.x
                          << "," << w.y;
            w.id = 0;
        }
        return w;
    }

    // The board file's Case count, as the program last wrote it.
    uint32_t stored_case_count(const RecordKey& board) {
        uint32_t count = 0;
        const std::string path = make_path(m_root, kTypeBoard, board, 0);
        std::ifstream in(path, std::ios::binary);
        in.seekg(offsetof(Board, case_count));
        in.read(reinterpret_cast<char*>(&count), sizeof count);
        return in ? count : ~0u;
    }
};

// Right click on a card, "x": the Case leaves its whiteboard's list on
// disk, its point file goes and its record and content stay, as the store
// keeps them; after SIGTERM the workspace passes `nodrel-tool check`.
TEST_F(MenusE2e, ACaseDeletedThroughItsMenusAcceleratorIsGoneFromDisk) {
    const std::vector<RecordKey> keys = add_cases({{400, 300}, {700, 500}});
    ASSERT_EQ(keys.size(), 2u);
    const std::string pos = make_points_path(m_root, keys[0]);
    ASSERT_TRUE(file_exists(pos));

    start();
    const WindowInfo w = open_board();
    ASSERT_NE(w.id, 0u);
    const int x = kOriginX + 400 + 6;
    const int y = kOriginY + 300 + 6;
    // The menu opens at the pointer, over the board right of and below it.
    const auto menu_spot = [&] { return m_x.pixel(w.id, x + 120, y + 100); };
    ASSERT_TRUE(wait_for([&] { return menu_spot() == kBackground; })) << "no board; log:\n"
                                                                      << log();
    xdotool(w, x, y, {"sleep", "0.3", "click", "3"});
    ASSERT_TRUE(wait_for([&] { return menu_spot() != kBackground; })) << "no menu; log:\n" << log();
    ASSERT_EQ(run({"xdotool", "key", "x"}), 0);
    EXPECT_TRUE(wait_for([&] { return stored_case_count(m_board) == 1; })) << log();

    kill(m_pid, SIGTERM);
    ASSERT_EQ(wait_exit(), 0) << log();
    EXPECT_FALSE(file_exists(pos));
    EXPECT_TRUE(file_exists(make_points_path(m_root, keys[1])));
    EXPECT_TRUE(file_exists(make_path(m_root, keys[0].type, keys[0], 0)));
    EXPECT_TRUE(file_exists(make_path(m_root, keys[0].type, keys[0], 1)));
    EXPECT_EQ(run({ND_TOOL_PATH, "check", m_workspace}), 0);

    Tables.read_only = true;
    set_workspace_root(m_root);
    ASSERT_GE(load_workspace(), 0);
    const Board* b = find_board(0, 0);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->case_count, 1u);
    EXPECT_TRUE(same_item(b->cases[0], keys[1]));
    EXPECT_EQ(b->cases[0].ordinal, 1);
    clear_tables();
    Tables.read_only = false;
}

TEST_F(MenusE2e, TheTopBarsCloseButtonEndsTheProgramWithStatusZero) {
    start();
    const WindowInfo w = open_board();
    ASSERT_NE(w.id, 0u);
    // The close button is the top bar's last, 45 x 29 at its top-right.
    xdotool(w, w.width - 22, kTopBarTop + 14, {"sleep", "0.3", "click", "1"});
    EXPECT_EQ(wait_exit(), 0) << log();
}

// A window of a stored size fills the work area after a double click on
// the caption strip, and goes back to its size and place after another.
TEST_F(MenusE2e, ADoubleClickOnTheCaptionStripMaximisesAndRestores) {
    set_stored_window_size(1200, 700);
    start();
    const WindowInfo small = open_board(1200, 700);
    ASSERT_NE(small.id, 0u);
    EXPECT_EQ(small.x, (kScreenWidth - 1200) / 2);
    EXPECT_EQ(small.y, (kScreenHeight - 700) / 2);

    const auto double_click_caption = [&](const WindowInfo& w) {
        xdotool(w, 600, 10, {"sleep", "0.3", "click", "--repeat", "2", "--delay", "80", "1"});
    };
    double_click_caption(small);
    const WindowInfo big = wait_placed(kScreenWidth, kScreenHeight, 0, 0);
    ASSERT_NE(big.id, 0u) << "not maximised; log:\n" << log();
    double_click_caption(big);
    EXPECT_NE(wait_placed(1200, 700, small.x, small.y).id, 0u) << "not restored; log:\n" << log();

    kill(m_pid, SIGTERM);
    EXPECT_EQ(wait_exit(), 0) << log();
}

}  // namespace
}  // namespace nd::e2e
