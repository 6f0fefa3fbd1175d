// The dialog object and what it makes: its geometry by kind, text entry,
// the password messages and the screen lock, new Cases, categories and
// resources read back from the workspace's files, and the size dialog.
#include <gtest/gtest.h>

#include <string>

#include "board/case_create.h"
#include "board/form_dialog.h"
#include "board/keyboard.h"
#include "board/lock_screen.h"
#include "board/password.h"
#include "board/pointer.h"
#include "board/size_dialog.h"
#include "board/tests/board_fixture.h"
#include "gfx/window/clipboard.h"
#include "gfx/window/clipboard_fake.h"
#include "gfx/window/input_queue.h"
#include "session/workspace.h"
#include "settings/settings.h"
#include "store/boards.h"
#include "ui/keys.h"

namespace nd {
namespace {

constexpr char kZhong[] = "\xD6\xD0";  // 中
constexpr char kWen[] = "\xCE\xC4";    // 文
constexpr int kW = 1600;
constexpr int kH = 900;

class DialogTest : public testing::BoardTest {
protected:
    WorkspaceSettings settings;

    void SetUp() override {
        BoardTest::SetUp();
        std::string reason;
        ASSERT_GE(load_workspace_settings(settings, dir + "/ws.wk", &reason), 0) << reason;
        adopt_open_workspace(settings, false);
        default_config(program_config());
    }
    void TearDown() override {
        close_dialog(view);
        release_open_workspace();
        BoardTest::TearDown();
    }

