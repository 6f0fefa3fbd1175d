#include "board/command_case.h"

#include <cstdio>

#include "board/cards.h"
#include "board/main_view.h"
#include "session/requests.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd {

CaseRecord* command_case(const MenuTarget& target) {
    const LocationRef& at = target.target.where;
    CaseRecord* record = find_case(at.group, at.board, at.slot);
    if (!record || !same_item(record->key, target.target.key)) return nullptr;
    return record;
}

bool on_shown_board(const LocationRef& where) {
    return where.group == view_state().group && where.board == view_state().board;
}

void refresh_panels_later(uint32_t panels) {
    (void)post_request(refresh_panels(panels));
}

int commit_case_change(MainView& view, const MenuTarget& target, uint32_t panels) {
    const LocationRef& at = target.target.where;
    const int status = save_case_locked(at.group, at.board, at.slot);
    if (status != 0) {
        const CaseRecord* record = find_case(at.group, at.board, at.slot);
        std::fprintf(stderr,
                     "nodrel: %s cannot be written; the change is kept until the next save\n",
                     record ? make_path(Tables.root, record->key.type, record->key, 0).c_str()
                            : "a Case record");
    }
    if (on_shown_board(at)) {
        const int card = find_card(view, target.target);
        if (card >= 0) refresh_card(view, card);
    }
    if (panels != 0) refresh_panels_later(panels);
    request_redraw(view);
    return status;
}

}  // namespace nd
