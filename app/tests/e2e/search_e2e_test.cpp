// The search panel with the real program: Ctrl+F, a Chinese query typed as
// a user types it, Enter, and a click on a result that lies on another
// whiteboard, which opens that whiteboard with the Case selected.
#include <mutex>

#include "app/tests/e2e/nodrel_fixture.h"
#include "settings/settings.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd::e2e {
namespace {

// Where the search panel opens on a 1600-pixel screen, and its parts: the
// scope box with its list below it, and the result list's first row.
constexpr int kPanelX = kScreenWidth - 250 - 20;
constexpr int kPanelY = 100;
constexpr int kScopeY = kPanelY + 68;
constexpr int kScopeListY = kScopeY + 24;
constexpr int kFirstRowY = kScopeY + 24 + 6 + 18 + 4;
// A jump puts the Case's card with its top-left here.
constexpr int kJumpX = kScreenWidth / 2 - 116;
constexpr int kJumpY = kScreenHeight / 2 - 50;

class SearchE2e : public NodrelE2e {
protected:
    // Board 0 holds a plain card; a second board the Case the search finds.
    void make_workspace() {
        std::string root;
        ASSERT_TRUE(workspace_root(m_workspace, root));
        clear_tables();
        set_workspace_root(root);
        ASSERT_GE(load_workspace(), 0);
        ASSERT_EQ(add_board("B1", nullptr, 0, -1).flag, 0);
        add_case(0, "plain", 200, 200);
        add_case(1, "\xD6\xD0\xCE\xC4\xB1\xCA\xBC\xC7", 100, 150);  // 中文笔记
        clear_tables();
    }

    void add_case(int board, const char* title, int x, int y) {
        RecordKey key = make_key(kAttrFragment);
        draw_fresh_serial(key);
        std::lock_guard<std::mutex> hold(StorageLock);
        const LocationRef at = create_case(title, key, 0, board);
        ASSERT_EQ(at.flag, 0);
        CaseRecord* record = find_case(0, board, at.slot);
        record->form = kFormTitle;
        record->x = x;
        record->y = y;
        ASSERT_EQ(save_case(0, 0, board, at.slot), 0);
    }

    void pointer_click(const WindowInfo& w, int x, int y) {
        ASSERT_EQ(run({"xdotool", "mousemove", "--window", std::to_string(w.id), std::to_string(x),
                       std::to_string(y), "sleep", "0.2", "click", "1"}),
                  0);
    }


    int stored_last_board() {
        WorkspaceSettings ws;
        std::string reason;
        if (load_workspace_settings(ws, m_workspace, &reason) < 0) {
            ADD_FAILURE() << reason;
            return -1;
        }
        const int board = ws.record.last_board;
        close_workspace_settings(ws);
        return board;
    }
};

TEST_F(SearchE2e, AResultOnAnotherBoardOpensThatBoardWithTheCaseSelected) {
    make_workspace();
    start();
    const WindowInfo w = open_board();
    ASSERT_NE(w.id, 0u);
    expect_background(w);
    const auto panel_shown = [&] {
        return m_x.pixel(w.id, kPanelX + 5, kPanelY + 5) != kBackground;
    };
    const auto card_at_jump = [&] {
        return m_x.pixel(w.id, kJumpX + 20, kJumpY + 10) != kBackground;
    };
    ASSERT_FALSE(card_at_jump());

    // Keys go to the window under the pointer (the server has no window
    // manager).
    ASSERT_EQ(run({"xdotool", "mousemove", "--window", std::to_string(w.id), "700", "600", "sleep",
                   "0.2", "key", "ctrl+f"}),
              0);
    ASSERT_TRUE(wait_for(panel_shown)) << "no search panel; log:\n" << log();

    // Every board, then the query typed as text input and Enter.
    pointer_click(w, kPanelX + 40, kScopeY + 12);
    pointer_click(w, kPanelX + 40, kScopeListY + 24 + 12);
    // The first row's status icon appears once the search found the Case.
    const auto first_icon = [&] { return m_x.pixel(w.id, kPanelX + 15 + 12, kFirstRowY + 14); };
    const long empty_row = first_icon();
    ASSERT_EQ(run({"xdotool", "type", "--delay", "100", "\xE4\xB8\xAD\xE6\x96\x87"}), 0);  // 中文
    ASSERT_EQ(run({"xdotool", "sleep", "0.2", "key", "Return"}), 0);
    ASSERT_TRUE(wait_for([&] { return first_icon() != empty_row; })) << "no result; log:\n"
                                                                     << log();
    pointer_click(w, kPanelX + 60, kFirstRowY + 15);
    EXPECT_TRUE(wait_for(card_at_jump)) << "no card where the jump puts it; log:\n" << log();
    // The board is ready, so the timeline strip is drawn along its bottom.
    EXPECT_NE(m_x.pixel(w.id, 5, w.height - 5), kBackground);

    kill(m_pid, SIGTERM);
    ASSERT_EQ(wait_exit(), 0) << log();
    EXPECT_EQ(stored_last_board(), 1);
}

}  // namespace
}  // namespace nd::e2e
