// Resources of a Case: adding, renaming, values typed as text, the overlay
// buttons, deleting, and copying the names to linked Cases and to a board.
#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "content/resources.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/tables.h"
#include "store/tests/workspace_fixture.h"

namespace nd::content {
namespace {

std::string name(const CaseRecord& r, int i) {
    return field_text(r.resource_names[i], sizeof r.resource_names[i]);
}

TEST(ResourceValue, TextIsReadAsALeadingDecimalNumber) {
    struct Case {
        const char* text;
        int32_t value;
    } const cases[] = {
        {"12abc", 12},  {"abc", 0},          {"", 0},
        {"-7", -7},     {"+5x", 5},          {"007", 7},
        {"1 2", 1},     {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1},
    };
    for (const Case& c : cases) EXPECT_EQ(parse_resource_value(c.text), c.value) << c.text;
}

TEST(Resources, AddStopsAtThirtyAndCutsNamesAtACharacter) {
    CaseRecord record{};
    for (int i = 0; i < kMaxResources; ++i) ASSERT_EQ(add_resource(record, "r"), i);
    EXPECT_EQ(add_resource(record, "one too many"), -1);
    EXPECT_EQ(record.resource_count, kMaxResources);

    CaseRecord fresh{};
    // 14 ASCII bytes and a two-byte character: the character does not fit
    // whole in 15 bytes and is left out.
    ASSERT_EQ(add_resource(fresh, "abcdefghijklmn\xD7\xCA"), 0);
    EXPECT_EQ(name(fresh, 0), "abcdefghijklmn");
    EXPECT_EQ(fresh.resource_values[0], 0);
    EXPECT_EQ(overlay_value(fresh, 0), 0);
}

TEST(Resources, RenameReportsOnlyAChange) {
    CaseRecord record{};
    ASSERT_EQ(add_resource(record, "gold"), 0);
    EXPECT_FALSE(rename_resource(record, 0, "gold"));
    EXPECT_TRUE(rename_resource(record, 0, "silver"));
    EXPECT_EQ(name(record, 0), "silver");
    EXPECT_FALSE(rename_resource(record, 1, "x"));  // no such resource
}

TEST(Resources, OverlayButtonsAddAndSubtractTheOverlayValue) {
    CaseRecord record{};
    ASSERT_EQ(add_resource(record, "a"), 0);
    set_overlay_value(record, 0, 5);
    EXPECT_TRUE(apply_overlay(record, 0, 1));
    EXPECT_TRUE(apply_overlay(record, 0, 1));
    EXPECT_EQ(record.resource_values[0], 10);
    EXPECT_TRUE(apply_overlay(record, 0, -1));
    EXPECT_EQ(record.resource_values[0], 5);

    set_overlay_value(record, 0, 0);
    EXPECT_FALSE(apply_overlay(record, 0, 1));
    EXPECT_EQ(record.resource_values[0], 5);

    // The value saturates instead of wrapping round.
    record.resource_values[0] = 2147483647;
    set_overlay_value(record, 0, 3);
    EXPECT_TRUE(apply_overlay(record, 0, 1));
    EXPECT_EQ(record.resource_values[0], 2147483647);
}

TEST(Resources, DeleteMovesLaterOnesUpAndZeroesTheFreedSlot) {
    CaseRecord record{};
    const char* names[] = {"one", "two", "three"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(add_resource(record, names[i]), i);
        record.resource_values[i] = 10 * (i + 1);
        set_overlay_value(record, i, i + 1);
        record.overlays[i][15] = uint8_t(0x40 + i);  // the bytes after the value go along
    }
    ASSERT_TRUE(delete_resource(record, 0));
    EXPECT_EQ(record.resource_count, 2);
    EXPECT_EQ(name(record, 0), "two");
    EXPECT_EQ(name(record, 1), "three");
    EXPECT_EQ(record.resource_values[0], 20);
    EXPECT_EQ(record.resource_values[1], 30);
    EXPECT_EQ(overlay_value(record, 1), 3);
    EXPECT_EQ(record.overlays[1][15], 0x42);
    const uint8_t zero[16] = {};
    EXPECT_EQ(std::memcmp(record.overlays[2], zero, 16), 0);
    EXPECT_EQ(std::memcmp(record.resource_names[2], zero, 16), 0);
    EXPECT_EQ(record.resource_values[2], 0);
    EXPECT_FALSE(delete_resource(record, 2));
}

class ResourceSync : public nd::testing::WorkspaceTest {
protected:
    void SetUp() override {
        WorkspaceTest::SetUp();
        ASSERT_EQ(load_workspace(), kLoadNew);
    }
    LocationRef make(const char* title, int board = 0) {
        std::lock_guard<std::mutex> hold(StorageLock);
        RecordKey key = make_key(kAttrEvent);
        static uint16_t serial = 0;
        key.serial = ++serial;
        LocationRef at = create_case(title, key, 0, board);
        EXPECT_EQ(at.flag, 0);
        return at;
    }
    CaseRecord& rec(const LocationRef& at) { return *find_case(at.group, at.board, at.slot); }
    void link(const LocationRef& from, const LocationRef& to) {
        ASSERT_TRUE(add_link(rec(from), rec(to).key, to, false));
    }
};

TEST_F(ResourceSync, ACycleIsVisitedOnceAndValuesStayTheirOwn) {
    const LocationRef a = make("a"), b = make("b"), c = make("c"), lone = make("lone");
    // a -> b -> c -> a, and b -> a again.
    link(a, b);
    link(b, c);
    link(c, a);
    link(b, a);
    ASSERT_EQ(add_resource(rec(a), "wood"), 0);
    ASSERT_EQ(add_resource(rec(a), "iron"), 1);
    set_overlay_value(rec(a), 1, 4);
    rec(b).resource_values[0] = 77;

    const std::vector<LocationRef> reached = linked_cases(a);
    ASSERT_EQ(reached.size(), 3u);
    EXPECT_TRUE(same_location(reached[0], a));

    std::vector<LocationRef> changed;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        changed = sync_resources_to_links(a);
    }
    ASSERT_EQ(changed.size(), 2u);
    for (const LocationRef& at : {b, c}) {
        EXPECT_EQ(rec(at).resource_count, 2);
        EXPECT_EQ(name(rec(at), 1), "iron");
        EXPECT_EQ(overlay_value(rec(at), 1), 4);
    }
    EXPECT_EQ(rec(b).resource_values[0], 77);
    EXPECT_EQ(rec(lone).resource_count, 0);

