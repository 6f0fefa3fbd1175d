#include "update/config_file.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "settings/envelope.h"

namespace nd {

int read_config_file(const std::string& path, ConfigRecord* record, std::string* reason) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return kConfigMissing;
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string plain;
    const int status = unseal(bytes.str(), plain, sizeof(ConfigRecord));
    if (status != kUnsealOk || plain.size() != sizeof(ConfigRecord)) {
        if (reason) *reason = path + ": " + unseal_error_text(status);
        return kConfigDamaged;
    }
    std::memcpy(record, plain.data(), sizeof(ConfigRecord));
    return kConfigOk;
}

int write_config_file(const std::string& path, const ConfigRecord& record) {
    const std::string sealed = seal(&record, sizeof record);
    if (sealed.empty()) return -1;
    const std::string temp = path + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return -1;
    bool ok = std::fwrite(sealed.data(), 1, sealed.size(), f) == sealed.size();
    ok = std::fclose(f) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(temp.c_str());
    return ok ? 0 : -1;
}

}  // namespace nd
