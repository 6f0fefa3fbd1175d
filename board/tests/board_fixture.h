// A real workspace on disk and a main view over its first whiteboard, with
// title-form cards made by hand for the Cases a test adds, so commands can
// be run through the view and their effects read back from the files.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "board/main_view.h"
#include "gfx/window/input_queue.h"
#include "gfx/window/window.h"
#include "session/main_view.h"
#include "session/requests.h"
#include "session/view_state.h"
#include "skins/pictures.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tests/workspace_fixture.h"

namespace nd::testing {

class BoardTest : public WorkspaceTest {
protected:
    // The view is let go as the program lets it go, so whatever pictures a
    // test made it render (menus, the top bar) are freed with it.
    struct FreeView {
        void operator()(MainViewState* v) const { free_main_view(v); }
    };
    App app;
    std::unique_ptr<MainViewState, FreeView> owned{new MainViewState};
    MainViewState& view = *owned;

    void SetUp() override {
        WorkspaceTest::SetUp();
        ASSERT_EQ(load_workspace(), kLoadNew);
        view.app = &app;
        view.width = 1600;
        view.height = 900;
        app.WindowWidth = 1600;
        app.WindowHeight = 900;
        view_state().group = 0;
        view_state().board = 0;
        view_state().selected = CaseRef{};
        clear_requests();
        clear_cards();
    }
    void TearDown() override {
        clear_requests();
        WorkspaceTest::TearDown();
    }

    // Takes every card off the view.
    void clear_cards() {
        view.card_count = 0;
        view.z_count = 0;
        index_cards(view, -1, -1);
    }

    // The view may keep an index of its cards by slot; the cards made here
    // enter it (slot -1 empties it).
    template <typename View>
    static void index_cards(View& v, int slot, int card) {
        if constexpr (requires { v.slot_card; }) {
            if (slot < 0) {
                v.slot_card.fill(-1);
            } else {
                v.slot_card[size_t(slot)] = card;
            }
        }
    }

    // A Case on `board` of group 0, with a title-form card when `board` is
    // the one shown. Returns what names it.
    CaseRef add_case(const char* title, int board = 0, int form = kFormTitle) {
        RecordKey key = make_key(kAttrFragment);
        draw_fresh_serial(key);
        LocationRef at;
        {
            std::lock_guard<std::mutex> hold(StorageLock);
            at = create_case(title, key, 0, board);
        }
        EXPECT_EQ(at.flag, 0);
        CaseRecord* record = find_case(0, board, at.slot);
        record->form = static_cast<uint16_t>(form);
        record->x = 200 + 150 * at.slot;
        record->y = 300;
        EXPECT_EQ(save_case(0, 0, board, at.slot), 0);
        CaseRef ref;
        ref.where = at;
        ref.key = record->key;
        if (board == view_state().board) {
            Card& card = view.cards[size_t(view.card_count)];
            card.slot = at.slot;
            card.ref = ref;
            card.record = record;
            card.form = form;
            card.rect = {record->x, record->y, 100, 30};
            view.z_order[size_t(view.z_count++)] = view.card_count;
            index_cards(view, at.slot, view.card_count);
            ++view.card_count;
        }
        return ref;
    }

    // The stored record of a Case, as the file holds it now.
    CaseRecord stored(const CaseRef& ref) {
        CaseRecord record{};
        const std::string bytes = read_all(make_path(root, ref.key.type, ref.key, 0));
        EXPECT_EQ(bytes.size(), sizeof record);
        if (bytes.size() == sizeof record) std::memcpy(&record, bytes.data(), sizeof record);
        return record;
    }

    // The Case list of a board as its file holds it now.
    Board stored_board(int board) {
        Board b{};
        const Board* loaded = find_board(0, board);
        const std::string bytes = read_all(make_path(root, loaded->key.type, loaded->key, 0));
        EXPECT_EQ(bytes.size(), sizeof b);
        if (bytes.size() == sizeof b) std::memcpy(&b, bytes.data(), sizeof b);
        return b;
    }

    bool board_lists(int board, const CaseRef& ref) {
        const Board b = stored_board(board);
        for (uint32_t i = 0; i < b.case_count && i < uint32_t(kCaseSlots); ++i)
            if (same_item(b.cases[i], ref.key)) return true;
        return false;
    }
};

// The same over a headless 1600 x 900 window with the skin pictures
// installed, for the tests that lay the view out and drive it through the
// window's input queues.
class WindowBoardTest : public BoardTest {
protected:
    void SetUp() override {
        BoardTest::SetUp();
        install_skin_pictures();
        gfx::force_headless(true);
        ASSERT_EQ(gfx::open_window(1600, 900, 0x19), 0);
        gfx::reset_input();
        app.RunState.store(kRunning);
    }
    void TearDown() override {
        gfx::reset_input();
        gfx::close_window();
        BoardTest::TearDown();
    }
    void lay_out() { board_view_steps().layout(&view, app, 1600, 900); }
};

}  // namespace nd::testing
