// The editor's keys: caret moves, typing, deleting, selections, undo.
#include <gtest/gtest.h>

#include "base/file_io.h"
#include "content/tests/content_fixture.h"

namespace nd::content {
namespace {

const std::string kZhong = "\xD6\xD0";  // 中
const std::string kWen = "\xCE\xC4";    // 文

class EditorKeys : public testing::ContentTest {};

TEST_F(EditorKeys, CaretStepsOverPairsAndMarkers) {
    set_slot(0, kAttachFile, "f", "/f");
    // a 中 b LF | marker (5..13) | x y LF, and two line feeds added.
    open("a" + kZhong + "b\n**fle:00\nxy\n");
    ASSERT_EQ(text().size(), 19u);
    struct Step {
        int key;
        int offset;
    } steps[] = {
        {kKeyRight, 1},  {kKeyRight, 3},  {kKeyRight, 4},   // over the pair
        {kKeyRight, 5},                                     // onto the marker line
        {kKeyRight, 14},                                    // over the whole marker
        {kKeyRight, 15}, {kKeyRight, 16}, {kKeyRight, 16},  // never into the last three bytes
        {kKeyLeft, 15},  {kKeyLeft, 14},  {kKeyLeft, 5},    // back onto the marker line
        {kKeyLeft, 4},   {kKeyLeft, 3},   {kKeyLeft, 1},   {kKeyLeft, 0}, {kKeyLeft, 0},
    };
    for (const Step& s : steps) {
        editor_key(editor, s.key);
        EXPECT_EQ(editor.caret.offset, s.offset) << "after key " << s.key;
    }
}

TEST_F(EditorKeys, UpAndDownKeepThePreferredColumn) {
    open("abcdef\nab\nabcdef\n" + kZhong + kWen + "\n");
    caret_to(5);
    int want[] = {9, 15, 17 + 4};  // clamped to "ab", back to 5, then end of 中文
    editor_key(editor, kKeyDown);
    EXPECT_EQ(editor.caret.offset, want[0]);
    editor_key(editor, kKeyDown);
    EXPECT_EQ(editor.caret.offset, want[1]);
    editor_key(editor, kKeyDown);
    EXPECT_EQ(editor.caret.offset, want[2]);
    editor_key(editor, kKeyUp);
    EXPECT_EQ(editor.caret.offset, 15);
    // Column 3 falls on the second byte of 文: the caret stays before it.
    caret_to(3);
    keys({kKeyDown, kKeyDown, kKeyDown});
    EXPECT_EQ(editor.caret.offset, 17 + 2);
    // Down stops at the line of the last caret offset.
    keys({kKeyDown, kKeyDown});
    EXPECT_EQ(editor.caret.line, 3);
}

TEST_F(EditorKeys, HomeEndAndDocumentEnds) {
    open("hello\nworld\n");
    caret_to(8);
    editor_key(editor, kKeyHome);
    EXPECT_EQ(editor.caret.offset, 6);
    editor_key(editor, kKeyEnd);
    EXPECT_EQ(editor.caret.offset, 11);
    editor_key(editor, kKeyHome, kModCtrl);
    EXPECT_EQ(editor.caret.offset, 0);
    editor_key(editor, kKeyEnd, kModCtrl);
    EXPECT_EQ(editor.caret.offset, 11);
}

TEST_F(EditorKeys, PageKeysMoveByTheVisibleRows) {
    std::string t;
    for (int i = 0; i < 30; ++i) t += "line\n";
    open(t);
    editor_key(editor, kKeyPageDown);
    EXPECT_EQ(editor.caret.line, 10);
    EXPECT_LE(editor.caret.first_row, 10);
    EXPECT_GT(editor.caret.first_row + 10, 10);
    editor_key(editor, kKeyPageUp);
    EXPECT_EQ(editor.caret.line, 0);
    EXPECT_EQ(editor.caret.first_row, 0);
    // Paging past the end stops with the last rows filling the box.
    keys({kKeyPageDown, kKeyPageDown, kKeyPageDown, kKeyPageDown, kKeyPageDown});
    EXPECT_EQ(editor.caret.line, 29);  // the last line the caret may take
    EXPECT_EQ(editor.caret.first_row, 32 - 10);
}

TEST_F(EditorKeys, TypingPrintablesPairsAndTheMiddleDot) {
    open("");
    type("ab");
    editor_key(editor, 0xD6);  // one character arriving as two key events
    EXPECT_EQ(text(), "ab\n\n\n");
    editor_key(editor, 0xD0);
    editor_key(editor, kKeyMiddleDot);
    EXPECT_EQ(text(), "ab" + kZhong + "\xA1\xA4\n\n\n");
    EXPECT_EQ(editor.caret.offset, 6);
    // A lone first byte followed by a move is dropped.
    editor_key(editor, 0xD6);
    editor_key(editor, kKeyLeft);
    EXPECT_EQ(text(), "ab" + kZhong + "\xA1\xA4\n\n\n");
    editor_key(editor, kKeyEnd);
    editor_type_text(editor, kWen + "x");
    EXPECT_EQ(text(), "ab" + kZhong + "\xA1\xA4" + kWen + "x\n\n\n");
}

TEST_F(EditorKeys, TypingRefusedPastTheLimitAndOnAttachmentLines) {
    set_slot(0, kAttachFile, "f", "/f");
    open("**fle:00\n");
    type("x");
    EXPECT_EQ(text(), "**fle:00\n\n\n\n");
    // Enter on an attachment line puts a line feed before its marker.
    editor_key(editor, kKeyEnter);
    EXPECT_EQ(text(), "\n**fle:00\n\n\n\n");
    EXPECT_EQ(editor.caret.offset, 1);

    editor_close(editor);
    open(std::string(65497, 'a') + "\n\n\n");  // 65,500 bytes
    type("x");
    editor_key(editor, kKeyEnter);
    EXPECT_EQ(text().size(), 65500u);
    editor_close(editor);
    open(std::string(65496, 'a') + "\n\n\n");  // 65,499 bytes: one more is allowed
    type("xy");
    EXPECT_EQ(text().size(), 65500u);
}

TEST_F(EditorKeys, BackspaceAndDeleteOverMarkers) {
    for (int s : {1, 3}) set_slot(s, kAttachFile, "f", "/f");
    open("ab\n**fle:03\n" + kZhong + "\n**fle:01\nz\n");
    // Just after the marker of slot 3: the whole marker goes, slot freed.
    caret_to(12);
    editor_key(editor, kKeyBackspace);
    EXPECT_EQ(text(), "ab\n" + kZhong + "\n**fle:01\nz\n\n\n");
    EXPECT_EQ(record().attachments[3].kind, kAttachFree);
    EXPECT_EQ(editor.caret.offset, 3);
    // Delete on the line feed before a marker takes the marker.
    editor_key(editor, kKeyRight);
    editor_key(editor, kKeyDelete);
    EXPECT_EQ(text(), "ab\n" + kZhong + "\nz\n\n\n");
    EXPECT_EQ(record().attachments[1].kind, kAttachFree);
    // A pair goes whole.
    editor_key(editor, kKeyBackspace);
    EXPECT_EQ(text(), "ab\n\nz\n\n\n");
    // Nothing is deleted among the trailing line feeds.
    editor_key(editor, kKeyEnd, kModCtrl);
    editor_key(editor, kKeyDelete);
    EXPECT_EQ(text(), "ab\n\nz\n\n\n");
}

TEST_F(EditorKeys, BackspaceOnAnAttachmentLineKeepsTheMarkerOnItsLine) {
    set_slot(0, kAttachFile, "f", "/f");
    open("ab\n\n**fle:00\n");
    caret_to(4);                        // on the marker line
    editor_key(editor, kKeyBackspace);  // the empty line before it goes
    EXPECT_EQ(text(), "ab\n**fle:00\n\n\n\n");
    EXPECT_EQ(editor.caret.offset, 3);
    editor_key(editor, kKeyBackspace);  // before it is text: the caret steps back
    EXPECT_EQ(text(), "ab\n**fle:00\n\n\n\n");
    EXPECT_EQ(editor.caret.offset, 2);
    // Delete on an attachment line removes it; the caret goes to the line
    // feed before it.
    caret_to(3);
    editor_key(editor, kKeyDelete);
    EXPECT_EQ(text(), "ab\n\n\n\n");
    EXPECT_EQ(editor.caret.offset, 2);
    EXPECT_EQ(record().attachments[0].kind, kAttachFree);
}

TEST_F(EditorKeys, DeletingASelectionRebuildsTheText) {
    // one LF | marker 0 (4..12) | two LF | marker 1 (17..25) | three LF
    const std::string doc = "one\n**fle:00\ntwo\n**fle:01\nthree\n";
    struct Case {
        int begin, end;
        const char* text;
        int caret;
        bool slot0, slot1;  // still in use afterwards
    } cases[] = {
        {1, 15, "oo\n**fle:01\nthree\n\n\n", 1, false, true},
        {2, 17, "on\n**fle:01\nthree\n\n\n", 2, false, true},  // the kept marker gets its line
        {13, 26, "one\n**fle:00\nthree\n\n\n", 13, true, false},
        {27, 29, "one\n**fle:00\ntwo\n**fle:01\ntee\n\n\n", 27, true, true},
        {4, 13, "one\ntwo\n**fle:01\nthree\n\n\n", 4, false, true},  // a marker alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.begin);
        editor_close(editor);
        set_slot(0, kAttachFile, "f0", "/f0");
        set_slot(1, kAttachFile, "f1", "/f1");
        open(doc);
        caret_to(c.begin);
        editor.selection = Selection{c.begin, c.begin, c.end};
        editor_key(editor, kKeyBackspace);
        EXPECT_EQ(text(), c.text);
        EXPECT_EQ(editor.caret.offset, c.caret);
        EXPECT_EQ(record().attachments[0].kind != kAttachFree, c.slot0);
        EXPECT_EQ(record().attachments[1].kind != kAttachFree, c.slot1);
    }
    // Select all and type: everything goes, both slots freed.
    editor_key(editor, kKeySelectAll);
    type("n");
    EXPECT_EQ(text(), "n\n\n\n");
    EXPECT_EQ(first_free_attachment(record()), 0);
}

TEST_F(EditorKeys, ShiftMovesSelectAndTypingReplaces) {
    open("hello world\n");
    caret_to(6);
    keys({kKeyRight, kKeyRight}, kModShift);
    EXPECT_EQ(editor.selection.begin, 6);
    EXPECT_EQ(editor.selection.end, 8);
    type("W");
    EXPECT_EQ(text(), "hello Wrld\n\n\n");
    // One step undoes the replacement whole.
    editor_key(editor, kKeyUndo);
    EXPECT_EQ(text(), "hello world\n\n\n");
}

TEST_F(EditorKeys, SelectionPastTheEightiethLineKeepsTheRest) {
    std::string t;
    for (int i = 0; i < 100; ++i) t += "l\n";
    open(t);
    editor_key(editor, kKeySelectAll);
    editor_key(editor, kKeyDelete);
    std::string rest;
    for (int i = 0; i < 20; ++i) rest += "l\n";
    EXPECT_EQ(text(), rest + "\n\n");
}

TEST_F(EditorKeys, UndoHoldsAHundredSnapshots) {
    open("");
    for (int i = 0; i < 150; ++i) type("x");
    int steps = 0;
    while (steps < 200) {
        std::string before = text();
        editor_key(editor, kKeyUndo);
        if (text() == before) break;
        ++steps;
    }
    EXPECT_EQ(steps, 99);
    EXPECT_EQ(text(), std::string(51, 'x') + "\n\n\n");
    EXPECT_EQ(editor.caret.offset, 51);
    for (int i = 0; i < 99; ++i) editor_key(editor, kKeyRedo);
    EXPECT_EQ(text(), std::string(150, 'x') + "\n\n\n");
    editor_key(editor, kKeyRedo);
    EXPECT_EQ(text(), std::string(150, 'x') + "\n\n\n");
    // A new edit after undoing drops the redo side.
    editor_key(editor, kKeyUndo);
    type("y");
    editor_key(editor, kKeyRedo);
    EXPECT_EQ(text(), std::string(149, 'x') + "y\n\n\n");
}

TEST_F(EditorKeys, UndoRestoresAttachmentsButNotOtherRecordFields) {
    set_slot(2, kAttachFile, "f", "/f");
    open("a\n**fle:02\n");
    caret_to(11);
    editor_key(editor, kKeyBackspace);
    EXPECT_EQ(record().attachments[2].kind, kAttachFree);
    record().colour = kColourSevere;  // a board command while the editor is open
    editor_key(editor, kKeyUndo);
    EXPECT_EQ(text(), "a\n**fle:02\n\n\n\n");
    EXPECT_EQ(record().attachments[2].kind, kAttachFile);
    EXPECT_STREQ(record().attachments[2].path, "/f");
    EXPECT_EQ(record().colour, kColourSevere);
}

TEST_F(EditorKeys, ChangesAreSavedByTheAutosavePathNotPerKey) {
    open("");
    std::string body_path = make_path(root, ref.key.type, ref.key, 1);
    std::string before = nd::testing::read_all(body_path);
    type("saved");
    EXPECT_EQ(nd::testing::read_all(body_path), before);
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        EXPECT_TRUE(content_changed(ref));
    }
    EXPECT_EQ(save_changed_contents(), 1);
    std::string after = nd::testing::read_all(body_path);
    ASSERT_EQ(after.size(), sizeof(CaseBody));
    EXPECT_EQ(std::string(after.c_str()), "saved\n\n\n");
    EXPECT_EQ(save_changed_contents(), 0);  // nothing left to write
}

TEST_F(EditorKeys, CaretComesBackWhenTheCaseIsOpenedAgain) {
    open("hello\nworld\n");
    caret_to(8);
    editor_close(editor);
    ASSERT_EQ(editor_open(editor, env, ref, metrics), 0);
    EXPECT_EQ(editor.caret.offset, 8);
    EXPECT_EQ(editor.caret.line, 1);
    EXPECT_EQ(editor.caret.column, 2);
}

}  // namespace
}  // namespace nd::content
