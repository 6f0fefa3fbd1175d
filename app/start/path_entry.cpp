#include "app/start/path_entry.h"

namespace nd::start {

namespace {

constexpr uint32_t kVkBack = 8;
constexpr uint32_t kVkReturn = 13;
constexpr uint32_t kVkEscape = 27;

bool is_lead_byte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

}  // namespace

void erase_last_character(std::string* gbk) {
    // A trail byte can look like a lead byte, so the boundaries are found by
    // walking from the start.
    size_t last = 0;
    size_t i = 0;
    while (i < gbk->size()) {
        last = i;
        bool pair = is_lead_byte(static_cast<unsigned char>((*gbk)[i])) && i + 1 < gbk->size();
        i += pair ? 2 : 1;
    }
    gbk->resize(gbk->empty() ? 0 : last);
}

EntryResult entry_key(PathEntry* entry, const gfx::KeyMsg& key) {
    if (key.kind == gfx::kKeyDown) {
        if (key.key == kVkReturn) return EntryResult::kSubmit;
        if (key.key == kVkEscape) return EntryResult::kCancel;
        if (key.key == kVkBack) erase_last_character(&entry->text);
        return EntryResult::kNone;
    }
    if (key.kind == gfx::kKeyChar && key.key >= 0x20 && key.key <= 0xFF && key.key != 0x7F &&
        entry->text.size() < kMaxPathBytes) {
        entry->text.push_back(static_cast<char>(key.key));
    }
    return EntryResult::kNone;
}

}  // namespace nd::start
