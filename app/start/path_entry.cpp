#include "app/start/path_entry.h"

#include "base/gbk.h"

namespace nd::start {

namespace {

constexpr uint32_t kVkBack = 8;
constexpr uint32_t kVkReturn = 13;
constexpr uint32_t kVkEscape = 27;

}  // namespace

EntryResult entry_key(PathEntry* entry, const gfx::KeyMsg& key) {
    if (key.kind == gfx::kKeyDown) {
        if (key.key == kVkReturn) return EntryResult::kSubmit;
        if (key.key == kVkEscape) return EntryResult::kCancel;
        if (key.key == kVkBack) entry->text.resize(gbk_cut_last(entry->text, 1));
        return EntryResult::kNone;
    }
    if (key.kind == gfx::kKeyChar && key.key >= 0x20 && key.key <= 0xFF && key.key != 0x7F &&
        entry->text.size() < kMaxPathBytes) {
        entry->text.push_back(static_cast<char>(key.key));
    }
    return EntryResult::kNone;
}

}  // namespace nd::start
