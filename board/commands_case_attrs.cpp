// The commands that set a Case's colour, reserved status, kind,
// importance, difficulty and cognition.
#include "board/case_attributes.h"
#include "board/command_case.h"
#include "board/command_rows.h"
#include "board/menu_items.h"
#include "store/keys.h"

namespace nd {

void set_case_attribute(MainView& view, int item, const MenuTarget& target) {
    CaseRecord* record = command_case(target);
    if (!record || !apply_attribute_item(*record, item, today_yyyymmdd())) return;
    // A colour shows in the left bar's lists and the assessment report; the
    // other attributes in the content editor's cells.
    const uint32_t panels = colour_of_item(item) >= 0
                                ? panel_bit(kPanelLeftBar) | panel_bit(kPanelAssessment)
                                : panel_bit(kPanelContentEditor);
    commit_case_change(view, target, panels);
}

void reserve_status(MainView& view, int, const MenuTarget& target) {
    CaseRecord* record = command_case(target);
    if (!record || target.colour < 0 || target.colour > 3) return;
    apply_reserved_status(*record, target.colour, today_yyyymmdd());
    commit_case_change(view, target, panel_bit(kPanelLeftBar) | panel_bit(kPanelAssessment));
}

}  // namespace nd
