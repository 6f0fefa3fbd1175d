#include "app/start/loader.h"

#include <cstdio>
#include <thread>
#include <vector>

#include "app/start/texts.h"
#include "base/gbk.h"
#include "session/workspace.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/snapshots.h"
#include "store/tables.h"

namespace nd::start {

namespace {

void fail(LoadJob* job, std::string message_gbk, const std::string& detail_utf8) {
    job->message_gbk = std::move(message_gbk);
    job->detail_gbk = gbk_of(detail_utf8);
    job->state.store(LoadState::kFailed, std::memory_order_release);
}

}  // namespace

void run_workspace_load(LoadJob* job) {
    set_load_progress(0);
    set_load_label("", 1);
    std::string reason;
    int rc = load_workspace_settings(job->settings, job->wk_path, &reason);
    if (rc == kWkInUse) {
        job->in_use = true;
        fail(job, start_text::kInUseMessage, job->wk_path);
        return;
    }
    if (rc < 0) {
        fail(job, start_text::kOpenFailed, job->wk_path + ": " + reason);
        return;
    }
    // What the user is told once the workspace is open.
    std::vector<std::string> told;
    if (!job->settings.kept_aside.empty()) {
        told.push_back(std::string(start_text::kSettingsReset) + gbk_of(job->settings.kept_aside) +
                       start_text::kFullStop);
    }
    clear_tables();
    set_workspace_root(job->root);
    // With the workspace locked and before anything is read or mended: the
    // temporary files of saves that crashed go, and the day's first opening
    // keeps the tree as it is. Both run here, on the loader thread, so the
    // frame loop never waits for them; a snapshot that cannot be taken does
    // not keep the workspace closed.
    clear_stale_temp_files(job->root, job->wk_path);
    if (take_daily_snapshot(job->root, &reason) == kSnapshotFailed) {
        std::fprintf(stderr, "nodrel: no snapshot of %s today: %s\n", job->root.c_str(),
                     reason.c_str());
    }
    // A repair that could not be written leaves its file as it was, and the
    // load that follows stops at that file and names it.
    RepairNotes notes;
    static_cast<void>(repair_workspace(&notes));
    int status = load_workspace(&notes);
    if (status < 0) {
        // The settings file is let go so the workspace can be tried again,
        // from here or from another program.
        close_workspace_settings(job->settings);
        LoadFailure failure = last_load_failure();
        std::string message = failure.message_gbk.empty() ? std::string(start_text::kOpenFailed)
                                                          : failure.message_gbk;
        fail(job, message, failure.detail.empty() ? job->wk_path : failure.detail);
        clear_tables();
        return;
    }
    for (std::string& line : damage_messages(notes)) told.push_back(std::move(line));
    post_open_notes(std::move(told));
    job->created = status == kLoadNew;
    set_load_progress(100);
    job->state.store(LoadState::kDone, std::memory_order_release);
}

void start_workspace_load(const std::shared_ptr<LoadJob>& job) {
    std::thread([job] { run_workspace_load(job.get()); }).detach();
}

}  // namespace nd::start
