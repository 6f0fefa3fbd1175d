#include "analysis/panels.h"

#include "analysis/report_panel.h"
#include "analysis/search_draw.h"
#include "analysis/search_panel.h"
#include "analysis/timeline_panel.h"
#include "session/requests.h"
#include "ui/panel.h"

namespace nd {

namespace {

bool wants(uint32_t panels, int id) {
    return panels == 0 || (panels & (1u << id)) != 0;
}

}  // namespace

void install_analysis_panels(int view_width, int view_height) {
    install_search_panel();
    install_timeline_panel();
    install_report_panel();
    place_analysis_panels(view_width, view_height);
}

void place_analysis_panels(int view_width, int view_height) {
    place_search_panel(view_width, view_height);
    place_timeline_panel(view_width, view_height);
    place_report_panel(view_width, view_height);
}

void step_analysis_panels() {
    step_search_panel();
    step_timeline_panel();
}

void refresh_analysis_panels(uint32_t panels) {
    if (wants(panels, kPanelAssessment)) refresh_report_panel();
    // Every change of a Case can change an icon of the strip (its status)
    // or a curve (its links), whichever panels the command named.
    timeline_panel_refresh();
}

bool analysis_case_at(int id, int x, int y, CaseRef* ref, int* anchor_x, int* anchor_y) {
    switch (id) {
        case kPanelSearch: {
            int row = -1;
            if (!search_result_at(x, y, ref, &row)) return false;
            // The middle of the row's title.
            const ui::Panel* panel = ui::panel_find(view_state().panels, kPanelSearch);
            const SearchLayout l =
                search_layout(panel->rect, search_panel_state().search.history.count);
            *anchor_x = l.list.left + kResultRowWidth / 2;
            *anchor_y = l.list.top +
                        (row - search_panel_state().search.first_visible) * kResultRowHeight +
                        kResultRowHeight / 2;
            return true;
        }
        case kPanelTimeline:
            return timeline_entry_case(x, y, ref, anchor_x, anchor_y);
        case kPanelAssessment:
            return report_entry_case(x, y, ref, anchor_x, anchor_y);
        default:
            return false;
    }
}

bool post_link_start_at(int id, int x, int y) {
    CaseRef ref;
    int ax = 0, ay = 0;
    if (!analysis_case_at(id, x, y, &ref, &ax, &ay)) return false;
    const int origin = id == kPanelSearch     ? kLinkFromSearch
                       : id == kPanelTimeline ? kLinkFromTimeline
                                              : kLinkFromAssessment;
    return post_request(start_link(ref, origin, ax, ay)) == kRequestPosted;
}

}  // namespace nd
