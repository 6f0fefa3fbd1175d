// The link commands: 关联(A) starts the link gesture, 松散关系 and 紧密关系
// set the relation of a link of the content editor's link list.
#include "board/cards.h"
#include "board/command_case.h"
#include "board/command_rows.h"
#include "board/link_gesture.h"
#include "board/main_view.h"
#include "session/menu_objects.h"

namespace nd {

namespace {

constexpr int kItemTight = 36;  // 紧密关系; 35 is 松散关系

// The origin of a gesture started from a menu on a panel's row.
int origin_of(int object) {
    switch (object) {
        case kMenuBoardCase:
        case kMenuPreviewCase:
            return kLinkFromLeftBar;
        case kMenuSearchResult:
            return kLinkFromSearch;
        case kMenuTimelineEntry:
            return kLinkFromTimeline;
        case kMenuAssessmentEntry:
        case kMenuAssessmentCase:
            return kLinkFromAssessment;
        case kMenuEditorLinkRow:
            return kLinkFromEditor;
        default:
            return kLinkFromCard;
    }
}

}  // namespace

// From a card the rubber line starts at its left edge below the title;
// from a panel's row, where the menu was asked for.
void link_command(MainView& view, int, const MenuTarget& target) {
    if (!command_case(target)) return;
    if (target.card >= 0 && target.card < view.card_count) {
        const gfx::Rect& r = view.cards[size_t(target.card)].rect;
        start_link_gesture(view, target.target, r.x, r.y + kCardLinkStartDy);
        return;
    }
    start_link_gesture(view, target.target, target.x, target.y, origin_of(target.object),
                       target.row);
}

// `target.row` is the link's index in the Case's link table.
void relation_command(MainView& view, int item, const MenuTarget& target) {
    if (set_link_relation(target.target, target.row, item == kItemTight) != 0) return;
    const int card = find_card(view, target.target);
    if (card >= 0) refresh_card(view, card);
    refresh_panels_later(panel_bit(kPanelTimeline) | panel_bit(kPanelAssessment) |
                         panel_bit(kPanelContentEditor));
}

}  // namespace nd
