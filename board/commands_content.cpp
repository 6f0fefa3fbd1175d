// The commands on a Case's content and resources: copy and paste (11, 12),
// renaming (4, 46, 51, 52), clearing and deleting a resource (47, 50) and
// synchronising resources (48, 49). Adding a resource (45) asks for a name
// in the add-resource dialog, which calls add_named_resource.
#include <cstdio>
#include <mutex>
#include <vector>

#include "board/cards.h"
#include "board/case_create.h"
#include "board/command_case.h"
#include "board/command_rows.h"
#include "board/main_view.h"
#include "board/rename_dialog.h"
#include "board/window_card.h"
#include "content/case_window.h"
#include "content/resources.h"
#include "session/menu_objects.h"
#include "store/cases.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd {

namespace {

constexpr int kItemSyncLinks = 48;
constexpr int kItemResourceValue = 51;
constexpr int kItemResourceOverlay = 52;

constexpr uint32_t kResourcePanels = panel_bit(kPanelContentEditor) | panel_bit(kPanelAssessment);

// Where the rename dialog opens for a Case title: at the card, in the Case
// window below its caption, or at the menu's anchor.
RenameTarget title_target(const MainView& view, const MenuTarget& target) {
    RenameTarget t;
    t.kind = RenameKind::kCaseTitle;
    t.target = target.target;
    t.x = target.x;
    t.y = target.y;
    if (hit_is_card(target.object) && target.card >= 0 && target.card < view.card_count) {
        const gfx::Rect& r = view.cards[size_t(target.card)].rect;
        t.x = r.x + 6;
        t.y = r.y + 32;
    } else if (content::case_window_open() &&
               (target.object == kMenuEditorBody || target.object == kMenuEditorBodyEditing)) {
        t.y = content::case_window_rect().y + 32;
    }
    return t;
}

// A resource edit on the record of `target`'s Case, saved and shown.
template <typename Edit>
void edit_resource(MainView& view, const MenuTarget& target, Edit edit) {
    CaseRecord* record = command_case(target);
    if (!record || !content::resource_index_ok(*record, target.row)) return;
    bool changed;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        changed = edit(*record);
    }
    if (changed) commit_case_change(view, target, kResourcePanels);
}

// Saves the Cases a synchronisation changed and re-lays out every card,
// whose resource areas may show them.
void finish_sync(MainView& view, const std::vector<LocationRef>& changed) {
    for (const LocationRef& at : changed) {
        if (save_case_locked(at.group, at.board, at.slot) != 0)
            std::fprintf(stderr, "nodrel: a Case's resources cannot be saved\n");
    }
    for (int card = 0; card < view.card_count; ++card) refresh_card(view, card);
    refresh_panels_later(kResourcePanels);
    request_redraw(view);
}

}  // namespace

bool add_named_resource(MainView& view, const CaseRef& ref, const std::string& name_gbk) {
    if (name_gbk.empty() || add_resource(ref, name_gbk.c_str()) != 0) return false;
    if (on_shown_board(ref.where)) {
        const int card = find_card(view, ref);
        if (card >= 0) refresh_card(view, card);
    }
    refresh_panels_later(kResourcePanels);
    request_redraw(view);
    return true;
}

void rename_command(MainView& view, int, const MenuTarget& target) {
    if (target.object == kMenuCategory) {
        RenameTarget t;
        t.kind = RenameKind::kCategory;
        t.target = target.target;
        t.x = target.x;
        t.y = target.y;
        open_rename_dialog(view, t);
        return;
    }
    open_rename_dialog(view, title_target(view, target));
}

void resource_dialog_command(MainView& view, int item, const MenuTarget& target) {
    RenameTarget t;
    t.kind = item == kItemResourceValue     ? RenameKind::kResourceValue
             : item == kItemResourceOverlay ? RenameKind::kOverlayValue
                                            : RenameKind::kResourceName;
    t.target = target.target;
    t.index = target.row;
    t.x = target.x;
    t.y = target.y;
    open_rename_dialog(view, t);
}

void clear_resource_command(MainView& view, int, const MenuTarget& target) {
    edit_resource(view, target, [&](CaseRecord& r) {
        r.resource_values[target.row] = 0;
        return true;
    });
}

void delete_resource_command(MainView& view, int, const MenuTarget& target) {
    edit_resource(view, target,
                  [&](CaseRecord& r) { return content::delete_resource(r, target.row); });
}

void sync_resources_command(MainView& view, int item, const MenuTarget& target) {
    if (!command_case(target)) return;
    std::vector<LocationRef> changed;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        const LocationRef& source = target.target.where;
        changed = item == kItemSyncLinks
                      ? content::sync_resources_to_links(source)
                      : content::sync_resources_to_board(source, view_state().group,
                                                         view_state().board);
    }
    finish_sync(view, changed);
}

void copy_command(MainView&, int, const MenuTarget&) {
    content::case_window_copy();
}

void paste_command(MainView&, int, const MenuTarget&) {
    content::case_window_paste();
}

}  // namespace nd
