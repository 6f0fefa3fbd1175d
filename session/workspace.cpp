#include "session/workspace.h"

#include <mutex>
#include <utility>

namespace nd {

namespace {

RecentList g_recent;
ConfigRecord g_config;
WorkspaceSettings g_workspace;
bool g_created = false;
// Written by the loader thread, taken by the main thread.
std::mutex g_notes_lock;
std::vector<std::string> g_open_notes;

}  // namespace

RecentList& recent_list() {
    return g_recent;
}

ConfigRecord& program_config() {
    return g_config;
}

WorkspaceSettings& open_workspace_settings() {
    return g_workspace;
}

void adopt_open_workspace(WorkspaceSettings& settings, bool created) {
    close_workspace_settings(g_workspace);
    g_workspace = settings;
    settings.file = -1;
    g_created = created;
}

bool workspace_created_this_run() {
    return g_created;
}

int save_open_workspace() {
    return save_workspace_settings(g_workspace);
}

bool stored_window_size(int* width, int* height) {
    if (g_workspace.record.width == 0 || g_workspace.record.height == 0) return false;
    *width = g_workspace.record.width;
    *height = g_workspace.record.height;
    return true;
}

int store_window_size(int width, int height) {
    g_workspace.record.width = static_cast<uint16_t>(width);
    g_workspace.record.height = static_cast<uint16_t>(height);
    return save_open_workspace();
}

// A skin that cannot be saved is still worn for this run; the next start
// shows the one on disk.
void store_workspace_skin(uint8_t skin) {
    g_workspace.record.skin = skin;
    static_cast<void>(save_open_workspace());
}

int store_workspace_password(const char* gbk) {
    return set_workspace_password(g_workspace, gbk);
}

void release_open_workspace() {
    close_workspace_settings(g_workspace);
}

void post_open_notes(std::vector<std::string> lines) {
    std::lock_guard<std::mutex> hold(g_notes_lock);
    g_open_notes = std::move(lines);
}

std::vector<std::string> take_open_notes() {
    std::lock_guard<std::mutex> hold(g_notes_lock);
    return std::exchange(g_open_notes, {});
}

}  // namespace nd
