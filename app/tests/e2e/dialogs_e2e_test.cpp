// Making things with the real program: a Case through Ctrl+N and its
// dialog, a link made and removed by Ctrl+Alt and a click, and the password
// set through the menu, the screen locked with Ctrl+L and unlocked only by
// that password. What reached the disk is read back, and the workspace
// passes `nodrel-tool check` after SIGTERM.
#include <cstddef>
#include <fstream>
#include <mutex>

#include "app/tests/e2e/board_cases.h"
#include "app/tests/e2e/nodrel_fixture.h"
#include "board/menu_build.h"
#include "settings/settings.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd::e2e {
namespace {

// The lock screen's colour in the first skin.
constexpr uint32_t kLockBackground = 0x1E1E1E;

class DialogsE2e : public NodrelE2e {
protected:
    std::string m_root;
    RecordKey m_board{};

    void SetUp() override {
        NodrelE2e::SetUp();
        ASSERT_TRUE(workspace_root(m_workspace, m_root));
        clear_tables();
        set_workspace_root(m_root);
        ASSERT_GE(load_workspace(), 0);
        m_board = find_board(0, 0)->key;
        clear_tables();
    }

    void xdo(const std::vector<std::string>& args) {
        std::vector<std::string> all{"xdotool"};
        all.insert(all.end(), args.begin(), args.end());
        ASSERT_EQ(run(all), 0);
    }
    void move(const WindowInfo& w, int x, int y) {
        xdo({"mousemove", "--window", std::to_string(w.id), std::to_string(x), std::to_string(y)});
    }

    // Bytes of a file at an offset, as the program last wrote them.
    template <typename T>
    T stored_at(const std::string& path, size_t offset) {
        T value{};
        std::ifstream in(path, std::ios::binary);
        in.seekg(std::streamoff(offset));
        in.read(reinterpret_cast<char*>(&value), sizeof value);
        return value;
    }
    uint32_t case_count() {
        return stored_at<uint32_t>(make_path(m_root, kTypeBoard, m_board, 0),
                                   offsetof(Board, case_count));
    }
    uint32_t link_count_of(const RecordKey& key) {
        return stored_at<uint32_t>(make_path(m_root, key.type, key, 0),
                                   offsetof(CaseRecord, link_count));
    }

