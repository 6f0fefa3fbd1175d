// The commands on the window and the program: the window-size dialog,
// quitting, the about page and the update note.
#include "board/about_page.h"
#include "board/command_rows.h"
#include "board/main_view.h"
#include "board/update_note.h"
#include "board/window_mgmt.h"

namespace nd {

void size_dialog_command(MainView& view, int, const MenuTarget&) {
    open_size_dialog(view);
}

// The frame driver ends the loop at its next pending-work step.
void quit_command(MainView& view, int, const MenuTarget&) {
    view.quit_requested = true;
}

void about_command(MainView& view, int, const MenuTarget&) {
    toggle_about_page(view);
}

void update_note_command(MainView& view, int, const MenuTarget&) {
    toggle_update_note(view);
}

}  // namespace nd
