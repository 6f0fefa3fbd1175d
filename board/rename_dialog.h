// The rename dialog: one text line over a blurred snapshot of the board,
// for a resource's name, value or overlay value, a Case's title and a
// category's name. Enter with a non-empty text carries the change out;
// Enter, Esc and the close button close it.
#pragma once

#include <string>

#include "board/commands.h"

namespace nd {

// What is being renamed.
enum class RenameKind {
    kResourceName,  // the editor's resource `index`
    kResourceValue,
    kOverlayValue,
    kCaseTitle,  // the Case `target`
    kCategory,   // the category (board) target.where.board of target.where.group
};

struct RenameTarget {
    RenameKind kind = RenameKind::kCaseTitle;
    CaseRef target;  // the Case, or {0, group, category, -1}
    int index = -1;  // the resource
    int x = 0;       // the box's top-left corner
    int y = 0;
};

inline constexpr int kRenameBoxWidth = 267;
inline constexpr int kRenameBoxHeight = 132;
inline constexpr int kRenameBlurPasses = 15;

// Opens the dialog with the title and initial text the target calls for.
// Nothing opens for a target that no longer exists.
void open_rename_dialog(MainView& view, const RenameTarget& target);

// What Enter does with `text` (GBK): changes and saves the target. An empty
// text changes nothing. Returns true when something changed.
bool apply_rename(MainView& view, const RenameTarget& target, const std::string& text);

// The dialog's title for a target (GBK), and the most bytes its text takes.
std::string rename_title(const RenameTarget& target);
int rename_limit(RenameKind kind);

// Once a frame while the dialog is open: the caret's blink.
void rename_dialog_step(MainView& view);

}  // namespace nd
