// A release server for teams and tests. It answers the control protocol (a
// hello gets the newest version found in the release directory of the
// sender's major version) and the download protocol (a requested path under
// the directory is sent as 100 chunks and a remainder). It listens on
// loopback unless told otherwise. Each connection runs on its own thread, up
// to a cap per port; a malformed or hostile request ends only that
// connection.
//
// Releases are stored under the directory by their download path, for
// example DIR/tw/1/2.4.BIN for version 1.2.4 of products 0 and 2.
#pragma once

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "update/protocol.h"

namespace nd {

struct ReleaseServerOptions {
    std::string directory;
    std::string bind_address = "127.0.0.1";
    int control_port = kControlPort;  // 0 picks a free port
    int download_port = kDownloadPort;
    // When set, every hello is answered with this version instead of the
    // newest one found in the directory.
    bool fixed_version = false;
    Version version;
};

// Connections served at once on each port; more wait until one ends.
constexpr int kMaxConnectionsPerPort = 64;

// Newest version among files DIR/<prefix>/<major>/<minor>.<patch>.BIN,
// restricted to the product's prefix when the type has a table row, and to
// `major` unless it is 0. False when there is none.
bool newest_release(const std::string& directory, int product_type, uint32_t major, Version* out);

// Resolves a requested download path to a regular file inside `directory`.
// Returns the full path, or an empty string for anything missing, absolute,
// climbing out with "..", or reaching outside through a link.
std::string resolve_release_path(const std::string& directory, const std::string& request);

class ReleaseServer {
public:
    ReleaseServer() = default;
    ~ReleaseServer();
    ReleaseServer(const ReleaseServer&) = delete;
    ReleaseServer& operator=(const ReleaseServer&) = delete;

    // Binds both ports and starts serving. 0, or -1 with *reason set.
    int start(const ReleaseServerOptions& options, std::string* reason);
    // Closes the listeners and every open connection, and joins all threads.
    void stop();
    int control_port() const { return control_port_; }
    int download_port() const { return download_port_; }

private:
    void accept_loop(int listener, bool control);
    void serve_control(int fd);
    void serve_download(int fd);
    void track(int fd, bool add);

    ReleaseServerOptions options_;
    int control_listener_ = -1;
    int download_listener_ = -1;
    int control_port_ = 0;
    int download_port_ = 0;
    int wake_pipe_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::set<int> connections_;
    std::vector<std::thread> threads_;
};

}  // namespace nd
