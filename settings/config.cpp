#include <sys/stat.h>

#include <cstring>

#include "base/file_io.h"
#include "settings/settings.h"

namespace nd {

void default_config(ConfigRecord& cfg) {
    std::memset(&cfg, 0, sizeof cfg);
    cfg.product = kProductCode;
    static const uint8_t kOptions[9] = {1, 0, 1, 0, 0, 0, 0, 1, 0};
    for (ConfigProfile& p : cfg.profiles) {
        p.patch = 1;
        p.value13 = 1;
        std::memcpy(p.options, kOptions, sizeof kOptions);
    }
    cfg.profiles[kProductCode].flag = kProductCode;
}

int read_config(const std::string& path, ConfigRecord& cfg) {
    return read_sealed(path, &cfg, sizeof cfg);
}

int write_config(const std::string& path, const ConfigRecord& cfg) {
    return write_sealed(path, &cfg, sizeof cfg);
}

int save_config(const std::string& path, ConfigRecord& cfg) {
    ConfigProfile& own = cfg.profiles[kProductCode];
    own.major = kVersionMajor;
    own.minor = kVersionMinor;
    own.patch = kVersionPatch;
    return write_config(path, cfg);
}

int load_config(const std::string& path, ConfigRecord& cfg) {
    struct stat st;
    bool present = ::stat(path.c_str(), &st) == 0;
    if (present && st.st_size >= static_cast<off_t>(sizeof cfg)) {
        int r = read_config(path, cfg);
        if (r == 0) return save_config(path, cfg);
    }
    // A file that is there but unusable is kept aside before the defaults
    // replace it; one that cannot be moved is not written over, and the
    // defaults serve from memory.
    default_config(cfg);
    if (present && !keep_aside(path)) return -1;
    return save_config(path, cfg);
}

}  // namespace nd
