// The content document of a Case: NUL-terminated GBK text in the Case's
// 65,536-byte body, in which attachments stand as marker lines that point
// into the record's 100 attachment slots.
//
// A marker line is "**img:", "**fle:" or "**htp:", the slot number in at
// least two digits and a line feed ("**img:07\n", 9 bytes). Nothing here
// takes StorageLock: the callers (the editor and the layout) hold it around
// every change.
#pragma once

#include <string>

#include "store/records.h"

namespace nd::content {

inline constexpr int kLineText = 0x1000;  // the kind of a text display line
inline constexpr int kMarkerBytes = 9;

// Length limits. Typing and Enter are refused once the text is longer than
// kTypingLimit; pasted text is cut so the text stays within kPasteLimit, and
// an attachment is not inserted when its marker would pass it.
inline constexpr int kTypingLimit = 65499;
inline constexpr int kPasteLimit = 65497;

// The longest text the body may hold before its end is normalised: the three
// line feeds that may be added and the NUL must still fit in 65,536 bytes.
inline constexpr int kMaxTextBytes = 65532;

// The two halves of a Case the document lives in. Both belong to the tables.
struct Document {
    CaseRecord* record = nullptr;
    CaseBody* body = nullptr;
};

inline bool is_attachment_kind(int kind) {
    return kind == kAttachFile || kind == kAttachImage || kind == kAttachLink ||
           kind == kAttachLinkPending;
}

// The text's length. A body without a NUL (a damaged file) is cut to
// kMaxTextBytes at a character start, so every later step may rely on it.
int text_length(CaseBody& body);

// Makes the text end in three line feeds, as the layout and the caret
// rules expect: "abc" gains three, "ab\n" two, "abc\n\n" one. The line
// feed of a final marker line does not count. Returns the new length.
int normalise_end(CaseBody& body);

// Marker recognised at `p` (at most `avail` bytes): the slot number 0..99
// and, through the out-parameters, the slot kind the prefix names
// (kAttachImage, kAttachFile or kAttachLink) and the marker's length with
// its line feed. -1 when `p` holds no marker.
int parse_marker(const char* p, int avail, int* prefix_kind, int* length);

// Writes the marker of `kind` for `slot` into `out` (room for 11 bytes),
// preceded by a line feed when `leading_lf`. Returns the bytes written.
int format_marker(char* out, int kind, int slot, bool leading_lf);

// Inserts `n` bytes at `at`; the caller has checked the limits.
void insert_bytes(CaseBody& body, int length, int at, const char* bytes, int n);
// Removes `n` bytes at `at`.
void remove_bytes(CaseBody& body, int length, int at, int n);

// Frees a slot: kind 0, name and path emptied.
void free_slot(CaseRecord& record, int slot);

// Fills the lowest free slot; -1 when all 100 are in use. Name and path are
// cut to their fields without splitting a character.
int allocate_slot(CaseRecord& record, int kind, const std::string& name, const std::string& path);

// Where an attachment lives: for an image the workspace root followed by
// the slot's relative path as a disk path; for a file the stored path as a
// disk path (UTF-8); for a link its target. "" for a free slot or a path
// that would leave the workspace.
std::string resolve_attachment(const CaseRecord& record, int slot, const std::string& root);

}  // namespace nd::content
