// The commands of the analysis views: the assessment report (37).
#include "analysis/report_panel.h"
#include "board/command_case.h"
#include "board/command_rows.h"
#include "board/main_view.h"

namespace nd {

void assess_command(MainView& view, int, const MenuTarget& target) {
    if (!command_case(target)) return;
    if (open_report_panel(target.target.where, view.width, view.height)) request_redraw(view);
}

}  // namespace nd
