// From the recent list to an open workspace: the list is loaded and cleaned,
// each entry's in-use and locked flags are refreshed, the program settings
// are read and written back, and the start page runs until a workspace has
// loaded. The open workspace's settings then go to the session, which holds
// its in-use lock until the program ends.
#include "app/workspace_entry.h"

#include <cstdio>
#include <memory>

#include "app/assets.h"
#include "app/release_check.h"
#include "app/start/run.h"
#include "app/workers.h"
#include "base/servers_cfg.h"
#include "session/progress.h"
#include "session/workspace.h"
#include "settings/settings.h"
#include "skins/pictures.h"
#include "skins/skin.h"

namespace nd {

namespace {

// The start page wears the skin of the workspace at the top of the list, the
// one the user most likely opens again; BLACK when there is none.
int start_page_skin(const RecentList& list) {
    if (list.table.count <= 0) return kSkinBlack;
    WorkspaceRecord record;
    if (read_sealed(list.table.entries[0].path, &record, sizeof record) != 0) return kSkinBlack;
    return skin_from_stored(record.skin);
}

}  // namespace

int32_t quiet_countdown_start(const App& app) {
    return app.UpdateAnnounced.load() ? kQuietAfterUpdate : 0;
}

int enter_workspace(App& app) {
    // A list or config that cannot be written is still used from memory;
    // the user loses nothing but the saved order.
    RecentList& recent = recent_list();
    if (load_recent(recent, app.TableCfgPath) != 0) {
        std::fprintf(stderr, "nodrel: %s cannot be written\n", app.TableCfgPath);
    }
    drop_missing_recent(recent);
    refresh_recent_flags(recent);
    if (load_config(app.ConfigCfgPath, program_config()) != 0) {
        std::fprintf(stderr, "nodrel: %s cannot be written\n", app.ConfigCfgPath);
    }

    // The asset download and the question for the newest release run beside
    // the start page; neither is ever waited for.
    const std::string servers_cfg = std::string(app.ProgramDir) + "/servers.cfg";
    ServersConfig servers;
    std::string reason;
    if (load_servers_cfg(servers_cfg, &servers, &reason) != 0) {
        std::fprintf(stderr, "nodrel: %s\n", reason.c_str());
    }
    start_asset_download(app, servers.assets);
    start_release_check(app, servers.control, program_config().profiles[kProductCode].flag);

    // The start page animates, so the pulse thread runs from here on.
    start_pulse_thread(app);
    install_skin_pictures();
    start::StartOptions options;
    options.recent = &recent;
    options.workspaces_dir = app.WorkspacesDir;
    options.servers_cfg = servers_cfg;
    options.skin = start_page_skin(recent);
    std::shared_ptr<start::LoadJob> job;
    if (start::run_start_page(options, &job) != 0) return -1;

    // The loader is done with the settings; they move to the session, lock
    // and all.
    adopt_open_workspace(job->settings, job->created);
    // An opened workspace starts at the working frame rate; the autosave
    // interval is already the one second a workspace asks for. After an
    // update was announced the rate is not lowered for the first seconds.
    app.ActiveFps = 30;
    app.TargetFps = 30;
    app.QuietCountdown.store(quiet_countdown_start(app));
    set_current_skin(skin_from_stored(open_workspace_settings().record.skin));
    SkinHooks hooks;
    hooks.loading = [] { return !board_ready(); };
    hooks.store = store_workspace_skin;
    set_skin_hooks(hooks);
    return 0;
}

}  // namespace nd
