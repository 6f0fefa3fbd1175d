// The path entry drawn on the start page when no file chooser program is
// installed: one line of GBK text edited with the keyboard.
#pragma once

#include <string>

#include "gfx/window/window.h"

namespace nd::start {

// The longest path a recent entry can hold (its field is 2048 bytes with the
// terminating zero).
inline constexpr size_t kMaxPathBytes = 2047;

enum class EntryPurpose { kNew, kOpen };
enum class EntryResult { kNone, kSubmit, kCancel };

struct PathEntry {
    EntryPurpose purpose = EntryPurpose::kOpen;
    std::string text;  // GBK
};

// Printable bytes arrive as character records, GBK pairs as two of them;
// Backspace, Enter and Escape arrive as key-down records. Text beyond
// kMaxPathBytes is refused.
EntryResult entry_key(PathEntry* entry, const gfx::KeyMsg& key);

}  // namespace nd::start
