// Everything between the program's first preparations and its main window:
// the recent-workspace list, the program settings and the start page, until
// the user has opened or created a workspace. Also the few things the spine
// needs from the open workspace's settings.
#pragma once

#include "app/app_state.h"
#include "settings/settings.h"

namespace nd {

// Runs until a workspace is open (0) or the user left the start page (-1).
int enter_workspace(App& app);

// The window size stored with the open workspace; false when none is stored.
bool stored_window_size(App& app, int* width, int* height);
// Stores a new window size with the workspace and saves its settings.
void store_window_size(App& app, int width, int height);

// Closes the open workspace's settings file, which releases its in-use lock,
// so the updater can run while this process waits for it.
void release_workspace(App& app);

// True when the open workspace was made by this run (its first board gets
// the first sticky note).
bool workspace_created_this_run();

// The open workspace's settings record and file, for the parts that change
// and save workspace settings (skin, password, panels).
WorkspaceSettings& open_workspace_settings();

// Puts a skin index in the open workspace's settings and saves them (the
// skin switch's store step).
void store_workspace_skin(uint8_t skin);

// The program settings read at start ("config.cfg").
ConfigRecord& program_config();

}  // namespace nd
