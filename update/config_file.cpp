#include "update/config_file.h"

#include <cstring>

#include "base/file_io.h"
#include "settings/envelope.h"

namespace nd {

int read_config_file(const std::string& path, ConfigRecord* record, std::string* reason) {
    std::string bytes;
    const int io = read_file_all(path, bytes, 1u << 20);
    if (io == kIoMissing) return kConfigMissing;
    if (io != kIoOk) {
        if (reason) *reason = path + ": " + last_io_error();
        return kConfigDamaged;
    }
    std::string plain;
    const int status = unseal(bytes, plain, sizeof(ConfigRecord));
    if (status != kUnsealOk || plain.size() != sizeof(ConfigRecord)) {
        if (reason) *reason = path + ": " + unseal_error_text(status);
        return kConfigDamaged;
    }
    std::memcpy(record, plain.data(), sizeof(ConfigRecord));
    return kConfigOk;
}

}  // namespace nd
