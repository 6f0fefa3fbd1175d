// The assessment report window (panel 7): the report of one subject Case in
// a window titled "评估 - %s", its seven pages chosen by tabs, scrolled by
// the wheel 100 pixels a notch. Names are underlined and bubbles show their
// box while pointed at; a click on either shows its Case on the board, a
// right click on a bubble asks for that Case's menu. Opening a report hands
// its key nodes to the timeline strip.
#pragma once

#include <string>

#include "analysis/case_icons.h"
#include "analysis/report.h"
#include "analysis/report_draw.h"
#include "analysis/report_layout.h"
#include "session/view_state.h"
#include "ui/dialog_frame.h"

namespace nd {

inline constexpr int kReportTabs = kReportPages;
inline constexpr int kReportTabWidth = 84;
inline constexpr int kReportTabHeight = 26;
inline constexpr int kReportWheelStep = 100;  // pixels per wheel notch

struct ReportPanelLayout {
    gfx::Rect title;  // the drag area that moves the window
    gfx::Rect tabs[kReportTabs];
    gfx::Rect page;  // where the page is drawn
};
ReportPanelLayout report_panel_layout(const gfx::Rect& panel);

struct ReportPanelState {
    Report report;
    PageLayout layout;
    std::string caption;  // "评估 - %s", the frame's title
    ui::DialogFrame frame;
    int page = 1;
    int scroll = 0;  // page pixels above the view
    ReportHover hover;
    int selected = -1;  // the member last clicked or pointed at with the right button
    bool moving = false;
    int grab_x = 0;
    int grab_y = 0;
    CaseIcons icons;
};

ReportPanelState& report_panel_state();

// Adds the window to the panel list, hidden.
void install_report_panel();
// Computes the report of the Case at `subject` and shows it on page 1,
// centred in a `view_width` x `view_height` window. False, and nothing
// shown, when no Case is there.
bool open_report_panel(const LocationRef& subject, int view_width, int view_height);
// Shows page `page` (1..7) from its top.
void report_panel_show_page(int page);
// Keeps the window inside a window of the new size.
void place_report_panel(int view_width, int view_height);
// A shown Case changed: the report is computed again for the same subject,
// keeping its page and scroll; it closes when the subject is gone.
void refresh_report_panel();

// The member under (x, y) (a name or a bubble) and its Case, with the point
// a link drawn from it starts at; false when there is none.
bool report_entry_case(int x, int y, CaseRef* ref, int* anchor_x, int* anchor_y);
// The member last clicked (the report's selected entry); false with none.
bool report_selected_case(CaseRef* ref);

}  // namespace nd
