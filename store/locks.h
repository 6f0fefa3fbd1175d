// Locks and loading state shared between the workspace loader, the
// board-switch worker, the autosave thread and the frame loop.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

namespace nd {

// Held around every write of a Case record, a board's Case list and the
// CaseTable rows of the current board, so autosave and UI commands never
// interleave their writes.
extern std::mutex StorageLock;

// Held by worker threads while they change LoadProgress or the loading label.
extern std::mutex ProgressLock;

// Percentage 0-100 of the current load. Written only under ProgressLock; the
// main thread reads it without the lock, which is why it is atomic (a relaxed
// load is enough: the value only steers when input is served).
extern std::atomic<float> LoadProgress;

// Sets LoadProgress under ProgressLock.
void set_load_progress(float percent);
// Adds to LoadProgress under ProgressLock, never past 100.
void add_load_progress(float delta);

// The loading label (a group, board or Case name, GBK) shown beside the
// progress while a workspace loads. Writers take ProgressLock; readers copy it
// out with load_label(), which takes the lock for the copy only.
void set_load_label(const char* gbk, size_t max_bytes);
std::string load_label();

// Why the last workspace load failed: a message for the user in GBK and a
// technical detail (file path and system error) in UTF-8. Both are empty after
// a successful load. Guarded by ProgressLock like the label.
struct LoadFailure {
    int code = 0;             // the load's status code, 0 when it succeeded
    std::string message_gbk;  // shown on the start page
    std::string detail;       // path and errno text, for logs and nodrel-tool
};
void set_load_failure(const LoadFailure& failure);
LoadFailure last_load_failure();

}  // namespace nd
