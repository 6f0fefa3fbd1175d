// Helpers shared by the editor's files. Not part of its surface.
#pragma once

#include "content/editor.h"

namespace nd::content::detail {

// The last offset the caret may take: never into the text's last three
// bytes (its trailing line feeds) and never past the laid-out lines.
int max_caret(const EditorState& e);

// Rows of the text box.
int visible_rows(const EditorState& e);

// Moves the caret to `offset` (clamped, snapped to a character start or an
// attachment line's start), maps it to its line and column and scrolls the
// view to it. The preferred column is forgotten unless `keep_preferred`.
void place_caret(EditorState& e, int offset, bool keep_preferred = false);

// Lays the document out again. The caller holds StorageLock.
void relayout_locked(EditorState& e, LayoutMode mode);

// Ends a change made under StorageLock (which the caller still holds): the
// document is laid out again, the caret placed and the Case marked for
// saving. The caller then takes the undo snapshot with `snapshot`.
void commit_locked(EditorState& e, int caret_offset);
void snapshot(EditorState& e);

// Removes an attachment line and frees its slot and held preview. The
// caller holds StorageLock; the layout is stale afterwards.
void remove_attachment_line(EditorState& e, int line);

// Deletes the selection by rebuilding the text from the display lines. The
// caller holds StorageLock; returns the offset where the selection began
// (the layout is stale afterwards).
int delete_selection_locked(EditorState& e);

// Inserts an attachment at the caret by the marker rules. The caller holds
// StorageLock and takes the snapshot after. Returns the slot, or -1 when no
// slot is free or the marker would pass the length limit.
int insert_attachment_locked(EditorState& e, int kind, const std::string& name,
                             const std::string& path);

void copy_selection(EditorState& e);
void paste(EditorState& e);
void drop_pending(EditorState& e);

}  // namespace nd::content::detail
