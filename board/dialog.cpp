#include "board/dialog.h"

#include "board/main_view.h"
#include "board/menu.h"

namespace nd {

bool dialog_is_open(const MainView& view) {
    return view.dialog.kind != kDialogNone;
}

bool rename_dialog_open(const MainView& view) {
    return view.dialog.kind == kDialogRename;
}

void open_dialog(MainView& view, int kind, const DialogHooks* hooks, void* state) {
    close_dialog(view);
    close_menu(view);
    view.dialog.kind = kind;
    view.dialog.hooks = hooks;
    view.dialog.state = state;
    request_redraw(view);
}

void close_dialog(MainView& view) {
    if (view.dialog.kind == kDialogNone) return;
    const DialogHooks* hooks = view.dialog.hooks;
    view.dialog = DialogSlot{};
    if (hooks && hooks->closing) hooks->closing(view);
    request_redraw(view);
}

void draw_dialog(const MainView& view, gfx::IMAGE* canvas) {
    if (view.dialog.hooks && view.dialog.hooks->draw) view.dialog.hooks->draw(view, canvas);
}

void dialog_tick(MainView& view) {
    if (view.dialog.hooks && view.dialog.hooks->tick) view.dialog.hooks->tick(view);
}

}  // namespace nd
