// "config.cfg" as the updater uses it: read and written whole through the
// settings envelope, never created. The file is in the current directory.
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
int read_config_file(const std::string& path, ConfigRecord* record, std::string* reason);

// Seals the record with a fresh key and replaces `path` through a temporary
// file and a rename, so the old file stays whole if writing fails. 0 or -1.
int write_config_file(const std::string& path, const ConfigRecord& record);

}  // namespace nd