    void end_and_check() {
        kill(m_pid, SIGTERM);
        ASSERT_EQ(wait_exit(), 0) << log();
        EXPECT_EQ(run({ND_TOOL_PATH, "check", m_workspace}), 0);
    }
};

TEST_F(DialogsE2e, CtrlNATitleAndEnterMakeACase) {
    start();
    const WindowInfo w = open_board();
    ASSERT_NE(w.id, 0u);
    ASSERT_TRUE(wait_for([&] { return m_x.pixel(w.id, 813, 613) == kBackground; })) << log();
    move(w, 800, 600);
    xdo({"click", "1"});
    xdo({"key", "ctrl+n"});
    nap(300);
    xdo({"type", "--delay", "30", "hello e2e"});
    xdo({"key", "Return"});
    ASSERT_TRUE(wait_for([&] { return case_count() == 1; })) << log();
    end_and_check();

    Tables.read_only = true;
    set_workspace_root(m_root);
    ASSERT_GE(load_workspace(), 0);
    const CaseRecord* record = find_case(0, 0, 0);
    ASSERT_NE(record, nullptr);
    EXPECT_STREQ(record->title, "hello e2e");
    EXPECT_EQ(record->kind, kKindNone);
    const CaseBody* body = find_case_body(0, 0, 0);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(std::string(body->text, 4), std::string("\n\n\n\0", 4));
    clear_tables();
    Tables.read_only = false;
}

TEST_F(DialogsE2e, CtrlAltAndAClickLinkTwoCasesAndASecondGestureUnlinksThem) {
    const std::vector<RecordKey> keys = add_title_cases(m_root, {{300, 300}, {800, 500}});
    ASSERT_EQ(keys.size(), 2u);
    start();
    const WindowInfo w = open_board();
    ASSERT_NE(w.id, 0u);
    ASSERT_TRUE(wait_for([&] { return m_x.pixel(w.id, 1213, 813) == kBackground; })) << log();
    const auto gesture = [&] {
        move(w, 306, 306);
        xdo({"sleep", "0.3", "keydown", "ctrl", "keydown", "alt", "sleep", "0.3", "keyup", "alt",
             "keyup", "ctrl"});
        move(w, 806, 506);
        xdo({"sleep", "0.3", "click", "1"});
    };
    gesture();
    ASSERT_TRUE(wait_for([&] {
        return link_count_of(keys[0]) == 1 && link_count_of(keys[1]) == 1;
    })) << log();
    const std::string first = make_path(m_root, keys[0].type, keys[0], 0);
    const RecordKey target = stored_at<RecordKey>(first, offsetof(CaseRecord, link_keys));
    EXPECT_TRUE(same_item(target, keys[1]));
    const LocationRef where = stored_at<LocationRef>(first, offsetof(CaseRecord, link_locations));
    EXPECT_EQ(where.group, 0);
    EXPECT_EQ(where.board, 0);
    EXPECT_EQ(where.slot, 1);

    gesture();
    EXPECT_TRUE(wait_for([&] {
        return link_count_of(keys[0]) == 0 && link_count_of(keys[1]) == 0;
    })) << log();
    end_and_check();
}

TEST_F(DialogsE2e, APasswordSetThroughTheMenuLocksAndOnlyItUnlocks) {
    start();
    const WindowInfo w = open_board();
    ASSERT_NE(w.id, 0u);
    ASSERT_TRUE(wait_for([&] { return m_x.pixel(w.id, 813, 613) == kBackground; })) << log();

    // The background's menu of the first category: its 设置密码 item.
    const int mx = 600, my = 300;
    MenuFacts facts;
    facts.first_category = true;
    std::vector<MenuEntry> entries(kMenuRoom);
    const int count = build_menu_entries(-1, facts, entries.data());
    place_menu(entries.data(), count, mx, my, w.width, w.height);
    const MenuEntry* set = nullptr;
    for (int i = 0; i < count; ++i)
        if (entries[size_t(i)].item == 8) set = &entries[size_t(i)];
    ASSERT_NE(set, nullptr);
    move(w, mx, my);
    xdo({"sleep", "0.3", "click", "3"});
    ASSERT_TRUE(wait_for([&] { return m_x.pixel(w.id, set->x + 150, set->y + 14) != kBackground; }))
        << "no menu; log:\n"
        << log();
    move(w, set->x + 60, set->y + 14);
    xdo({"sleep", "0.3", "click", "1"});
    nap(300);
    xdo({"type", "--delay", "30", "secret"});
    xdo({"key", "Tab"});
    xdo({"type", "--delay", "30", "secret"});
    xdo({"key", "Return"});
    const auto stored_password = [&] {
        WorkspaceRecord record{};
        if (read_sealed(m_workspace, &record, sizeof record) != 0) return std::string("?");
        return std::string(record.password, strnlen(record.password, sizeof record.password));
    };
    ASSERT_TRUE(wait_for([&] { return stored_password() == "secret"; })) << log();

    const auto locked = [&] { return m_x.pixel(w.id, 813, 613) == kLockBackground; };
    xdo({"key", "ctrl+l"});
    ASSERT_TRUE(wait_for(locked)) << "not locked; log:\n" << log();
    xdo({"type", "--delay", "30", "wrong"});
    xdo({"key", "Return"});
    nap(500);
    EXPECT_TRUE(locked()) << "a wrong password keeps the lock";
    xdo({"key", "--repeat", "5", "BackSpace"});
    xdo({"type", "--delay", "30", "secret"});
    xdo({"key", "Return"});
    EXPECT_TRUE(wait_for([&] { return m_x.pixel(w.id, 813, 613) == kBackground; }))
        << "still locked: " << std::hex << m_x.pixel(w.id, 813, 613) << "; log:\n"
        << log();
    end_and_check();
}

}  // namespace
}  // namespace nd::e2e
