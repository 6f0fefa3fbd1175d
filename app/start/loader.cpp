#include "app/start/loader.h"

#include <thread>
#include <vector>

#include "app/start/texts.h"
#include "base/gbk.h"
#include "store/load.h"
#include "store/locks.h"
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
    clear_tables();
    set_workspace_root(job->root);
    // A repair that could not be written leaves its file as it was, and the
    // load that follows stops at that file and names it.
    static_cast<void>(repair_workspace(nullptr));
    int status = load_workspace();
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
    job->created = status == kLoadNew;
    set_load_progress(100);
    job->state.store(LoadState::kDone, std::memory_order_release);
}

void start_workspace_load(const std::shared_ptr<LoadJob>& job) {
    std::thread([job] { run_workspace_load(job.get()); }).detach();
}

}  // namespace nd::start
