// Links made and removed by the gesture, read back from both Cases' files:
// toggling, the 70-link limit, releasing on the source, cancelling, a save
// that fails on the second side, and the relation commands.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "board/cards.h"
#include "board/geometry.h"
#include "board/link_gesture.h"
#include "board/map_marks.h"
#include "board/pointer.h"
#include "board/tests/board_fixture.h"
#include "content/case_window.h"
#include "store/boards.h"

namespace nd {
namespace {

class LinkTest : public testing::BoardTest {
protected:
    // The middle of a Case's card.
    Point mid(const CaseRef& ref) {
        const gfx::Rect& r = view.cards[size_t(find_card(view, ref))].rect;
        return {r.x + r.w / 2, r.y + r.h / 2};
    }

    void gesture(const CaseRef& from, const CaseRef& to) {
        start_link_gesture(view, from, 0, 0);
        const Point at = mid(to);
        complete_link_gesture(view, at.x, at.y);
        EXPECT_FALSE(link_gesture_active(view));
    }

    // The links of a stored record that point at `to`, by key and location.
    static int links_to(const CaseRecord& record, const CaseRef& to) {
        int n = 0;
        for (int i = 0; i < link_count(record); ++i) {
            n += same_location(record.link_locations[i], to.where) &&
                 same_item(record.link_keys[i], to.key);
        }
        return n;
    }
};

TEST_F(LinkTest, AGestureLinksBothSidesAndASecondOneUnlinksThem) {
    const CaseRef a = add_case("a");
    const CaseRef b = add_case("b");
    gesture(a, b);
    const CaseRecord sa = stored(a), sb = stored(b);
    EXPECT_EQ(links_to(sa, b), 1);
    EXPECT_EQ(links_to(sb, a), 1);
    const LinkDetail d = link_detail(sa, 0);
    EXPECT_EQ(d.kind, kLinkOrdinary);
    EXPECT_EQ(d.role, kLinkRoleGesture);
    EXPECT_EQ(d.mark_x, -1);
    EXPECT_EQ(d.relation, kRelationLoose);
    EXPECT_EQ(view.cards[0].link_count, 1) << "the card shows the link at once";
    EXPECT_EQ(view.cards[0].links[0].target_slot, b.where.slot);

    gesture(b, a);
    EXPECT_EQ(link_count(stored(a)), 0);
    EXPECT_EQ(link_count(stored(b)), 0);
    EXPECT_EQ(view.cards[0].link_count, 0);
}

// A release on the Case window links to the Case it shows; one on an empty
// spot of the board changes nothing.
TEST_F(LinkTest, AReleaseOnTheCaseWindowLinksToItsCase) {
    const CaseRef a = add_case("a");
    const CaseRef b = add_case("b");
    view.measure = gfx::new_image(1, 1);
    content::set_case_window_folders(root, dir + "/");
    ASSERT_EQ(content::open_case_window(b, {900, 100, 480, 700}, content::kTabContent), 0);
    start_link_gesture(view, a, 0, 0);
    complete_link_gesture(view, 1000, 400);
    content::close_case_window();
    EXPECT_EQ(links_to(stored(a), b), 1);
    EXPECT_EQ(links_to(stored(b), a), 1);
}

TEST_F(LinkTest, ReleasingOnTheSourceOrCancellingChangesNothing) {
    const CaseRef a = add_case("a");
    const CaseRef b = add_case("b");
    gesture(a, a);
    EXPECT_EQ(link_count(stored(a)), 0);

    // A right press during the drag cancels; the left release that follows
    // makes nothing.
    start_link_gesture(view, a, 0, 0);
    const Point at = mid(b);
    pointer_message(view, {at.x, at.y, gfx::kMouseDown, gfx::kMouseRight, 0}, 1000);
    EXPECT_FALSE(link_gesture_active(view));
    pointer_message(view, {at.x, at.y, gfx::kMouseUp, gfx::kMouseRight, 0}, 1010);
    complete_link_gesture(view, at.x, at.y);
    EXPECT_EQ(link_count(stored(a)), 0);
    EXPECT_EQ(link_count(stored(b)), 0);

    // A release on the background ends the gesture with no change.
    start_link_gesture(view, a, 0, 0);
    complete_link_gesture(view, 1500, 800);
    EXPECT_FALSE(link_gesture_active(view));
    EXPECT_EQ(link_count(stored(a)), 0);
}

// With 70 links on either side no link is made, silently; a link between
// them is still removed.
TEST_F(LinkTest, The71stLinkIsRefusedButRemovingStillWorks) {
    const CaseRef a = add_case("a");
    const CaseRef b = add_case("b");
    const CaseRef c = add_case("c");
    gesture(a, c);
    CaseRecord* ra = find_case(0, 0, a.where.slot);
    for (int i = 1; i < kMaxLinks; ++i) {
        RecordKey other = make_key(kAttrFragment);
        other.serial = uint16_t(i);
        ASSERT_TRUE(add_link(*ra, other, LocationRef{0, 5, 5, i}, false));
    }
    ASSERT_EQ(save_case(0, 0, 0, a.where.slot), 0);
    EXPECT_EQ(toggle_link(a, b, nullptr), LinkChange::kFull);
    gesture(b, a);
    EXPECT_EQ(link_count(stored(a)), kMaxLinks);
    EXPECT_EQ(link_count(stored(b)), 0);

    gesture(c, a);
    EXPECT_EQ(link_count(stored(a)), kMaxLinks - 1);
    EXPECT_EQ(links_to(stored(a), c), 0);
    EXPECT_EQ(link_count(stored(c)), 0);
}

// The second record cannot be written: the first goes back as it was, in
// memory and on disk, so no half-made link survives.
TEST_F(LinkTest, ASaveThatFailsLeavesNeitherSideLinked) {
    const CaseRef a = add_case("a");
    const CaseRef b = add_case("b");
    const std::string b_path = make_path(root, b.key.type, b.key, 0);
    ASSERT_EQ(::unlink(b_path.c_str()), 0);
    ASSERT_EQ(::mkdir(b_path.c_str(), 0755), 0);
    EXPECT_EQ(toggle_link(a, b, nullptr), LinkChange::kUnsaved);
    EXPECT_EQ(link_count(*find_case(0, 0, a.where.slot)), 0);
    EXPECT_EQ(link_count(*find_case(0, 0, b.where.slot)), 0);
    EXPECT_EQ(link_count(stored(a)), 0);
    ASSERT_EQ(::rmdir(b_path.c_str()), 0);

    // The first side failing changes nothing either.
    {
        testing::WriteLimit limit(1024);
        EXPECT_EQ(toggle_link(a, b, nullptr), LinkChange::kUnsaved);
    }
    EXPECT_EQ(link_count(*find_case(0, 0, a.where.slot)), 0);
    EXPECT_EQ(link_count(*find_case(0, 0, b.where.slot)), 0);
}

// A release on a mark of a map card links to that mark on both sides, only
// between Cases of the board shown; a mark that carries a link gives the
// Case at its other end.
TEST_F(LinkTest, MapMarksTakeLinksFromTheBoardShownOnly) {
    const CaseRef a = add_case("a");
    const CaseRef map = add_case("map", 0, kFormMap);
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        ASSERT_EQ(add_board("other", nullptr, 0, 1).flag, 0);
    }
    const CaseRef elsewhere = add_case("far", 1);
    CaseRecord* rm = find_case(0, 0, map.where.slot);
    ASSERT_TRUE(add_mark(*rm, 20, 10));
    ASSERT_TRUE(add_mark(*rm, 60, 20));
    const gfx::Rect r = view.cards[size_t(find_card(view, map))].rect;

