// The start page's own window and frame loop, from opening the window until a
// workspace is loaded or the user leaves.
#pragma once

#include <memory>
#include <string>

#include "app/start/loader.h"
#include "settings/settings.h"

namespace nd::start {

struct StartOptions {
    RecentList* recent = nullptr;  // loaded, with missing entries dropped and flags set
    std::string workspaces_dir;    // where the chooser opens
    std::string servers_cfg;       // the help links' addresses
    int skin = 0;
};

// 0 with the finished load in *loaded (its settings hold the open
// workspace's lock), or -1 when the window was closed or could not be shown.
// The page's pictures are released and its window closed either way.
[[nodiscard]] int run_start_page(const StartOptions& options, std::shared_ptr<LoadJob>* loaded);

}  // namespace nd::start
