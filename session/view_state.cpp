#include "session/view_state.h"

namespace nd {

ViewState& view_state() {
    static ViewState state;
    return state;
}

bool panel_open(int id) {
    const ui::Panel* panel = ui::panel_find(view_state().panels, id);
    return panel && panel->visible;
}

}  // namespace nd
