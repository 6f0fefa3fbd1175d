// A real release server on loopback ports the system picks, for the tests
// that ask it over the wire.
#pragma once

#include <string>

#include "update/server/release_server.h"

namespace nd::testing {

[[nodiscard]] inline int start_on_loopback(ReleaseServer& server, ReleaseServerOptions options,
                                           std::string* reason) {
    options.bind_address = "127.0.0.1";
    options.control_port = 0;
    options.download_port = 0;
    return server.start(options, reason);
}

}  // namespace nd::testing
