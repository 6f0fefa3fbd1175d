// Until the start page joins the program, no workspace is opened: the program
// goes straight to an empty board, with nothing loading and nothing stored.
#include "app/workspace_entry.h"

#include "app/workers.h"
#include "store/locks.h"

namespace nd {

int enter_workspace(App& app) {
    // The start page animates, so the pulse thread runs from here on.
    start_pulse_thread(app);
    set_load_progress(100);
    return 0;
}

bool stored_window_size(App&, int*, int*) {
    return false;
}

void store_window_size(App&, int, int) {}

void release_workspace(App&) {}

}  // namespace nd
