#include "board/password.h"

#include <cstdio>
#include <cstring>

#include "board/command_rows.h"
#include "board/form_dialog.h"
#include "board/main_view.h"
#include "session/workspace.h"

namespace nd {

namespace {

std::string_view current_password() {
    const WorkspaceRecord& record = open_workspace_settings().record;
    return {record.password, strnlen(record.password, sizeof record.password)};
}

// The new password is in memory at once; a save that fails is told on
// standard error and the next save of the settings writes it.
void store_password(std::string_view text) {
    const std::string copy(text);
    if (store_workspace_password(copy.c_str()) != 0) {
        std::fprintf(stderr, "nodrel: %s cannot be written; the new password is not kept yet\n",
                     open_workspace_settings().path.c_str());
    }
}

}  // namespace

int check_new_password(std::string_view first, std::string_view second) {
    if (!first.empty() && first == second) return kMessageNone;
    return first.empty() && second.empty() ? kMessageNoPassword : kMessageMismatch;
}

int check_changed_password(std::string_view current, std::string_view old,
                           std::string_view first, std::string_view second) {
    if (old != current) return kMessageWrongOld;
    return first == second ? kMessageNone : kMessageMismatch;
}

bool confirm_set_password(MainView& view, FormDialog& d) {
    d.message = check_new_password(form_field_text(d, 0), form_field_text(d, 1));
    if (d.message != kMessageNone) return false;
    store_password(form_field_text(d, 0));
    request_redraw(view);
    return true;
}

bool confirm_change_password(MainView& view, FormDialog& d) {
    d.message = check_changed_password(current_password(), form_field_text(d, 0),
                                       form_field_text(d, 1), form_field_text(d, 2));
    if (d.message != kMessageNone) return false;
    store_password(form_field_text(d, 1));
    request_redraw(view);
    return true;
}

bool confirm_unlock(MainView& view, FormDialog& d) {
    if (form_field_text(d, 0) != current_password()) {
        d.message = kMessageWrong;
        return false;
    }
    view.lock.locked = false;
    request_redraw(view);
    return true;
}

void lock_view(MainView& view) {
    view.lock.locked = true;
    view.lock.drawn_minute = -1;
    cancel_link_gesture(view);
    open_form_dialog(view, kDialogUnlock, 0, 0, 0);
    request_redraw(view);
}

void lock_command(MainView& view, int, const MenuTarget&) {
    lock_view(view);
}

// 设置密码 while none is set, 修改密码 once one is.
void password_command(MainView& view, int, const MenuTarget&) {
    const int kind = current_password().empty() ? kDialogSetPassword : kDialogChangePassword;
    open_form_dialog(view, kind, 0, 0, 0);
}

}  // namespace nd
