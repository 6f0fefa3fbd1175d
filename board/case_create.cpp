#include "board/case_create.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "base/gbk.h"
#include "board/cards.h"
#include "board/command_case.h"
#include "board/command_rows.h"
#include "board/form_dialog.h"
#include "board/geometry.h"
#include "board/hit_codes.h"
#include "board/main_view.h"
#include "board/options.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd {

namespace {

// The key type of a Case follows its kind code; a code that names no kind
// makes a plain Case.
uint16_t key_type_of(int code) {
    switch (code) {
        case kKindObject:
        case kKindPerson:
        case kKindEvent:
        case kKindTask:
            return uint16_t(code);
        default:
            return kAttrFragment;
    }
}

uint16_t kind_of(int code) {
    return key_type_of(code) == kAttrFragment ? uint16_t(kKindNone) : uint16_t(code);
}

}  // namespace

int create_case_on_board(MainView& view, const char* title, int code) {
    const int group = view_state().group, board = view_state().board;
    // The middle of the board view, where a jump puts a card.
    const int scale = view.zoom.scale;
    const int32_t x = screen_to_board(view.width / 2 - 133, view.origin_x, scale);
    const int32_t y = screen_to_board(view.height / 2 - 66, view.origin_y, scale);
    LocationRef at;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        const Board* shown = find_board(group, board);
        if (!shown || shown->case_count >= uint32_t(kMaxCases)) return -1;
        RecordKey key = make_key(key_type_of(code));
        draw_fresh_serial(key);
        char formatted[sizeof CaseRecord{}.title];
        std::snprintf(formatted, sizeof formatted, "%s", title ? title : "");
        at = create_case(formatted, key, group, board);
        if (at.flag != 0) {
            std::fprintf(stderr, "nodrel: a new Case cannot be written (%d)\n", at.flag);
            return -1;
        }
        CaseRecord* record = find_case(group, board, at.slot);
        record->x = x;
        record->y = y;
        record->kind = kind_of(code);
        // The Case and its place in the board's list are on disk already; a
        // record that cannot be written again keeps its place in memory, and
        // the board's next save of the Case writes it.
        if (save_case(0, group, board, at.slot) != 0) {
            std::fprintf(stderr, "nodrel: the new Case's place cannot be written yet\n");
        }
    }
    const int card = make_card(view, at.slot);
    if (card < 0) return -1;
    view.z_order[size_t(view.z_count++)] = card;
    select_card(view, card);
    refresh_panels_later(panel_bit(kPanelLeftBar));
    request_redraw(view);
    return kHitFirstCard + card;
}

int create_category(int group, int slot, const char* name) {
    std::lock_guard<std::mutex> hold(StorageLock);
    if (live_board_count(group) >= kMaxBoards) return -1;
    const LocationRef at = add_board(name, nullptr, group, slot);
    if (at.flag != 0) return -1;
    return at.board;
}

int add_resource(const CaseRef& target, const char* name) {
    MenuTarget on;
    on.target = target;
    std::lock_guard<std::mutex> hold(StorageLock);
    CaseRecord* record = command_case(on);
    if (!record || record->resource_count >= kMaxResources) return -1;
    const int index = record->resource_count;
    std::memset(record->resource_names[index], 0, sizeof record->resource_names[index]);
    gbk_copy_field(record->resource_names[index], sizeof record->resource_names[index],
                   name ? name : "");
    record->resource_values[index] = 0;
    record->resource_count = uint16_t(index + 1);
    const LocationRef& at = target.where;
    const int status = save_case(0, at.group, at.board, at.slot);
    if (status != 0) {
        std::memset(record->resource_names[index], 0, sizeof record->resource_names[index]);
        record->resource_count = uint16_t(index);
    }
    return status;
}

void new_case(MainView& view, int code) {
    if (option_on(kOptionQuickNote)) {
        static_cast<void>(create_case_on_board(view, "", kPlainCaseCode));
        return;
    }
    open_form_dialog(view, kDialogNewCase, code, view.width / 2 - 133, view.height / 2 - 66);
}

bool confirm_new_category(MainView&, FormDialog& d) {
    const int slot = create_category(view_state().group, d.argument, form_field_text(d, 0).c_str());
    if (slot < 0) return false;
    refresh_panels_later(panel_bit(kPanelLeftBar));
    return true;
}

// A board that is full keeps the dialog open: the remaining counts say why.
bool confirm_new_case(MainView& view, FormDialog& d) {
    return create_case_on_board(view, form_field_text(d, 0).c_str(), d.argument) >= 0;
}

bool confirm_add_resource(MainView&, FormDialog& d) {
    if (add_resource(d.target, form_field_text(d, 0).c_str()) != 0) return false;
    refresh_panels_later(panel_bit(kPanelContentEditor));
    return true;
}

// 新建分类 appends; 在此新建分类 fills the free slot of the row.
void new_category_command(MainView& view, int item, const MenuTarget& target) {
    const int slot = item == 1 ? target.target.where.board : -1;
    open_form_dialog(view, kDialogNewCategory, slot, target.x, target.y);
}

void new_case_command(MainView& view, int, const MenuTarget&) {
    new_case(view, kPlainCaseCode);
}

// The Case to add to is the one the menu was opened for (the content
// editor's Case).
void add_resource_command(MainView& view, int, const MenuTarget& target) {
    if (!command_case(target)) return;
    open_form_dialog(view, kDialogAddResource, 0, view.width / 2 - 133, view.height / 2 - 66);
    if (FormDialog* d = form_dialog(view)) d->target = target.target;
}

}  // namespace nd