    // Nothing left to copy the second time.
    EXPECT_TRUE(sync_resources_to_links(a).empty());
}

TEST_F(ResourceSync, NothingHappensWithoutLinksOrWithoutResources) {
    const LocationRef a = make("a"), b = make("b");
    ASSERT_EQ(add_resource(rec(a), "wood"), 0);
    EXPECT_TRUE(sync_resources_to_links(a).empty());  // no links
    EXPECT_EQ(rec(b).resource_count, 0);

    link(b, a);
    EXPECT_TRUE(sync_resources_to_links(b).empty());  // b holds no resources
    EXPECT_EQ(rec(a).resource_count, 1);
}

TEST_F(ResourceSync, ALinkToASlotNowHoldingAnotherCaseLeadsNowhere) {
    const LocationRef a = make("a"), b = make("b");
    link(a, b);
    rec(b).key.serial ^= 0x5555;  // the slot now holds "another" Case
    EXPECT_EQ(linked_cases(a).size(), 1u);
}

TEST_F(ResourceSync, TheBoardCopyReachesEveryOtherCaseOfTheBoard) {
    const LocationRef a = make("a"), b = make("b"), c = make("c");
    ASSERT_EQ(add_resource(rec(a), "wood"), 0);
    const std::vector<LocationRef> changed = sync_resources_to_board(a, 0, 0);
    EXPECT_EQ(changed.size(), 2u);
    EXPECT_EQ(name(rec(b), 0), "wood");
    EXPECT_EQ(name(rec(c), 0), "wood");
}

}  // namespace
}  // namespace nd::content
