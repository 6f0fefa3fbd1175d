// Learning the newest release: a worker thread asks the control server of
// servers.cfg once at start and then once an hour, and tells the session's
// release record what it heard. A missing or silent server is simply no
// news; the frame loop never waits for any of it.
#pragma once

#include <cstdint>

#include "base/servers_cfg.h"
#include "session/app.h"
#include "session/release.h"
#include "update/version_query.h"

namespace nd {

constexpr int kReleaseCheckPeriodSeconds = 3600;

// One question to `control` for this program's product. The answer, when
// there is one, is offered to `news`; once `news` holds an update,
// `app.UpdateAnnounced` is set (a workspace opened after that keeps its
// frame rate up for a while). The query's status code.
int check_newest_release(const ServerAddress& control, uint8_t product_flag,
                         const QueryTimeouts& timeouts, ReleaseNews& news, App& app);

// Starts the detached worker: a check now, then one every hour, into
// release_news() and `app`. Starting it again does nothing.
void start_release_check(App& app, const ServerAddress& control, uint8_t product_flag);

}  // namespace nd
