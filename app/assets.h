// The asset download: four data files fetched once over HTTP from the asset
// host that servers.cfg names ("assets = http://..."), on a thread of its own
// that start-up starts before the start page and nobody waits for. A file
// that is already there is never fetched again; a failed one is simply tried
// again at the next start, so a failure must leave nothing behind.
#pragma once

#include <cstdint>
#include <string>

#include "session/app.h"

namespace nd {

struct AssetLimits {
    int64_t max_bytes = int64_t{64} << 20;
    long connect_timeout_ms = 10000;
    // A transfer slower than one byte a second for this long is given up.
    long stall_seconds = 30;
    long total_seconds = 600;
};

// Status codes of fetch_asset.
constexpr int kAssetFetched = 0;
constexpr int kAssetPresent = 1;          // the file exists; nothing was fetched
constexpr int kAssetNoConnection = -1;    // no transfer could be made or the host reached
constexpr int kAssetBadAnswer = -2;       // anything but a complete 200 answer within the limits
constexpr int kAssetTempUnwritable = -3;  // the temporary file "t.1" cannot be used
constexpr int kAssetNotRead = -4;         // the fetched bytes cannot be read back from "t.1"
constexpr int kAssetNotPlaced = -5;       // the asset file cannot be written

// Fetches `url` into `local` unless `local` exists. The answer goes to
// `temp_file` first, which is locked while in use so two running programs
// never write into it at once, and is emptied again afterwards; `local`
// then appears whole or not at all. A status code above; for failures
// `reason` says what went wrong.
[[nodiscard]] int fetch_asset(const std::string& url, const std::string& local,
                              const std::string& temp_file, const AssetLimits& limits,
                              std::string* reason);

struct AssetFile {
    const char* local;   // below the program directory
    const char* source;  // path on the asset host
};
inline constexpr AssetFile kAssetFiles[] = {
    {"assets/taci", "/assets/taci"},
    {"assets/taci2", "/assets/taci2"},
    {"assets/pcon", "/assets/pcon"},
    {"assets/vellum/assess.jx", "/assets/vellum/assess.jx"},
};
inline constexpr int kAssetCount = 4;
static_assert(sizeof kAssetFiles / sizeof kAssetFiles[0] == kAssetCount);

struct AssetJob {
    std::string program_dir;
    std::string host;      // the "assets =" address; empty: nothing is fetched
    std::string temp_dir;  // the program's temporary folder, ending in '/'
    AssetLimits limits;
};

// Makes assets/ (and assets/vellum/ before the last file) in the program
// directory and fetches the four files in order, writing each file's status
// to results[i]. With no host, nothing is made or fetched and every result
// is kAssetNoConnection.
void download_assets(const AssetJob& job, int results[kAssetCount]);

// Starts the detached download thread for the program. Failures are logged
// to standard error and otherwise not acted on. Starting it again, or
// without a host, does nothing.
void start_asset_download(const App& app, const std::string& host);

}  // namespace nd