    FormDialog& open(int kind, int argument = -1, int ax = 300, int ay = 200) {
        open_form_dialog(view, kind, argument, ax, ay);
        FormDialog* d = form_dialog(view);
        EXPECT_NE(d, nullptr);
        return *d;
    }
    void type(std::initializer_list<int> codes) {
        for (int code : codes) form_dialog_key(view, code);
    }
    void type(std::string_view bytes) {
        for (char c : bytes) form_dialog_key(view, static_cast<unsigned char>(c));
    }
    const std::string& text(int field = 0) { return form_field_text(*form_dialog(view), field); }
};

// Box, OK button and the first and last field's text origin, by kind, for a
// window of 1600 x 900 opened at the anchor (300, 200).
TEST_F(DialogTest, EachKindLiesWhereItsTableSays) {
    struct Case {
        int kind;
        gfx::Rect box;
        gfx::Rect ok;
        int fields;
        int first_x, first_y, last_x, last_y;
        size_t max_bytes;
    };
    const int w = kW / 2, h = kH / 2, lock_top = (kH - 65) / 2;
    const Case cases[] = {
        {1, {300, 200, 267, 132}, {383, 287, 100, 32}, 1, 326, 250, 326, 250, 20},
        {2, {300, 200, 267, 132}, {383, 287, 100, 32}, 1, 326, 250, 326, 250, 30},
        {3, gfx::Rect::from_edges(w - 152, h - 90, w + 153, h + 90), {w - 50, h + 45, 100, 32}, 2,
         w - 87, h - 90 + 50, w - 87, h - 90 + 98, 30},
        {4, gfx::Rect::from_edges(w - 152, h - 114, w + 153, h + 114), {w - 50, h + 69, 100, 32},
         3, w - 87, h - 114 + 50, w - 87, h - 114 + 146, 30},
        {5, gfx::Rect::from_edges(w - 117, lock_top + 49, w + 117, lock_top + 81), {}, 1,
         w - 109, lock_top + 58, w - 109, lock_top + 58, 30},
        {8, gfx::Rect::from_edges(w - 127, h - 90, w + 128, h + 90), {w - 50, h + 45, 100, 32}, 2,
         w - 127 + 62, h - 90 + 56, w - 127 + 146, h - 90 + 56, 5},
        {10, {300, 200, 267, 132}, {383, 287, 100, 32}, 1, 326, 250, 326, 250, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        FormDialog& d = open(c.kind);
        EXPECT_EQ(view.dialog.kind, c.kind);
        EXPECT_EQ(d.frame.box, c.box);
        EXPECT_EQ(d.has_ok, c.ok.w > 0);
        if (d.has_ok) {
            EXPECT_EQ(d.ok.rect, c.ok);
        }
        EXPECT_EQ(d.frame.close.rect, (gfx::Rect{c.box.right() - 47, c.box.y + 2, 45, 20}));
        ASSERT_EQ(d.field_count, c.fields);
        const gfx::Rect& first = d.field_rects[0];
        const gfx::Rect& last = d.field_rects[size_t(c.fields - 1)];
        EXPECT_EQ(first.x + 8, c.first_x);
        EXPECT_EQ(first.y + 8, c.first_y);
        EXPECT_EQ(last.x + 8, c.last_x);
        EXPECT_EQ(last.y + 8, c.last_y);
        EXPECT_EQ(d.fields[0].max_bytes, c.max_bytes);
        EXPECT_EQ(d.focus, 0);
    }
    // The anchored kinds' text band is the one a click places the caret in.
    const FormDialog& d = open(kDialogNewCase);
    EXPECT_EQ(d.field_rects[0], gfx::Rect::from_edges(318, 242, 548, 272));
}

TEST_F(DialogTest, TextEntryKeepsWholeCharactersWithinTheRecordsLimit) {
    open(kDialogNewCase);
    // Backspace after a Chinese character takes both of its bytes.
    type(std::string("ab") + kZhong);
    type({ui::kKeyBackspace});
    EXPECT_EQ(text(), "ab");

    // 30 bytes fit; the 31st is refused, and so is a pair at 29.
    type(std::string(28, 'x'));
    EXPECT_EQ(text().size(), 30u);
    type("y");
    EXPECT_EQ(text().size(), 30u);
    type({ui::kKeyBackspace});
    type(kZhong);
    EXPECT_EQ(text().size(), 29u) << "a pair that would not fit stays out whole";

    // 183 with no second byte after it is the middle dot.
    open(kDialogNewCase);
    type({183, ' '});
    EXPECT_EQ(text(), "\xA1\xA4 ");
    // Left steps over a whole character; Ctrl+A and a character replace all.
    type(kWen);
    type({ui::kKeyLeft});
    EXPECT_EQ(form_dialog(view)->fields[0].caret, 3u);
    type({ui::kKeySelectAll, 'z'});
    EXPECT_EQ(text(), "z");
}

// An input method delivers a whole phrase as one text event: every byte is
// queued at once and the hot-key step hands all of them to the field.
TEST_F(DialogTest, AComposedPhraseLandsWhole) {
    gfx::force_headless(true);
    ASSERT_EQ(gfx::open_window(kW, kH, 0), 0);
    gfx::reset_input();
    open(kDialogNewCase);
    const std::string phrase = std::string(kZhong) + kWen + kZhong + kWen + "ok";
    const uint64_t tick = gfx::tick_ms();
    for (char c : phrase) {
        gfx::push_key_message({static_cast<uint8_t>(c), gfx::kKeyChar, 0}, tick);
    }
    keyboard_step(view);
    EXPECT_EQ(text(), phrase);
    gfx::reset_input();
    gfx::close_window();
}

TEST_F(DialogTest, FocusMovesByTabUpAndDownAndEscClosesAllButTheUnlockDialog) {
    FormDialog& d = open(kDialogChangePassword);
    std::vector<int> seen;
    for (int code : {ui::kKeyTab, ui::kKeyTab, ui::kKeyTab, ui::kKeyDown, ui::kKeyDown,
                     ui::kKeyDown, ui::kKeyUp}) {
        type({code});
        seen.push_back(d.focus);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0, 1, 2, 2, 1}));
    type({ui::kKeyEscape});
    EXPECT_FALSE(dialog_is_open(view));

