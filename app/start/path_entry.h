// The path entry drawn on the start page when no file chooser program is
// installed: one line of GBK text in the kit's text field.
#pragma once

#include <cstddef>

#include "ui/text_field.h"

namespace nd::start {

// The longest path a recent entry can hold (its field is 2048 bytes with the
// terminating zero).
inline constexpr size_t kMaxPathBytes = 2047;

enum class EntryPurpose { kNew, kOpen };

inline ui::TextField path_field() {
    ui::TextField field;
    field.max_bytes = kMaxPathBytes;
    return field;
}

struct PathEntry {
    EntryPurpose purpose = EntryPurpose::kOpen;
    ui::TextField field = path_field();
};

}  // namespace nd::start
