// The open workspace and the program settings, shared by the shell and every
// view: the recent list ("table.cfg"), the program settings ("config.cfg"),
// the open workspace's ".wk" record with its file and in-use lock, and
// whether this run made the workspace. The main thread owns all of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"

namespace nd {

// The recent-workspace list the start page shows and changes.
RecentList& recent_list();

// The program settings read at start ("config.cfg").
ConfigRecord& program_config();

// The open workspace's settings record and file, for the parts that change
// and save workspace settings (skin, password, panels).
WorkspaceSettings& open_workspace_settings();

// Takes over the settings of a workspace that has just loaded, lock and all
// (`settings.file` is left -1), and whether the load made the workspace.
void adopt_open_workspace(WorkspaceSettings& settings, bool created);

// True when the open workspace was made by this run (its first board gets
// the first sticky note).
bool workspace_created_this_run();

// Saves the open workspace's settings. 0, or -1 when they could not be
// written (the record in memory stays as it is).
[[nodiscard]] int save_open_workspace();

// The window size stored with the open workspace; false when none is stored.
bool stored_window_size(int* width, int* height);
// Stores a new window size with the workspace and saves its settings.
// 0, or -1 when the save failed.
[[nodiscard]] int store_window_size(int width, int height);

// Puts a skin index in the open workspace's settings and saves them (the
// skin switch's store step).
void store_workspace_skin(uint8_t skin);

// Sets the workspace's lock password (GBK; empty for none, cut to the
// field without splitting a character) and saves. 0, or -1 when the save
// failed (the password in memory is already the new one).
[[nodiscard]] int store_workspace_password(const char* gbk);

// Closes the open workspace's settings file, which releases its in-use lock,
// so the updater can run while this process waits for it.
void release_open_workspace();

// What opening the workspace found and mended, or has to tell the user (a
// damaged settings record reset, a short file kept aside, Cases gathered
// into a recovery category): one GBK line each, left by the loader thread
// for the program to show once.
void post_open_notes(std::vector<std::string> lines);
// The lines the loader left, once: a second call gives none.
std::vector<std::string> take_open_notes();

}  // namespace nd
