// "config.cfg" as the updater reads it: whole, through the settings envelope,
// with the reason when it cannot be used. It is written back with the
// settings library's write_config and never created. The file is in the
// current directory.
#pragma once

#include <string>

#include "settings/records.h"

namespace nd {

constexpr char kConfigFile[] = "config.cfg";

// Status codes of read_config_file.
constexpr int kConfigOk = 0;
constexpr int kConfigMissing = -1;
constexpr int kConfigDamaged = -2;

// Reads and unseals `path` into *record. *reason explains a damaged file.
[[nodiscard]] int read_config_file(const std::string& path, ConfigRecord* record,
                                   std::string* reason);

}  // namespace nd
