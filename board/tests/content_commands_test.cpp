// The Case window, the rename dialog and the resource commands with a real
// workspace: renaming through the dialog's keys, resource edits through the
// menu rows, and pastes answered by the in-process clipboard.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "base/gbk.h"
#include "board/command_rows.h"
#include "board/commands.h"
#include "board/cards.h"
#include "board/case_window_board.h"
#include "board/command_case.h"
#include "board/dialog.h"
#include "board/pointer.h"
#include "board/rename_dialog.h"
#include "board/tests/board_fixture.h"
#include "board/window_card.h"
#include "content/card_content.h"
#include "content/case_window.h"
#include "content/resources.h"
#include "gfx/window/clipboard.h"
#include "gfx/window/clipboard_fake.h"
#include "gfx/window/drops.h"
#include "gfx/window/window.h"
#include "session/menu_objects.h"
#include "store/tables.h"
#include "ui/keys.h"

namespace nd {
namespace {

using testing::BoardTest;

class ContentCommands : public BoardTest {
protected:
    void SetUp() override {
        BoardTest::SetUp();
        view.measure = gfx::new_image(1, 1);
        content::set_case_window_folders(root, dir + "/");
    }
    void TearDown() override {
        close_dialog(view);
        content::close_case_window();
        gfx::delete_image(view.measure);
        view.measure = nullptr;
        BoardTest::TearDown();
    }
    MenuTarget on(int object, const CaseRef& ref, int row = -1) {
        MenuTarget t;
        t.object = object;
        t.target = ref;
        t.row = row;
        t.card = find_card(view, ref);
        return t;
    }
    void keys(const std::string& text) {
        for (unsigned char c : text) view.dialog.hooks->key(view, c);
    }
    static std::string title(const CaseRecord& r) { return field_text(r.title, sizeof r.title); }
};

TEST_F(ContentCommands, RenamingACaseThroughTheDialogSavesItAndReLaysOutItsCard) {
    const CaseRef ref = add_case("old");
    run_command(view, 4, on(kHitFirstCard, ref));
    ASSERT_TRUE(rename_dialog_open(view));
    // The dialog opens with the title selected, so typing replaces it.
    keys("a much longer title");
    view.dialog.hooks->key(view, ui::kKeyEnter);
    EXPECT_FALSE(dialog_is_open(view));
    EXPECT_EQ(title(stored(ref)), "a much longer title");
    EXPECT_STREQ(view.cards[0].title, "a much longer title");
    EXPECT_GT(view.cards[0].title_width, gfx::text_width("old", view.measure));
}

TEST_F(ContentCommands, EscAndAnEmptyTextChangeNothing) {
    const CaseRef ref = add_case("keep");
    run_command(view, 4, on(kHitFirstCard, ref));
    keys("other");
    view.dialog.hooks->key(view, ui::kKeyEscape);
    EXPECT_FALSE(dialog_is_open(view));
    EXPECT_EQ(title(stored(ref)), "keep");

    run_command(view, 4, on(kHitFirstCard, ref));
    view.dialog.hooks->key(view, ui::kKeyBackspace);  // clears the selected text
    view.dialog.hooks->key(view, ui::kKeyEnter);
    EXPECT_EQ(title(stored(ref)), "keep");
}

TEST_F(ContentCommands, ResourceRowsEditAndSaveTheCase) {
    const CaseRef ref = add_case("holder");
    ASSERT_TRUE(add_named_resource(view, ref, "gold"));
    ASSERT_TRUE(add_named_resource(view, ref, "wood"));
    ASSERT_TRUE(add_named_resource(view, ref, "iron"));

    // 改值: "12abc" is 12; the title names the resource.
    run_command(view, 51, on(kMenuEditorResource, ref, 1));
    ASSERT_TRUE(rename_dialog_open(view));
    RenameTarget t;
    t.kind = RenameKind::kResourceValue;
    t.target = ref;
    t.index = 1;
    EXPECT_EQ(rename_title(t), "\xB6\xD4 <wood> \xB8\xC4\xD6\xB5");  // 对 <wood> 改值
    keys("12abc");
    view.dialog.hooks->key(view, ui::kKeyEnter);
    EXPECT_EQ(stored(ref).resource_values[1], 12);

    // 改叠加值 with "abc" stores 0; with "5" stores 5.
    EXPECT_TRUE(apply_rename(view, {RenameKind::kOverlayValue, ref, 1}, "5"));
    EXPECT_EQ(content::overlay_value(stored(ref), 1), 5);
    EXPECT_TRUE(apply_rename(view, {RenameKind::kResourceValue, ref, 0}, "abc"));
    EXPECT_EQ(stored(ref).resource_values[0], 0);

    run_command(view, 47, on(kMenuEditorResource, ref, 1));  // 清空
    EXPECT_EQ(stored(ref).resource_values[1], 0);

    run_command(view, 50, on(kMenuEditorResource, ref, 0));  // 删除
    const CaseRecord after = stored(ref);
    EXPECT_EQ(after.resource_count, 2);
    EXPECT_EQ(field_text(after.resource_names[0], 16), "wood");
    EXPECT_EQ(field_text(after.resource_names[1], 16), "iron");
}

TEST_F(ContentCommands, AThirtyFirstResourceIsNotAdded) {
    const CaseRef ref = add_case("full");
    for (int i = 0; i < kMaxResources; ++i) ASSERT_TRUE(add_named_resource(view, ref, "r"));
    EXPECT_FALSE(add_named_resource(view, ref, "more"));
    EXPECT_EQ(stored(ref).resource_count, kMaxResources);
}

TEST_F(ContentCommands, SynchronisingSavesEveryLinkedCase) {
    const CaseRef a = add_case("a"), b = add_case("b");
    {
        CaseRecord* ra = find_case(0, 0, a.where.slot);
        ASSERT_TRUE(add_link(*ra, b.key, b.where, true));
    }
    ASSERT_TRUE(add_named_resource(view, a, "shared"));
    run_command(view, 48, on(kMenuEditorResourceArea, a));
    EXPECT_EQ(field_text(stored(b).resource_names[0], 16), "shared");
}

// The Case window pastes through the clipboard's tickets: the answer comes
// on a later step, and a single web address becomes a link that takes its
// address as its title when no page answers.
class CaseWindowPaste : public ContentCommands {
protected:
    void SetUp() override {
        ContentCommands::SetUp();
        gfx::force_headless(true);
        gfx::clipboard_reset();
    }
    void TearDown() override {
        ContentCommands::TearDown();
        gfx::clipboard_reset();
        gfx::force_headless(false);
    }
    CaseRef open_case(const char* text) {
        const CaseRef ref = add_case("c");
        std::strcpy(find_case_body(0, 0, ref.where.slot)->text, text);
        EXPECT_EQ(content::open_case_window(ref, {900, 100, 480, 700}, content::kTabContent), 0);
        return ref;
    }
    void step_until(const std::function<bool()>& done) {
        for (int i = 0; i < 400 && !done(); ++i) {
            content::case_window_step(0);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_TRUE(done());
    }
    ui::Panel& panel() { return *ui::panel_find(&view_state().panels, kPanelContentEditor); }
};

TEST_F(CaseWindowPaste, PastedTextArrivesOnALaterStep) {
    const CaseRef ref = open_case("x\n");
    gfx::fake_clipboard_offer({{"UTF8_STRING", "\xE4\xBD\xA0 pasted"}});  // 你 pasted
    ASSERT_TRUE(panel().hooks->key(panel(), ui::kKeyPaste));
    CaseBody* body = find_case_body(0, 0, ref.where.slot);
    step_until([&] { return std::string(body->text).find("pasted") != std::string::npos; });
    EXPECT_EQ(std::string(body->text).rfind("\xC4\xE3 pasted", 0), 0u) << body->text;
}

TEST_F(CaseWindowPaste, AWebAddressBecomesALinkNamedWhenNoTitleComes) {
    const CaseRef ref = open_case("\n");
    // Nothing listens on port 9 here, so no title comes back.
    gfx::fake_clipboard_offer({{"UTF8_STRING", "http://127.0.0.1:9/page"}});
    ASSERT_TRUE(panel().hooks->key(panel(), ui::kKeyPaste));
    const CaseRecord* record = find_case(0, 0, ref.where.slot);
    step_until([&] { return record->attachments[0].kind != 0; });
    EXPECT_NE(std::string(find_case_body(0, 0, ref.where.slot)->text).find("**htp:00\n"),
              std::string::npos);
    step_until([&] { return record->attachments[0].kind == kAttachLink; });
    EXPECT_STREQ(record->attachments[0].name, "http://127.0.0.1:9/page");
    EXPECT_STREQ(record->attachments[0].path, "http://127.0.0.1:9/page");
}

TEST_F(CaseWindowPaste, ClosingTheWindowWritesTheContent) {
    const CaseRef ref = open_case("\n");
    for (unsigned char c : std::string("hi")) panel().hooks->key(panel(), c);
    content::close_case_window();
    const std::string bytes = testing::read_all(make_path(root, ref.key.type, ref.key, 1));
    EXPECT_EQ(bytes.substr(0, 5), std::string("hi\n\n\n"));
}

TEST_F(CaseWindowPaste, ADoubleClickOnACardOpensItsCaseAndDeletingItClosesTheWindow) {
    const CaseRef ref = add_case("card");
    const gfx::Rect r = view.cards[0].rect;
    uint64_t tick = 1000;
    for (int press = 0; press < 2; ++press) {
        pointer_message(view, {r.x + 5, r.y + 5, gfx::kMouseDown, gfx::kMouseLeft, 0}, tick += 60);
        pointer_message(view, {r.x + 5, r.y + 5, gfx::kMouseUp, gfx::kMouseLeft, 0}, tick += 60);
    }
    ASSERT_TRUE(content::case_window_open());
    EXPECT_TRUE(same_item(content::case_window_case().key, ref.key));
    EXPECT_EQ(content::case_window_tab(), content::kTabContent);

    // The window lets go of the Case before the store frees it.
    EXPECT_EQ(delete_case_through_board(view, ref), 0);
    EXPECT_FALSE(content::case_window_open());
}

// A picture still being stored when the program ends goes into the
// content before the window closes.
TEST_F(CaseWindowPaste, APictureBeingStoredAtExitIsNotDropped) {
    const CaseRef ref = open_case("\n");
    const std::string png = dir + "/p.png";
    gfx::IMAGE* image = gfx::new_image(300, 200);
    ASSERT_EQ(gfx::save_png(image, png.c_str()), 0);
    gfx::delete_image(image);
    gfx::fake_clipboard_offer({{"image/png", testing::read_all(png)}});
    ASSERT_TRUE(panel().hooks->key(panel(), ui::kKeyPaste));
    content::case_window_step(0);  // the answer starts the picture's storing
    content::close_case_window_at_exit();
    const CaseRecord* record = find_case(0, 0, ref.where.slot);
    EXPECT_EQ(record->attachments[0].kind, kAttachImage);
    const std::string bytes = testing::read_all(make_path(root, ref.key.type, ref.key, 1));
    EXPECT_NE(bytes.find("**img:00\n"), std::string::npos);
}

// Ctrl+click on a window card's file line whose file is gone: nothing is
// started, and the Case opens in the Case window saying why.
TEST_F(CaseWindowPaste, ACtrlClickOnAMissingFileOfAWindowCardSaysWhy) {
    const CaseRef ref = add_case("window", 0, kFormCase);
    CaseRecord* record = find_case(0, 0, ref.where.slot);
    record->attachments[0].kind = kAttachFile;
    std::strcpy(record->attachments[0].name, "gone.txt");
    std::strcpy(record->attachments[0].path, "/nowhere/gone.txt");
    CaseBody* body = find_case_body(0, 0, ref.where.slot);
    std::strcpy(body->text, "**fle:00\n");
    const int index = find_card(view, ref);
    Card& card = view.cards[size_t(index)];
    card.rect = {100, 100, 300, 300};
    const gfx::Rect area = window_text_area(card.rect);
    gfx::IMAGE* canvas = gfx::new_image(800, 600);
    content::draw_card_content(*record, *body, root, 0, {0xFFFFFFFF, 0xFF000000}, canvas,
                               {area.x, area.y, area.w, area.h});
    gfx::delete_image(canvas);

    open_card_attachment(view, index, area.x + 10, area.y + 200);  // below the lines: nothing
    EXPECT_FALSE(content::case_window_open());
    open_card_attachment(view, index, area.x + 10, area.y + 10);
    ASSERT_TRUE(content::case_window_open());
    EXPECT_FALSE(content::case_window_message().empty());
}

// Files let go over the Case window go into its Case; over a card, the
// card's Case opens and takes them.
TEST_F(CaseWindowPaste, DroppedFilesGoIntoTheCaseUnderThem) {
    const CaseRef shown = open_case("\n");
    const gfx::Rect w = content::case_window_rect();
    gfx::drop_begin();
    gfx::drop_file("/somewhere/notes.txt");
    gfx::drop_complete(w.x + 20, w.y + 200);
    take_drops(view);
    const CaseRecord* record = find_case(0, 0, shown.where.slot);
    EXPECT_EQ(record->attachments[0].kind, kAttachFile);
    EXPECT_STREQ(record->attachments[0].name, "notes.txt");

    content::close_case_window();
    const CaseRef other = add_case("other");
    const gfx::Rect card = view.cards[size_t(find_card(view, other))].rect;
    gfx::drop_begin();
    gfx::drop_file("/somewhere/a.txt");
    gfx::drop_file("/somewhere/b.txt");
    gfx::drop_complete(card.x + 5, card.y + 5);
    take_drops(view);
    ASSERT_TRUE(content::case_window_open());
    EXPECT_TRUE(same_item(content::case_window_case().key, other.key));
    const CaseRecord* second = find_case(0, 0, other.where.slot);
    EXPECT_STREQ(second->attachments[0].name, "a.txt");
    EXPECT_STREQ(second->attachments[1].name, "b.txt");
}

}  // namespace
}  // namespace nd
