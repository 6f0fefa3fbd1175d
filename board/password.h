// The workspace password and the screen lock: setting and changing the
// password through its dialogs, locking the screen and unlocking it. The
// password is a lock on this program's screen only: the workspace files are
// readable by anyone who has them.
#pragma once

#include <string_view>

namespace nd {

struct MainViewState;
using MainView = MainViewState;
struct FormDialog;

// What Enter in the set-password dialog finds: kMessageNone when the two
// entries are equal and not empty, else the message to show.
int check_new_password(std::string_view first, std::string_view second);
// The same for the change-password dialog against the current password.
// A wrong old password is told first, whatever the new entries are.
int check_changed_password(std::string_view current, std::string_view old,
                           std::string_view first, std::string_view second);

// The confirms of dialog kinds 3, 4 and 5.
bool confirm_set_password(MainView& view, FormDialog& dialog);
bool confirm_change_password(MainView& view, FormDialog& dialog);
bool confirm_unlock(MainView& view, FormDialog& dialog);

// Locks the screen: only the clock and the unlock dialog are shown, and
// only the unlock dialog takes input, until the password is entered.
void lock_view(MainView& view);

}  // namespace nd
