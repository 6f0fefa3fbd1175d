// Small blocking TCP helpers shared by the updater and the release server.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nd {

// Resolves `host` to an IPv4 address and connects, giving up after
// `timeout_ms`. Returns the socket or -1.
[[nodiscard]] int tcp_connect(const std::string& host, int port, int timeout_ms);

// Listens on `bind_address`:`port` (port 0 picks a free one). Returns the
// socket or -1; *bound_port receives the port in use.
[[nodiscard]] int tcp_listen(const std::string& bind_address, int port, int* bound_port);

// Moves exactly n bytes in pieces of at most 8,192 bytes, repeating each
// piece until it is complete. Any call that returns 0 or less fails the
// whole transfer (false).
[[nodiscard]] bool send_all(int fd, const void* data, size_t n);
[[nodiscard]] bool recv_all(int fd, void* data, size_t n);

// Receive timeout for a socket, so a silent peer cannot hold a thread forever.
void set_recv_timeout(int fd, int ms);

void close_socket(int fd);

}  // namespace nd
