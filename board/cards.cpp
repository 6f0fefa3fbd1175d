#include "board/cards.h"

#include "board/main_view.h"

namespace nd {

int find_card(const MainView& view, const CaseRef& ref) {
    for (int i = 0; i < view.card_count; ++i) {
        const LocationRef& at = view.cards[i].ref.where;
        if (at.group == ref.where.group && at.board == ref.where.board &&
            at.slot == ref.where.slot) {
            return i;
        }
    }
    return -1;
}

void select_card(MainView&, int) {}
void refresh_card(MainView&, int) {}
void remove_card(MainView&, int) {}
void jump_to_case(MainView&, const CaseRef&) {}
void set_origin(MainView&, int, int) {}
void save_shown_board(MainView&) {}

}  // namespace nd
