// The asset host of the tests: app/tests/asset_server.py on a free loopback
// port, serving a folder, logging every requested path, and stopped when
// the object goes.
#pragma once

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/process.h"

namespace nd::testing {

class AssetHost {
public:
    AssetHost(const std::string& root, const std::string& log) : m_log(log) {
        Spawned server;
        SpawnOptions options;
        options.search_path = true;
        options.null_input = true;
        options.capture_output = true;
        if (spawn_process("python3", {ND_ASSET_SERVER, root, log}, options, &server) != 0) return;
        m_pid = server.pid;
        // The server prints its port once it listens; give it ten seconds.
        std::string line;
        pollfd p{server.output, POLLIN, 0};
        while (line.find('\n') == std::string::npos && poll(&p, 1, 10000) == 1) {
            char buf[64];
            const ssize_t n = read(server.output, buf, sizeof buf);
            if (n <= 0) break;
            line.append(buf, static_cast<size_t>(n));
        }
        close(server.output);
        m_port = std::atoi(line.c_str());
    }
    ~AssetHost() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        wait_process(m_pid);
    }
    AssetHost(const AssetHost&) = delete;
    AssetHost& operator=(const AssetHost&) = delete;

    bool ok() const { return m_port > 0; }
    std::string address() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    // Every path asked for so far, in order.
    std::vector<std::string> requests() const {
        std::vector<std::string> out;
        std::ifstream in(m_log);
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }

private:
    std::string m_log;
    pid_t m_pid = -1;
    int m_port = 0;
};

}  // namespace nd::testing
