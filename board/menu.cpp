// Opening and closing the context menu: the object's target and facts, its
// entries and their places.
#include "board/menu.h"

#include "board/case_attributes.h"
#include "board/command_case.h"
#include "board/left_bar.h"
#include "board/main_view.h"
#include "board/menu_draw.h"
#include "board/sort_view.h"
#include "board/top_bar.h"
#include "session/menu_objects.h"
#include "session/workspace.h"
#include "store/boards.h"
#include "store/tables.h"
#include "gfx/window/clipboard.h"

namespace nd {

namespace {

// The objects whose menu acts on a Case: without that Case they have none.
bool needs_case(int object) {
    if (hit_is_card(object)) return true;
    switch (object) {
        case kMenuTopColour:
        case kMenuTopKind:
        case kMenuTopImportance:
        case kMenuTopDifficulty:
        case kMenuTopCognition:
        case kMenuBoardCase:
        case kMenuPreviewCase:
        case kMenuSearchResult:
        case kMenuTimelineEntry:
        case kMenuListRow:
        case kMenuAssessmentEntry:
        case kMenuAssessmentCase:
        case kMenuEditorKind:
        case kMenuEditorImportance:
        case kMenuEditorDifficulty:
        case kMenuEditorCognition:
        case kMenuEditorLinkRow:
        case kMenuEditorBody:
        case kMenuEditorBodyEditing:
            return true;
        default:
            return false;
    }
}

bool top_bar_case_object(int object) {
    return object >= kMenuTopColour && object <= kMenuTopCognition && object != kMenuTopArrangement;
}

MenuFacts facts_for(const MainView& view, const MenuTarget& t) {
    MenuFacts f;
    const ViewState& shown = view_state();
    f.first_category = shown.board == 0;
    f.password_set = open_workspace_settings().record.password[0] != 0;
    f.categories = live_board_count(shown.group);
    if (hit_is_card(t.object) && t.card >= 0 && t.card < view.card_count)
        f.card_form = view.cards[size_t(t.card)].form;
    if (const CaseRecord* record = command_case(t)) f.pinned = record->pinned != 0;
    if (t.object == kMenuCategory) {
        const LocationRef& at = t.target.where;
        const Board* board = find_board(at.group, at.board);
        f.category_current = at.group == shown.group && at.board == shown.board;
        f.category_first = at.board == 0;
        f.category_has_cases = board && board->case_count > 0;
    }
    if (t.object == kMenuEditorBodyEditing) {
        // The editor pastes text, pictures and files alike; the clipboard's
        // thread keeps what is offered up to date, so asking never waits.
        f.clipboard_has_data = gfx::clipboard_query() > 0;
    }
    return f;
}

// The entries of `target`'s menu in `out`; 0 when it has none.
int entries_for(const MainView& view, const MenuTarget& target, MenuEntry* out) {
    if (needs_case(target.object) && !command_case(target)) return 0;
    return build_menu_entries(target.object, facts_for(view, target), out);
}

}  // namespace

bool menu_target_at(const MainView& view, int hit, int x, int y, MenuTarget* out) {
    MenuTarget t;
    t.object = hit;
    t.x = x;
    t.y = y;
    if (hit_is_card(hit)) {
        const int card = card_of_hit(hit);
        if (card >= view.card_count) return false;
        t.card = card;
        t.target = view.cards[size_t(card)].ref;
    } else if (hit == kHitTopBar) {
        t.object = top_bar_menu_object(view, x, y);
        if (t.object == 0) return false;
        if (top_bar_case_object(t.object)) t.target = view_state().selected;
    } else if (hit == kPanelLeftBar) {
        return left_bar_menu_target(view, x, y, out);
    } else if (hit == kPanelListView) {
        return sort_view_menu_target(view, x, y, out);
    } else if (hit != kHitBackground && hit != kHitCaption) {
        return false;
    }
    *out = t;
    return true;
}

void open_menu_at(MainView& view, int object, int x, int y) {
    MenuTarget target;
    if (menu_target_at(view, object, x, y, &target)) open_menu(view, target);
}

void open_menu(MainView& view, const MenuTarget& target) {
    close_menu(view);
    MenuState& m = view.menu;
    m.count = entries_for(view, target, m.entries.data());
    if (m.count == 0) return;
    m.target = target;
    m.box = place_menu(m.entries.data(), m.count, target.x, target.y, view.width, view.height);
    const CaseRecord* record = command_case(target);
    m.case_colour = record ? record->colour : -1;
    m.case_reserved = record ? reserved_colour(*record) : -1;
    m.hovered = -1;
    m.hot_colour = -1;
    m.pressed = -1;
    m.pressed_colour = -1;
    m.pointer_inside = m.box.contains(target.x, target.y);
    m.alpha = kMenuFirstAlpha;
    m.hover_alpha = kMenuFirstAlpha;
    render_menu_pictures(&m.pictures);
    render_menu_background(&m);
    m.open = true;
    request_redraw(view);
}

int menu_direct_command(MainView& view, const MenuTarget& target, int request) {
    static constexpr int kDirect[4] = {-1, kItemLink, kItemSort, kItemAssess};
    if (request < 1 || request > 3) return -1;
    std::array<MenuEntry, kMenuRoom> entries;
    const int count = entries_for(view, target, entries.data());
    for (int i = 0; i < count; ++i)
        if (entries[size_t(i)].item == kDirect[request] && entries[size_t(i)].enabled)
            return kDirect[request];
    return -1;
}

void close_menu(MainView& view) {
    if (!view.menu.open) return;
    view.menu.open = false;
    view.menu.count = 0;
    request_redraw(view);
}

bool menu_is_open(const MainView& view) {
    return view.menu.open;
}

void menu_skin_changed(MainView& view) {
    render_menu_pictures(&view.menu.pictures);
    if (view.menu.open) render_menu_background(&view.menu);
}

void free_menu(MainView& view) {
    close_menu(view);
    free_menu_pictures(&view.menu.pictures);
    if (view.menu.background) gfx::delete_image(view.menu.background);
    view.menu.background = nullptr;
}

void set_offered_update(MainView& view, const OfferedUpdate& update) {
    view.menu.update = update;
}

}  // namespace nd
