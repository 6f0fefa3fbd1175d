// The workspace loader thread: takes the workspace's settings and in-use
// lock, clears the temporary files of crashed saves, takes the day's
// snapshot, runs the repair pass and loads every group, board and Case into
// the tables, publishing progress under ProgressLock. What it found and
// mended is left for the user in the session (post_open_notes). The start
// page watches it from the frame loop and never waits for it.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "settings/settings.h"

namespace nd::start {

enum class LoadState { kRunning, kDone, kFailed };

struct LoadJob {
    std::string wk_path;  // as the file system spells it
    std::string root;     // the workspace root, ending in "/"
    std::atomic<LoadState> state{LoadState::kRunning};
    // Written by the thread before it publishes kDone or kFailed, read by the
    // main thread after.
    WorkspaceSettings settings;
    bool created = false;     // the workspace was made by this load
    bool in_use = false;      // another program held it
    std::string message_gbk;  // why it failed, for the page
    std::string detail_gbk;   // which file, for the page
};

// Starts the detached loader thread for `job`.
void start_workspace_load(const std::shared_ptr<LoadJob>& job);

// The loader's work, run on the calling thread (the thread body; tests call
// it directly).
void run_workspace_load(LoadJob* job);

}  // namespace nd::start
