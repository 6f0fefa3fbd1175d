// One question to the control server, for a program that only wants to know
// the newest release: the updater's hello and a keep-alive, the version
// reply, and the connection closed again. Every wait is bounded, so a
// missing or silent server costs at most the two timeouts.
#pragma once

#include <cstdint>

#include "base/servers_cfg.h"
#include "update/protocol.h"

namespace nd {

struct QueryTimeouts {
    int connect_ms = 5000;
    // From the hello to the version reply, stray values included.
    int reply_ms = 10000;
};

// Status codes of ask_newest_release.
constexpr int kQueryOk = 0;
constexpr int kQueryUnreachable = -1;  // no connection within connect_ms
constexpr int kQueryNoReply = -2;      // closed, failed or silent before a reply

// Asks `control` for the newest release of `product_type`, sending the
// product's flag byte as the updater does. kQueryOk with *newest set, or a
// failure code with *newest untouched.
[[nodiscard]] int ask_newest_release(const ServerAddress& control, uint8_t product_type,
                                     uint8_t product_flag, const QueryTimeouts& timeouts,
                                     Version* newest);

}  // namespace nd
