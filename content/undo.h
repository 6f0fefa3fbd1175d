// The editor's undo history: up to 100 snapshots, each the caret fields, the
// attachment table and the content text of the Case.
//
// Only the attachment table is kept of the record: it is the record's one
// part the content edits. Restoring the whole record would also take back a
// status colour, a resource or a card position changed by a board command
// while the editor was open. A snapshot copies at most 51,600 + 65,536 bytes,
// less than the Case's two records (and usually far less: the text up to its
// end, the slots up to the last in use), and the ring's buffers are made
// once, on first use, so a warm ring allocates nothing per keystroke.
#pragma once

#include <memory>

#include "store/records.h"

namespace nd::content {

struct CaretFields {
    int offset = 0;      // byte offset of the caret in the text
    int line = 0;        // display line
    int column = 0;      // byte offset within the line
    int preferred = -1;  // column kept across vertical moves; -1 none
    int first_row = 0;   // first visible row
};

class UndoRing {
public:
    static constexpr int kCapacity = 100;

    UndoRing();
    ~UndoRing();
    UndoRing(const UndoRing&) = delete;
    UndoRing& operator=(const UndoRing&) = delete;

    // Forgets every snapshot (the buffers are kept).
    void clear();

    // Appends the current state after the current position; snapshots that
    // were undone are dropped, and the oldest goes when 100 are held.
    void record(const CaseRecord& record, const CaseBody& body, const CaretFields& caret);

    // Steps back or forward one snapshot and restores it; false at either end.
    bool undo(CaseRecord& record, CaseBody& body, CaretFields& caret);
    bool redo(CaseRecord& record, CaseBody& body, CaretFields& caret);

    int size() const { return count_; }
    int position() const { return cursor_; }  // index of the current snapshot, -1 when empty

private:
    struct Snapshot;
    Snapshot& at(int index);  // index 0 is the oldest held
    void restore(int index, CaseRecord& record, CaseBody& body, CaretFields& caret);

    std::unique_ptr<Snapshot> slots_[kCapacity];
    int first_ = 0;  // ring position of the oldest snapshot
    int count_ = 0;
    int cursor_ = -1;
};

}  // namespace nd::content
