// The updater's protocol and install logic, apart from its window: a worker
// asks the control server for the newest release, downloads it from the
// update server and replaces the program file. The window loop reads the
// shared state once a frame; nothing here ever touches the display.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/servers_cfg.h"
#include "settings/records.h"
#include "update/products.h"
#include "update/protocol.h"

namespace nd {

// Update states as the window loop sees them.
constexpr int kUpdateNone = 0;       // the server has nothing newer
constexpr int kUpdateWaiting = 1;    // waiting for the control server
constexpr int kUpdateApproved = 2;   // downloading; stays 2 when that fails
constexpr int kUpdateFinished = -1;  // the new program is in place

// Pauses of the protocol. Tests shorten them; the program uses the defaults.
struct UpdaterTiming {
    int retry_ms = 1000;          // between attempts to reach the control server
    int keepalive_ms = 1000;      // between keep-alives
    int approve_delay_ms = 1000;  // showing the found version before the download
    int poll_ms = 20;             // the worker's look at the update state
    int finish_delay_ms = 500;    // before the worker marks itself finished
    int connect_timeout_ms = 5000;
    int transfer_timeout_ms = 30000;  // a silent update server fails the download
    // A download whose progress bar has not moved for this long fails, so a
    // server that trickles a byte now and then cannot hold it forever.
    int progress_deadline_ms = 60000;
};

struct UpdaterSetup {
    std::string program_dir;
    ServersConfig servers;
    ConfigRecord settings{};
    // Seals and writes the settings record back to "config.cfg"; 0 on success.
    std::function<int(const ConfigRecord&)> save_settings;
    UpdaterTiming timing;
};

class Updater {
public:
    explicit Updater(UpdaterSetup setup);
    // Asks every thread to stop; threads still blocked end on their own and
    // never touch this object again.
    ~Updater();
    Updater(const Updater&) = delete;
    Updater& operator=(const Updater&) = delete;

    // The product's table row, or nullptr when its type has none; such a
    // product cannot be updated and start() refuses it.
    const ProductRow* product() const;
    // Starts the worker. 0, or -1 with the window's message already set
    // when the product has no table row.
    int start();

    int state() const;
    int progress() const;
    std::string message() const;  // GBK
    // True once the worker has ended, successful or not.
    bool worker_finished() const;
    // The settings as they stand (after a successful update they hold the
    // new version).
    ConfigRecord settings() const;
    std::string download_path() const;

    struct Impl;

private:
    std::shared_ptr<Impl> impl_;
};

// Installed version of `type` in a settings record.
Version installed_version(const ConfigRecord& settings, int type);

}  // namespace nd