    open(kDialogUnlock);
    type({ui::kKeyEscape});
    EXPECT_EQ(view.dialog.kind, kDialogUnlock);
}

TEST(PasswordChecks, MessagesByWhatWasEntered) {
    struct Case {
        const char* first;
        const char* second;
        int message;
    };
    const Case set[] = {
        {"", "", kMessageNoPassword},
        {"abc", "abd", kMessageMismatch},
        {"abc", "", kMessageMismatch},
        {"", "abc", kMessageMismatch},
        {"abc", "abc", kMessageNone},
    };
    for (const Case& c : set) EXPECT_EQ(check_new_password(c.first, c.second), c.message) << c.first;
    EXPECT_EQ(check_changed_password("old", "wrong", "new", "new"), kMessageWrongOld);
    EXPECT_EQ(check_changed_password("old", "old", "new", "other"), kMessageMismatch);
    EXPECT_EQ(check_changed_password("old", "old", "new", "new"), kMessageNone);
    EXPECT_EQ(check_changed_password("", "", "", ""), kMessageNone) << "an empty password clears it";
    EXPECT_STREQ(dialog_message_text(kMessageWrong), "\xC3\xDC\xC2\xEB\xB2\xBB\xD5\xFD\xC8\xB7");
}

// Setting and changing the password goes to the .wk file at once; the lock
// keeps everything but the unlock dialog away until it is entered.
TEST_F(DialogTest, PasswordIsSavedAndTheLockLiftsOnlyForIt) {
    open(kDialogSetPassword);
    type("pw");
    type({ui::kKeyTab});
    type("px");
    type({ui::kKeyEnter});
    EXPECT_EQ(form_dialog(view)->message, kMessageMismatch);
    type({ui::kKeyBackspace});
    type("w");
    type({ui::kKeyEnter});
    EXPECT_FALSE(dialog_is_open(view));
    WorkspaceRecord stored{};
    ASSERT_EQ(read_sealed(dir + "/ws.wk", &stored, sizeof stored), 0);
    EXPECT_STREQ(stored.password, "pw");

    const CaseRef a = add_case("a");
    lock_view(view);
    EXPECT_TRUE(screen_locked(view));
    EXPECT_EQ(view.dialog.kind, kDialogUnlock);
    // A click on the card behind the lock does nothing; a key only types.
    view.z_order[0] = 0;
    pointer_message(view, {250, 310, gfx::kMouseDown, gfx::kMouseLeft, 0}, 1000);
    pointer_message(view, {250, 310, gfx::kMouseUp, gfx::kMouseLeft, 0}, 1016);
    EXPECT_FALSE(same_location(view_state().selected.where, a.where) &&
                 view_state().selected.key.serial == a.key.serial);
    type("px");
    type({ui::kKeyEnter});
    EXPECT_TRUE(screen_locked(view));
    EXPECT_EQ(form_dialog(view)->message, kMessageWrong);
    type({ui::kKeySelectAll});
    type("pw");
    type({ui::kKeyEnter});
    EXPECT_FALSE(screen_locked(view));
    EXPECT_FALSE(dialog_is_open(view));

    // Changing it: a wrong old password is told even with matching entries.
    run_command(view, 9, MenuTarget{});
    ASSERT_EQ(view.dialog.kind, kDialogChangePassword);
    type("no");
    type({ui::kKeyTab});
    type("new");
    type({ui::kKeyTab});
    type("new");
    type({ui::kKeyEnter});
    EXPECT_EQ(form_dialog(view)->message, kMessageWrongOld);
    type({ui::kKeyTab, ui::kKeySelectAll});
    type("pw");
    type({ui::kKeyEnter});
    EXPECT_FALSE(dialog_is_open(view));
    ASSERT_EQ(read_sealed(dir + "/ws.wk", &stored, sizeof stored), 0);
    EXPECT_STREQ(stored.password, "new");
}

TEST(LockScreen, WeekdaysAcrossAYearBoundaryAndALeapDay) {
    struct Case {
        int year, month, day, weekday;  // 0 Monday
    };
    const Case cases[] = {
        {2023, 12, 31, 6}, {2024, 1, 1, 0}, {2024, 2, 28, 2}, {2024, 2, 29, 3},
        {2024, 3, 1, 4},   {2000, 2, 29, 1}, {1900, 3, 1, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(weekday_index(c.year, c.month, c.day), c.weekday)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST_F(DialogTest, ANewCaseIsWrittenWithItsTitleKindAndThreeLineFeeds) {
    add_case("old");
    run_command(view, kItemNewCase, MenuTarget{});
    ASSERT_EQ(view.dialog.kind, kDialogNewCase);
    EXPECT_EQ(form_dialog(view)->argument, kPlainCaseCode);
    type(std::string("note ") + kZhong);
    type({ui::kKeyEnter});
    EXPECT_FALSE(dialog_is_open(view));
    ASSERT_EQ(view.card_count, 2);
    const Card& card = view.cards[1];
    EXPECT_EQ(view.z_order[0], 1) << "the new card is on top";
    const CaseRecord on_disk = stored(card.ref);
    EXPECT_STREQ(on_disk.title, (std::string("note ") + kZhong).c_str());
    EXPECT_EQ(on_disk.kind, kKindNone);
    EXPECT_EQ(on_disk.x, kW / 2 - 133);
    EXPECT_EQ(on_disk.y, kH / 2 - 66);
    EXPECT_EQ(testing::read_all(make_path(root, card.ref.key.type, card.ref.key, 1)).substr(0, 4),
              std::string("\n\n\n\0", 4));
    EXPECT_TRUE(board_lists(0, card.ref));

    // Kind codes give the Case's kind; the quick option skips the dialog.
    EXPECT_EQ(create_case_on_board(view, "who", kKindPerson), kHitFirstCard + 2);
    EXPECT_EQ(stored(view.cards[2].ref).kind, kKindPerson);
    program_config().profiles[kProductCode].options[4] = 1;
    run_command(view, kItemNewCase, MenuTarget{});
    EXPECT_FALSE(dialog_is_open(view));
    ASSERT_EQ(view.card_count, 4);
    EXPECT_STREQ(stored(view.cards[3].ref).title, "");
}

TEST_F(DialogTest, The81stCaseIsRefusedAndTheDialogStays) {
    for (int i = 0; i < kMaxCases; ++i) {
        std::lock_guard<std::mutex> hold(StorageLock);
        ASSERT_EQ(create_case("n", make_key(kAttrFragment), 0, 0).flag, 0);
    }
    open(kDialogNewCase, kPlainCaseCode);
    type("one too many");
    type({ui::kKeyEnter});
    EXPECT_TRUE(dialog_is_open(view));
    EXPECT_EQ(find_board(0, 0)->case_count, uint32_t(kMaxCases));
    EXPECT_EQ(view.card_count, 0);
}

TEST_F(DialogTest, CategoriesGoToThePlaceholderSlotOrTheEndUpTo80) {
    const int before = live_board_count(0);
    run_command(view, 0, MenuTarget{});
    ASSERT_EQ(view.dialog.kind, kDialogNewCategory);
    EXPECT_EQ(form_dialog(view)->argument, -1);
    type("plans");
    type({ui::kKeyEnter});
    EXPECT_FALSE(dialog_is_open(view));
    ASSERT_EQ(live_board_count(0), before + 1);
    const int appended = before;
    EXPECT_STREQ(find_board(0, appended)->name, "plans");

    // 在此新建分类 fills the free slot its row offers.
    MenuTarget placeholder;
    placeholder.target.where = {0, 0, 7, -1};
    run_command(view, 1, placeholder);
    type("seven");
    type({ui::kKeyEnter});
    ASSERT_NE(find_board(0, 7), nullptr);
    EXPECT_STREQ(find_board(0, 7)->name, "seven");

    while (live_board_count(0) < kMaxBoards) ASSERT_GE(create_category(0, -1, "x"), 0);
    open(kDialogNewCategory);
    type("81");
    type({ui::kKeyEnter});
    EXPECT_TRUE(dialog_is_open(view));
    EXPECT_EQ(live_board_count(0), kMaxBoards);
}

TEST_F(DialogTest, AResourceIsAddedToTheGivenCaseUpTo30) {
    const CaseRef a = add_case("a");
    MenuTarget on;
    on.target = a;
    run_command(view, 45, on);
    ASSERT_EQ(view.dialog.kind, kDialogAddResource);
    type("money");
    type({ui::kKeyEnter});
    EXPECT_FALSE(dialog_is_open(view));
    CaseRecord on_disk = stored(a);
    ASSERT_EQ(on_disk.resource_count, 1);
    EXPECT_STREQ(on_disk.resource_names[0], "money");
    EXPECT_EQ(on_disk.resource_values[0], 0);
    for (int i = 1; i < kMaxResources; ++i) ASSERT_EQ(add_resource(a, "r"), 0);
    EXPECT_EQ(add_resource(a, "r"), -1);
    EXPECT_EQ(stored(a).resource_count, kMaxResources);
}

TEST(SizeDialog, EntriesGiveTheSizeClampedOrTheWorkArea) {
    const gfx::Rect area{0, 0, 1920, 1050};
    struct Case {
        const char* width;
        const char* height;
        int w, h;
        bool maximised;
    };
    const Case cases[] = {
        {"5000", "200", 3840, 300, false}, {"", "", 1920, 1050, true},
        {"0", "0", 1920, 1050, true},     {"1024", "", 1024, 1050, false},
        {"abc", "700", 1920, 700, false}, {"299", "3841", 300, 3840, false},
    };
    for (const Case& c : cases) {
        const SizeChoice s = size_from_entries(c.width, c.height, area);
        EXPECT_EQ(s.width, c.w) << c.width << " x " << c.height;
        EXPECT_EQ(s.height, c.h) << c.width << " x " << c.height;
        EXPECT_EQ(s.maximised, c.maximised) << c.width << " x " << c.height;
    }
}

TEST_F(DialogTest, TheSizeDialogStoresTheSizeAndAsksForARelayout) {
    run_command(view, 10, MenuTarget{});
    ASSERT_EQ(view.dialog.kind, kDialogWindowSize);
    type("5000");
    type({ui::kKeyTab});
    type("200");
    type({ui::kKeyEnter});
    EXPECT_FALSE(dialog_is_open(view));
    EXPECT_EQ(app.WindowWidth, 3840);
    EXPECT_EQ(app.WindowHeight, 300);
    EXPECT_EQ(app.WindowPlaced, 1);
    EXPECT_EQ(app.RunState.load(), kRelayout);
    int w = 0, h = 0;
    ASSERT_TRUE(stored_window_size(&w, &h));
    EXPECT_EQ(w, 3840);
    EXPECT_EQ(h, 300);
}

// Ctrl+V asks the window's clipboard and the text lands on a later frame;
// password fields neither copy nor paste.
TEST_F(DialogTest, PasteLandsWhenTheClipboardAnswers) {
    gfx::force_headless(true);
    ASSERT_EQ(gfx::open_window(kW, kH, 0), 0);
    gfx::fake_clipboard_offer({{"UTF8_STRING", "pasted\nsecond line"}});
    open(kDialogNewCase);
    type({ui::kKeyPaste});
    for (int i = 0; i < 200 && text().empty(); ++i) {
        form_dialog_tick(view);
        if (text().empty()) usleep(1000);
    }
    EXPECT_EQ(text(), "pasted");
    type({ui::kKeySelectAll, ui::kKeyCopy});

    open(kDialogSetPassword);
    type({ui::kKeyPaste});
    for (int i = 0; i < 20; ++i) form_dialog_tick(view);
    EXPECT_EQ(text(), "");
    gfx::close_window();
    gfx::clipboard_reset();
}

}  // namespace
}  // namespace nd
