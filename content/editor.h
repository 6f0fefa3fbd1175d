// The content editor: a state machine over one Case's content document.
// The host (the Case window's content panel) opens a Case in an
// EditorState, feeds it keys, text and mouse events in coordinates relative
// to the editor's rectangle, calls editor_poll once a frame, and draws it
// with editor_draw. Every change is made under StorageLock and marks the
// Case for the autosave path (save.h); nothing here writes to disk.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "content/clipboard.h"
#include "content/document.h"
#include "content/import.h"
#include "content/layout.h"
#include "content/previews.h"
#include "content/save.h"
#include "content/undo.h"

namespace nd::content {

// Editing key codes shared by every text box.
enum KeyCode : int {
    kKeySelectAll = 1,
    kKeyCopy = 3,
    kKeyBackspace = 8,
    kKeyEnter = 13,
    kKeyPaste = 22,
    kKeyRedo = 25,
    kKeyUndo = 26,
    kKeyEscape = 27,
    kKeyMiddleDot = 183,
    kKeyDelete = -1,
    kKeyHome = -2,
    kKeyEnd = -3,
    kKeyPageUp = -4,
    kKeyPageDown = -5,
    kKeyLeft = -6,
    kKeyRight = -7,
    kKeyUp = -8,
    kKeyDown = -9,
};

// Modifier bits for keys and mouse presses.
inline constexpr unsigned kModCtrl = 1;
inline constexpr unsigned kModShift = 2;

enum class KeyResult {
    kIgnored,
    kHandled,
    kEscape,  // the board clears its remembered Case, if it holds one
};

// What the host supplies; it outlives every editor opened with it.
struct EditorEnv {
    std::string root;      // workspace root, ends in '/'
    std::string temp_dir;  // program's temporary folder, ends in '/'
    PreviewSource* previews = nullptr;
    Clipboard* clipboard = nullptr;  // null: copy and paste do nothing
};

// The text box inside an editor rectangle: text starts 6 pixels from the
// left and top edges, and the 10-pixel scroll bar takes the right edge.
inline constexpr int kTextInset = 6;
inline constexpr int kScrollBarWidth = 10;
Metrics editor_metrics(int width, int height, int cell_width, int row_height);

struct Selection {
    int anchor = -1;  // where a drag or a shifted move started
    int begin = -1;   // selected bytes [begin, end), whole characters and whole
    int end = -1;     // attachment lines; begin == end means nothing selected
    bool active() const { return begin >= 0 && end > begin; }
};

// An attachment of a paste waiting its turn: files are inserted in the
// order they came, so a file after a picture waits for the picture.
struct PendingAttachment {
    std::shared_ptr<ImportJob> job;  // a picture being stored, or null for a file
    std::string path_gbk;            // a file: the path stored in its slot
    std::string name_gbk;            // a file: its base name
};

struct EditorState {
    EditorState() = default;
    EditorState(const EditorState&) = delete;
    EditorState& operator=(const EditorState&) = delete;
    ~EditorState();

    bool open = false;
    const EditorEnv* env = nullptr;
    Document doc;
    CaseRef ref;
    Metrics metrics;
    Layout layout;
    HeldPreviews previews;
    UndoRing undo;
    CaretFields caret;
    Selection selection;
    int pending_lead = -1;  // first byte of a two-byte character typed alone
    // Mouse: a press that selects, or (with Ctrl) one that scrolls.
    bool selecting = false;
    bool scrolling = false;
    int scroll_from_y = 0;
    int scroll_from_row = 0;
    std::deque<PendingAttachment> pending;
    std::string message;  // GBK: what the user must be told; the host clears it
    std::string scratch;  // reused by rebuilds and copies
};

// Opens the Case at `ref` (its record and content in the tables): the
// document is laid out loading every preview, the caret comes back where it
// was when this Case was last closed in this session, and the first undo
// snapshot is taken. Returns 0, or -1 when the Case is not in the tables.
[[nodiscard]] int editor_open(EditorState& e, const EditorEnv& env, const CaseRef& ref,
                              const Metrics& metrics);

// Closes the editor: pictures still being stored are dropped (their files
// removed), previews released, the caret remembered for the next open. The
// changes stay marked for the autosave path.
void editor_close(EditorState& e);

// A new size of the text box: the document is laid out again.
void editor_resize(EditorState& e, const Metrics& metrics);

// One editing key with its modifiers.
KeyResult editor_key(EditorState& e, int code, unsigned mods = 0);

// Whole characters from an input method (GBK), as one edit.
void editor_type_text(EditorState& e, const std::string& gbk);

// Mouse, in pixels relative to the editor's rectangle. A Ctrl press on an
// attachment line opens the attachment (a reason lands in e.message); a
// Ctrl press elsewhere starts scrolling by drag.
void editor_mouse_down(EditorState& e, int x, int y, unsigned mods, int clicks = 1);
void editor_mouse_move(EditorState& e, int x, int y);
void editor_mouse_up(EditorState& e);
void editor_wheel(EditorState& e, int rows);

// The display line under a point of the editor's rectangle, or -1.
int editor_line_at(const EditorState& e, int x, int y);

// Files dropped on the editor (disk paths, UTF-8), inserted as a pasted
// file list is: at most 30, pictures stored as workspace JPEGs, the others
// as file attachments, in the order given.
void editor_insert_files(EditorState& e, const std::vector<std::string>& paths);

// Once a frame: inserts the pictures whose storing finished. Never waits.
void editor_poll(EditorState& e);

// Inserts a web link waiting for its title (kAttachLinkPending) at the
// caret, as a paste inserts an attachment. Returns the slot, or -1 when no
// slot is free, the length limit is reached or the address does not fit.
int editor_insert_link(EditorState& e, const std::string& address);

// Gives the link waiting in `slot` of `record` its title (GBK; empty: the
// address itself) and makes it a titled link. False when the slot no longer
// holds that waiting link. The caller holds StorageLock and marks the Case.
bool name_pending_link(CaseRecord& record, int slot, const std::string& address,
                       const std::string& title_gbk);

// Lays the open document out again after its record changed elsewhere.
void editor_relayout(EditorState& e);

// Opens the attachment of a display line (Ctrl+click). Returns the status
// of open_attachment; a reason lands in e.message.
int editor_open_line(EditorState& e, int line);

}  // namespace nd::content
