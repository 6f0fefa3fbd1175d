#include "content/save.h"

#include <mutex>
#include <vector>

#include "store/cases.h"
#include "store/keys.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd::content {

namespace {

// Guarded by StorageLock. Never destroyed: the autosave thread may still
// save while the process ends.
std::vector<CaseRef>& marked() {
    static auto* m = new std::vector<CaseRef>;
    return *m;
}

// The slot the Case holds now, or -1 when it left its board.
int current_slot(const CaseRef& ref) {
    const CaseRecord* r = find_case(ref.group, ref.board, ref.slot);
    if (r && same_item(r->key, ref.key)) return ref.slot;
    for (int s = 0; s < kCaseSlots; ++s) {
        r = find_case(ref.group, ref.board, s);
        if (r && same_item(r->key, ref.key)) return s;
    }
    return -1;
}

}  // namespace

void mark_content_changed(const CaseRef& ref) {
    if (content_changed(ref)) return;
    marked().push_back(ref);
}

bool content_changed(const CaseRef& ref) {
    for (const CaseRef& m : marked())
        if (m.group == ref.group && m.board == ref.board && same_item(m.key, ref.key)) return true;
    return false;
}

int save_changed_contents() {
    std::lock_guard<std::mutex> hold(StorageLock);
    return save_changed_contents_locked();
}

int save_changed_contents_locked() {
    std::vector<CaseRef>& list = marked();
    int written = 0;
    bool failed = false;
    size_t keep = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        CaseRef& ref = list[i];
        ref.slot = current_slot(ref);
        if (ref.slot < 0) continue;
        if (save_case(2, ref.group, ref.board, ref.slot) == 0) {
            ++written;
            continue;
        }
        failed = true;
        list[keep++] = ref;
    }
    list.resize(keep);
    return failed ? -2 : written;
}

}  // namespace nd::content
