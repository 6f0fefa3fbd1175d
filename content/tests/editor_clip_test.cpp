// Copy, paste, attachments inserted at the caret, the clipboard's
// preference rules, and the mouse.
#include <gtest/gtest.h>

#include "content/tests/content_fixture.h"

namespace nd::content {
namespace {

const std::string kZhong = "\xD6\xD0";  // 中
const char kImagePath[] = "1\\img\\2024\\01\\02\\03_04_05_0000ABCD.jpg";

class EditorClip : public testing::ContentTest {};

TEST_F(EditorClip, CopyGivesTextLinesAndAttachmentPathsWithCrLf) {
    set_slot(0, kAttachImage, "0000ABCD.jpg", kImagePath, 40, 10);
    open("first\n**img:00\nsecond\n");
    struct Case {
        int begin, end;
        std::string want;
    } cases[] = {
        // A text line, an image line, another text line.
        {0, 21, "first\r\n" + std::string(kImagePath) + "\r\nsecond"},
        // Reaching a line's end takes its line feed, as CR LF.
        {2, 22, "rst\r\n" + std::string(kImagePath) + "\r\nsecond\r\n"},
        {6, 15, kImagePath},
        {15, 18, "sec"},
    };
    for (const Case& c : cases) {
        editor.selection = Selection{c.begin, c.begin, c.end};
        editor_key(editor, kKeyCopy);
        EXPECT_EQ(clipboard.written, c.want) << c.begin;
    }
}

TEST_F(EditorClip, CopyIsBoundedWithoutSplittingACharacter) {
    std::string t;
    for (int i = 0; i < 7000; ++i) t += kZhong;
    metrics.box_width = 100000;
    open(t + "\n");
    editor_key(editor, kKeySelectAll);
    editor_key(editor, kKeyCopy);
    EXPECT_EQ(clipboard.written.size(), 12286u);
}

TEST_F(EditorClip, PastedTextIsCutToTheLimitAndNeverStoresCr) {
    open(std::string(65447, 'a') + "\n\n\n");  // 65,450 bytes
    clipboard.text = std::string(100, 'b');
    editor_key(editor, kKeyPaste);
    EXPECT_EQ(text().size(), 65497u);
    EXPECT_EQ(text().substr(0, 47), std::string(47, 'b'));

    editor_close(editor);
    open(std::string(65448, 'a') + "\n\n\n");  // room for 46 bytes: 23 pairs
    clipboard.text.clear();
    for (int i = 0; i < 50; ++i) clipboard.text += kZhong;
    editor_key(editor, kKeyPaste);
    EXPECT_EQ(text().size(), 65497u);

    editor_close(editor);
    open("");
    clipboard.text = "x\r\ny\rz";
    editor_key(editor, kKeyPaste);
    EXPECT_EQ(text(), "x\ny\nz\n\n\n");
    EXPECT_EQ(editor.caret.offset, 5);
}

TEST_F(EditorClip, TextPastedOnAnAttachmentLineGoesOnALineBeforeIt) {
    set_slot(0, kAttachFile, "f", "/f");
    open("**fle:00\n");
    clipboard.text = "hi";
    editor_key(editor, kKeyPaste);
    EXPECT_EQ(text(), "hi\n**fle:00\n\n\n\n");
}

TEST_F(EditorClip, FileMarkersGoInByTheCaretRules) {
    clipboard.files = {"/home/u/a.txt"};
    struct Case {
        std::string doc;
        int caret;
        std::string want;
        int caret_after;
    } cases[] = {
        // Mid-line: a line feed first, so the marker starts its own line.
        {"hello\n", 3, "hel\n**fle:00\nlo\n\n\n", 13},
        // At a line start: the nine-byte form.
        {"hello\n", 0, "**fle:00\nhello\n\n\n", 9},
        // On an attachment line: after it.
        {"**fle:01\nx\n", 0, "**fle:01\n**fle:00\nx\n\n\n", 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.doc);
        editor_close(editor);
        std::memset(record().attachments, 0, sizeof record().attachments);
        set_slot(1, kAttachFile, "one", "/one");
        open(c.doc);
        caret_to(c.caret);
        editor_key(editor, kKeyPaste);
        EXPECT_EQ(text(), c.want);
        EXPECT_EQ(editor.caret.offset, c.caret_after);
        EXPECT_EQ(record().attachments[0].kind, kAttachFile);
        EXPECT_STREQ(record().attachments[0].name, "a.txt");
        EXPECT_STREQ(record().attachments[0].path, "/home/u/a.txt");
    }
}

TEST_F(EditorClip, FortyFilesBecomeThirtyAttachments) {
    for (int i = 0; i < 40; ++i) clipboard.files.push_back("/d/file" + std::to_string(i) + ".txt");
    open("");
    editor_key(editor, kKeyPaste);
    EXPECT_EQ(first_free_attachment(record()), 30);
    EXPECT_STREQ(record().attachments[29].name, "file29.txt");
    EXPECT_EQ(text().size(), 30u * 9 + 3);
    // One paste, one snapshot per attachment: undo takes the last one back.
    editor_key(editor, kKeyUndo);
    EXPECT_EQ(first_free_attachment(record()), 29);
}

TEST_F(EditorClip, AttachmentsStopAtTheFirstRefusal) {
    clipboard.files = {"/a", "/b", "/c"};
    for (int i = 0; i < kAttachmentSlots - 1; ++i) set_slot(i, kAttachFile, "x", "/x");
    open("");
    editor_key(editor, kKeyPaste);  // one slot left: the 101st attachment is refused
    EXPECT_EQ(text(), "**fle:99\n\n\n\n");
    EXPECT_STREQ(record().attachments[99].path, "/a");

    editor_close(editor);
    std::memset(record().attachments, 0, sizeof record().attachments);
    open(std::string(65476, 'a') + "\n\n\n");  // room for two markers of nine
    editor_key(editor, kKeyHome, kModCtrl);
    editor_key(editor, kKeyPaste);
    EXPECT_EQ(text().size(), 65497u);
    EXPECT_EQ(first_free_attachment(record()), 2);
}

TEST_F(EditorClip, ClipboardPreferenceRules) {
    struct Case {
        const char* name;
        std::string text;
        bool picture;
        int effect;
        bool accept_non_text;
        int kind;
    } cases[] = {
        {"text wins over a picture", "t", true, 1, true, kClipText},
        {"a picture wins over files", "", true, 1, true, kClipPicture},
        {"files offered for copy", "", false, 1, true, kClipFiles},
        {"files offered for move", "", false, 2, true, kClipFiles},
        {"files offered for link only", "", false, 4, true, kClipNothing},
        {"text-only callers never see pictures", "", true, 1, false, kClipNothing},
        {"text-only callers never see files", "", false, 1, false, kClipNothing},
    };
    for (const Case& c : cases) {
        clipboard = testing::FakeClipboard{};
        clipboard.text = c.text;
        if (c.picture) clipboard.picture = {1, 2, 3};
        clipboard.files = {"/f"};
        clipboard.effect = c.effect;
        EXPECT_EQ(read_clipboard(clipboard, c.accept_non_text).kind, c.kind) << c.name;
    }
    clipboard.text.clear();
    clipboard.picture.clear();
    EXPECT_EQ(query_clipboard(clipboard), kClipFiles);
}

TEST_F(EditorClip, ClickGoesToTheNearerBoundaryAndDragSelectsCharacters) {
    open("abcdef\n" + kZhong + kZhong + "\n");
    // Text starts at x 6; cells are 8 wide; the first line is at y 6..24.
    struct Click {
        int x, y, offset;
    } clicks[] = {
        {6 + 16 + 3, 10, 2},  // left part of "c"
        {6 + 16 + 5, 10, 3},  // right part of "c"
        {6 + 200, 10, 6},     // past the end: the line's last character
        {6 + 5, 28, 7},       // left half of the first 中
        {6 + 12, 28, 9},      // right half: after it, never inside
        {6, 400, 11},         // below the last line: the end of the text
    };
    for (const Click& c : clicks) {
        editor_mouse_down(editor, c.x, c.y, 0);
        editor_mouse_up(editor);
        EXPECT_EQ(editor.caret.offset, c.offset) << c.x << "," << c.y;
        EXPECT_FALSE(editor.selection.active());
    }
    editor_mouse_down(editor, 6 + 9, 10, 0);
    editor_mouse_move(editor, 6 + 14, 28);
    editor_mouse_up(editor);
    EXPECT_EQ(editor.selection.begin, 1);
    EXPECT_EQ(editor.selection.end, 9);
    // Dragging back above the press point selects the other way.
    editor_mouse_down(editor, 6 + 40, 10, 0);
    editor_mouse_move(editor, 6 + 8, 10);
    EXPECT_EQ(editor.selection.begin, 1);
    EXPECT_EQ(editor.selection.end, 5);
    editor_mouse_up(editor);
    // A double click selects the word under the pointer.
    editor_mouse_down(editor, 6 + 20, 10, 0, 2);
    editor_mouse_up(editor);
    EXPECT_EQ(editor.selection.begin, 0);
    EXPECT_EQ(editor.selection.end, 6);
}

TEST_F(EditorClip, CtrlClickOnAMissingFileSaysSo) {
    set_slot(0, kAttachFile, "gone.txt", dir + "/gone.txt");
    open("x\n**fle:00\n");
    EXPECT_EQ(editor_line_at(editor, 20, 6 + 18 + 2), 1);
    editor_mouse_down(editor, 20, 6 + 18 + 2, kModCtrl);
    // 文件不存在：
    EXPECT_EQ(editor.message,
              "\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA\xA3\xBA" + dir + "/gone.txt");
    EXPECT_EQ(editor.caret.offset, 0);  // a Ctrl+click opens; it does not move the caret
}

}  // namespace
}  // namespace nd::content
