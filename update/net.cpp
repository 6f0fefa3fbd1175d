#include "update/net.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "update/protocol.h"

namespace nd {

int tcp_connect(const std::string& host, int port, int timeout_ms) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return -1;
    sockaddr_in addr{};
    std::memcpy(&addr, found->ai_addr, sizeof addr);
    freeaddrinfo(found);
    addr.sin_port = htons(static_cast<uint16_t>(port));

    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    int rc = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    if (rc != 0 && errno == EINPROGRESS) {
        pollfd p{fd, POLLOUT, 0};
        rc = poll(&p, 1, timeout_ms) == 1 ? 0 : -1;
        int err = 0;
        socklen_t len = sizeof err;
        if (rc == 0 && (getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0)) rc = -1;
    }
    if (rc != 0) {
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, flags);
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

int tcp_listen(const std::string& bind_address, int port, int* bound_port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, bind_address.c_str(), &addr.sin_addr) != 1) return -1;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 64) != 0) {
        close(fd);
        return -1;
    }
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    if (bound_port) *bound_port = ntohs(addr.sin_port);
    return fd;
}

bool send_all(int fd, const void* data, size_t n) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    while (n > 0) {
        const size_t piece = std::min(n, kTransferPiece);
        size_t done = 0;
        while (done < piece) {
            const ssize_t got = send(fd, p + done, piece - done, MSG_NOSIGNAL);
            if (got <= 0) return false;
            done += static_cast<size_t>(got);
        }
        p += piece;
        n -= piece;
    }
    return true;
}

bool recv_all(int fd, void* data, size_t n) {
    uint8_t* p = static_cast<uint8_t*>(data);
    while (n > 0) {
        const size_t piece = std::min(n, kTransferPiece);
        size_t done = 0;
        while (done < piece) {
            const ssize_t got = recv(fd, p + done, piece - done, 0);
            if (got <= 0) return false;
            done += static_cast<size_t>(got);
        }
        p += piece;
        n -= piece;
    }
    return true;
}

void set_recv_timeout(int fd, int ms) {
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
}

void close_socket(int fd) {
    if (fd >= 0) close(fd);
}

}  // namespace nd
