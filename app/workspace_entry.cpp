// From the recent list to an open workspace: the list is loaded and cleaned,
// each entry's in-use and locked flags are refreshed, the program settings
// are read and written back, and the start page runs until a workspace has
// loaded. The open workspace's settings stay here and hold its in-use lock
// until the program ends.
#include "app/workspace_entry.h"

#include <cstdio>
#include <memory>

#include "app/start/run.h"
#include "app/workers.h"
#include "settings/settings.h"
#include "skins/pictures.h"
#include "skins/skin.h"
#include "store/locks.h"

namespace nd {

namespace {

RecentList g_recent;
ConfigRecord g_config;
WorkspaceSettings g_workspace;
bool g_created = false;

// The start page wears the skin of the workspace at the top of the list, the
// one the user most likely opens again; BLACK when there is none.
int start_page_skin(const RecentList& list) {
    if (list.table.count <= 0) return kSkinBlack;
    WorkspaceRecord record;
    if (read_sealed(list.table.entries[0].path, &record, sizeof record) != 0) return kSkinBlack;
    return skin_from_stored(record.skin);
}

}  // namespace

int enter_workspace(App& app) {
    // A list or config that cannot be written is still used from memory;
    // the user loses nothing but the saved order.
    if (load_recent(g_recent, app.TableCfgPath) != 0) {
        std::fprintf(stderr, "nodrel: %s cannot be written\n", app.TableCfgPath);
    }
    drop_missing_recent(g_recent);
    refresh_recent_flags(g_recent);
    if (load_config(app.ConfigCfgPath, g_config) != 0) {
        std::fprintf(stderr, "nodrel: %s cannot be written\n", app.ConfigCfgPath);
    }

    // The start page animates, so the pulse thread runs from here on.
    start_pulse_thread(app);
    install_skin_pictures();
    start::StartOptions options;
    options.recent = &g_recent;
    options.workspaces_dir = app.WorkspacesDir;
    options.servers_cfg = std::string(app.ProgramDir) + "/servers.cfg";
    options.skin = start_page_skin(g_recent);
    std::shared_ptr<start::LoadJob> job;
    if (start::run_start_page(options, &job) != 0) return -1;

    // The loader is done with the settings; they move here, lock and all.
    g_workspace = job->settings;
    job->settings.file = -1;
    g_created = job->created;
    // An opened workspace starts at the working frame rate; the autosave
    // interval is already the one second a workspace asks for.
    app.ActiveFps = 30;
    app.TargetFps = 30;
    set_current_skin(skin_from_stored(g_workspace.record.skin));
    SkinHooks hooks;
    hooks.loading = [] { return LoadProgress < 100.0f; };
    hooks.store = store_workspace_skin;
    set_skin_hooks(hooks);
    return 0;
}

bool stored_window_size(App&, int* width, int* height) {
    if (g_workspace.record.width == 0 || g_workspace.record.height == 0) return false;
    *width = g_workspace.record.width;
    *height = g_workspace.record.height;
    return true;
}

void store_window_size(App&, int width, int height) {
    g_workspace.record.width = static_cast<uint16_t>(width);
    g_workspace.record.height = static_cast<uint16_t>(height);
    save_workspace_settings(g_workspace);
}

void release_workspace(App&) {
    close_workspace_settings(g_workspace);
}

bool workspace_created_this_run() {
    return g_created;
}

WorkspaceSettings& open_workspace_settings() {
    return g_workspace;
}

void store_workspace_skin(uint8_t skin) {
    g_workspace.record.skin = skin;
    save_workspace_settings(g_workspace);
}

ConfigRecord& program_config() {
    return g_config;
}

}  // namespace nd