    start_link_gesture(view, elsewhere, 0, 0, kLinkFromSearch);
    complete_link_gesture(view, r.x + 20, r.y + 10);
    EXPECT_EQ(link_count(stored(map)), 0) << "the source is on another board";
    EXPECT_EQ(link_count(stored(elsewhere)), 0);

    start_link_gesture(view, a, 0, 0);
    complete_link_gesture(view, r.x + 21, r.y + 9);
    const CaseRecord sa = stored(a), sm = stored(map);
    ASSERT_EQ(links_to(sa, map), 1);
    ASSERT_EQ(links_to(sm, a), 1);
    for (const LinkDetail& d : {link_detail(sa, 0), link_detail(sm, 0)}) {
        EXPECT_EQ(d.kind, kLinkMapMark);
        EXPECT_EQ(d.mark_x, 20);
        EXPECT_EQ(d.mark_y, 10);
    }

    // The linked mark now stands for `a`: releasing a's own gesture there
    // is a release on the source.
    CaseRef target;
    int mark = -1;
    ASSERT_TRUE(link_target_at(view, r.x + 20, r.y + 10, &target, &mark));
    EXPECT_TRUE(same_location(target.where, a.where));
    EXPECT_EQ(mark, -1);
}

TEST_F(LinkTest, ATargetThatIsNotLoadedChangesNothing) {
    const CaseRef a = add_case("a");
    CaseRef gone = add_case("b");
    gone.where.slot = 40;
    EXPECT_EQ(toggle_link(a, gone, nullptr), LinkChange::kNotLoaded);
    EXPECT_EQ(link_count(stored(a)), 0);
}

TEST_F(LinkTest, RelationCommandsSetTheFlagOfTheGivenLink) {
    const CaseRef a = add_case("a");
    const CaseRef b = add_case("b");
    const CaseRef c = add_case("c");
    gesture(a, b);
    gesture(a, c);
    MenuTarget row;
    row.target = a;
    row.row = 1;
    run_command(view, 36, row);
    EXPECT_EQ(link_detail(stored(a), 1).relation, kRelationTight);
    EXPECT_EQ(link_detail(stored(a), 0).relation, kRelationLoose);
    EXPECT_EQ(view.cards[0].links[1].relation, kRelationTight);
    run_command(view, 35, row);
    EXPECT_EQ(link_detail(stored(a), 1).relation, kRelationLoose);
    row.row = 2;
    EXPECT_EQ(set_link_relation(a, 2, true), -1) << "no such link";
}

// 关联(A) on a card starts the rubber line at its left edge, 29 below its top.
TEST_F(LinkTest, TheLinkCommandStartsAtTheCard) {
    const CaseRef a = add_case("a");
    MenuTarget on;
    on.object = kHitFirstCard;
    on.target = a;
    on.card = 0;
    run_command(view, 20, on);
    ASSERT_TRUE(link_gesture_active(view));
    EXPECT_EQ(view.link.state, kLinkFromCard);
    EXPECT_EQ(view.link.start_x, view.cards[0].rect.x);
    EXPECT_EQ(view.link.start_y, view.cards[0].rect.y + 29);
}

}  // namespace
}  // namespace nd
