#include "session/requests.h"

#include <gtest/gtest.h>

namespace nd {
namespace {

CaseRef case_at(int group, int board, int slot) {
    CaseRef ref;
    ref.where = {0, group, board, slot};
    ref.key.serial = static_cast<uint16_t>(slot + 100);
    return ref;
}

TEST(BoardRequests, TakenOldestFirstAcrossTheRingsEnd) {
    clear_requests();
    BoardRequest r;
    EXPECT_FALSE(take_request(&r));
    // Round the ring twice, so the queue wraps.
    for (int round = 0; round < 2 * kRequestRoom / 3; ++round) {
        ASSERT_EQ(post_request(jump_to_case(case_at(1, 2, round))), kRequestPosted);
        ASSERT_EQ(post_request(switch_board(3, round)), kRequestPosted);
        ASSERT_EQ(post_request(context_menu(104, case_at(0, 0, 4), 10, 20)), kRequestPosted);
        ASSERT_TRUE(take_request(&r));
        EXPECT_EQ(r.kind, RequestKind::kJumpToCase);
        EXPECT_EQ(r.target.where.slot, round);
        EXPECT_EQ(r.target.key.serial, round + 100);
        ASSERT_TRUE(take_request(&r));
        EXPECT_EQ(r.kind, RequestKind::kSwitchBoard);
        EXPECT_EQ(r.target.where.group, 3);
        EXPECT_EQ(r.target.where.board, round);
        ASSERT_TRUE(take_request(&r));
        EXPECT_EQ(r.kind, RequestKind::kContextMenu);
        EXPECT_EQ(r.object, 104);
        EXPECT_EQ(r.y, 20);
    }
    EXPECT_FALSE(take_request(&r));
}

TEST(BoardRequests, AFullQueueRefusesAndKeepsWhatItHolds) {
    clear_requests();
    for (int i = 0; i < kRequestRoom; ++i) {
        ASSERT_EQ(post_request(refresh_panels(1u << (i % 10))), kRequestPosted);
    }
    EXPECT_EQ(post_request(start_link(case_at(0, 0, 1), kLinkFromSearch, 5, 6)), kRequestQueueFull);
    BoardRequest r;
    int taken = 0;
    while (take_request(&r)) {
        EXPECT_EQ(r.kind, RequestKind::kRefreshPanels);
        EXPECT_EQ(r.panels, 1u << (taken % 10));
        ++taken;
    }
    EXPECT_EQ(taken, kRequestRoom);
    ASSERT_EQ(post_request(start_link(case_at(0, 0, 1), kLinkFromSearch, 5, 6)), kRequestPosted);
    clear_requests();
    EXPECT_FALSE(take_request(&r));
}

TEST(ViewState, OpenPanelsAreTheShownEntriesOfThePanelList) {
    ViewState& v = view_state();
    v.panels = ui::PanelList{};
    ui::Panel search;
    search.id = kPanelSearch;
    ASSERT_EQ(ui::panel_add(&v.panels, search), ui::kPanelAdded);
    EXPECT_FALSE(panel_open(kPanelSearch));
    ui::panel_find(&v.panels, kPanelSearch)->visible = true;
    EXPECT_TRUE(panel_open(kPanelSearch));
    EXPECT_FALSE(panel_open(kPanelTimeline));
    EXPECT_FALSE(case_ref_set(v.selected));
    v.panels = ui::PanelList{};
}

}  // namespace
}  // namespace nd
