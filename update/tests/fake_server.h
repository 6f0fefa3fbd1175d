// A scripted TCP server on 127.0.0.1 for tests: each accepted connection is
// handed to the test's function on its own thread, so a test can play a
// server that misbehaves in exactly the way it needs.
#pragma once

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "update/net.h"

namespace nd::testing {

class FakeServer {
public:
    explicit FakeServer(std::function<void(int fd)> handler) : handler_(std::move(handler)) {
        listener_ = tcp_listen("127.0.0.1", 0, &port_);
        accept_thread_ = std::thread([this] {
            for (;;) {
                const int fd = accept(listener_, nullptr, nullptr);
                if (fd < 0 || stopping_) {
                    if (fd >= 0) close(fd);
                    return;
                }
                std::lock_guard<std::mutex> lock(mutex_);
                fds_.push_back(fd);
                threads_.emplace_back([this, fd] { handler_(fd); });
            }
        });
    }
    ~FakeServer() {
        stopping_ = true;
        shutdown(listener_, SHUT_RDWR);
        accept_thread_.join();
        close(listener_);
        std::lock_guard<std::mutex> lock(mutex_);
        for (int fd : fds_) shutdown(fd, SHUT_RDWR);
        for (auto& t : threads_) t.join();
        for (int fd : fds_) close(fd);
    }
    int port() const { return port_; }
    int connections() {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(fds_.size());
    }

private:
    std::function<void(int)> handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::vector<int> fds_;
    std::vector<std::thread> threads_;
    std::thread accept_thread_;
};

}  // namespace nd::testing
