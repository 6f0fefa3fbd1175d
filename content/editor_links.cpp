// Web links in the content: a pasted address goes in as a link waiting for
// its title, and the title, once fetched, names it.
#include <cstring>
#include <mutex>

#include "base/gbk.h"
#include "content/editor_internal.h"
#include "store/locks.h"

namespace nd::content {

int editor_insert_link(EditorState& e, const std::string& address) {
    if (!e.open || address.empty() || address.size() >= sizeof(Attachment::path)) return -1;
    int slot;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        if (e.selection.active()) detail::commit_locked(e, detail::delete_selection_locked(e));
        slot = detail::insert_attachment_locked(e, kAttachLinkPending, address, address);
    }
    if (slot >= 0) detail::snapshot(e);
    return slot;
}

bool name_pending_link(CaseRecord& record, int slot, const std::string& address,
                       const std::string& title_gbk) {
    if (slot < 0 || slot >= kAttachmentSlots) return false;
    Attachment& a = record.attachments[slot];
    // The slot may have been freed, or taken by another attachment, while
    // the title was being fetched.
    if (a.kind != kAttachLinkPending || field_text(a.path, sizeof a.path) != address) return false;
    gbk_copy_field(a.name, sizeof a.name, title_gbk.empty() ? address : title_gbk);
    a.kind = kAttachLink;
    return true;
}

void editor_relayout(EditorState& e) {
    if (!e.open) return;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        detail::relayout_locked(e, LayoutMode::kNormal);
    }
    detail::place_caret(e, e.caret.offset, true);
}

}  // namespace nd::content
