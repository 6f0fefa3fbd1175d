#include "app/assets.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>

#include "base/file_io.h"

namespace nd {

namespace {

// Where the answer's bytes go while they arrive.
struct Sink {
    int fd = -1;
    int64_t written = 0;
    int64_t cap = 0;
    bool over_cap = false;
    int write_error = 0;  // errno of a failed write, kept past the transfer's own calls
};

size_t on_data(char* data, size_t size, size_t count, void* user) {
    Sink& sink = *static_cast<Sink*>(user);
    const size_t n = size * count;
    if (sink.written + static_cast<int64_t>(n) > sink.cap) {
        sink.over_cap = true;
        return 0;  // ends the transfer
    }
    for (size_t done = 0; done < n;) {
        const ssize_t w = ::write(sink.fd, data + done, n - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            sink.write_error = w < 0 ? errno : ENOSPC;
            return 0;
        }
        done += static_cast<size_t>(w);
    }
    sink.written += static_cast<int64_t>(n);
    return n;
}

// The temporary file, opened and locked: the lock is on the open file, so a
// second program that wants "t.1" waits here until the first is done with it.
int open_locked(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    struct flock lock;
    std::memset(&lock, 0, sizeof lock);
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    int rc;
    while ((rc = ::fcntl(fd, F_OFD_SETLKW, &lock)) != 0 && errno == EINTR) {
    }
    if (rc != 0 || ::ftruncate(fd, 0) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

// Runs the transfer into `sink`. kAssetFetched when a complete 200 answer
// of at most the cap arrived.
int transfer(const std::string& url, const AssetLimits& limits, Sink* sink, std::string* reason) {
    CURL* curl = curl_easy_init();
    if (!curl) {
        *reason = "no transfer could be set up";
        return kAssetNoConnection;
    }
    // The server's copy, never a cache's: the program asks for each file once.
    curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Application");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    // An error status ends the transfer before its page is kept anywhere.
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.max_bytes));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connect_timeout_ms);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.stall_seconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.total_seconds);
    // Timeouts must not use signals in a program with threads.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, on_data);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, sink);

    const CURLcode rc = curl_easy_perform(curl);
    long code = 0;
    curl_off_t announced = -1;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    curl_easy_cleanup(curl);
    curl_slist_free_all(headers);

    const double cap_mib = static_cast<double>(limits.max_bytes) / (1 << 20);
    char text[160];
    if (sink->over_cap || rc == CURLE_FILESIZE_EXCEEDED) {
        std::snprintf(text, sizeof text, "the answer is larger than %.0f MiB", cap_mib);
    } else if (sink->write_error != 0) {
        std::snprintf(text, sizeof text, "the temporary file cannot be written: %s",
                      std::strerror(sink->write_error));
        *reason = text;
        return kAssetTempUnwritable;
    } else if (rc == CURLE_COULDNT_RESOLVE_HOST || rc == CURLE_COULDNT_CONNECT ||
               rc == CURLE_UNSUPPORTED_PROTOCOL || rc == CURLE_URL_MALFORMAT) {
        std::snprintf(text, sizeof text, "%s", curl_easy_strerror(rc));
        *reason = text;
        return kAssetNoConnection;
    } else if (rc != CURLE_OK) {
        std::snprintf(text, sizeof text, "%s", curl_easy_strerror(rc));
    } else if (code != 200) {
        std::snprintf(text, sizeof text, "the server answered %ld", code);
    } else if (announced >= 0 && announced != sink->written) {
        std::snprintf(text, sizeof text, "%lld of %lld bytes arrived",
                      static_cast<long long>(sink->written), static_cast<long long>(announced));
    } else {
        return kAssetFetched;
    }
    *reason = text;
    return kAssetBadAnswer;
}

}  // namespace

int fetch_asset(const std::string& url, const std::string& local, const std::string& temp_file,
                const AssetLimits& limits, std::string* reason) {
    if (file_exists(local)) return kAssetPresent;
    Sink sink;
    sink.cap = limits.max_bytes;
    sink.fd = open_locked(temp_file);
    if (sink.fd < 0) {
        *reason = temp_file + ": " + std::strerror(errno);
        return kAssetTempUnwritable;
    }
    // Another program may have fetched the file while this one waited for
    // the temporary file.
    int status = file_exists(local) ? kAssetPresent : transfer(url, limits, &sink, reason);
    if (status == kAssetFetched) {
        std::string bytes;
        if (read_file_all(temp_file, bytes, static_cast<size_t>(limits.max_bytes)) != kIoOk) {
            *reason = temp_file + ": " + last_io_error();
            status = kAssetNotRead;
        } else if (write_file_atomic(local, bytes.data(), bytes.size()) != kIoOk) {
            *reason = local + ": " + last_io_error();
            status = kAssetNotPlaced;
        }
    }
    // Emptied, not removed: a program waiting for the lock holds this file.
    static_cast<void>(::ftruncate(sink.fd, 0));
    ::close(sink.fd);
    return status;
}

void download_assets(const AssetJob& job, int results[kAssetCount]) {
    for (int i = 0; i < kAssetCount; ++i) results[i] = kAssetNoConnection;
    if (job.host.empty()) return;
    std::string base = job.host;
    while (!base.empty() && base.back() == '/') base.pop_back();
    const std::string dir = job.program_dir + "/";
    for (int i = 0; i < kAssetCount; ++i) {
        const AssetFile& file = kAssetFiles[i];
        // assets/ before the first file, assets/vellum/ before the last; an
        // existing folder is fine, a missing one fails the fetch below.
        if (i == 0) static_cast<void>(make_dir(dir + "assets"));
        if (i == kAssetCount - 1) static_cast<void>(make_dir(dir + "assets/vellum"));
        std::string reason;
        results[i] = fetch_asset(base + file.source, dir + file.local, job.temp_dir + "t.1",
                                 job.limits, &reason);
        if (results[i] < 0) {
            std::fprintf(stderr, "nodrel: %s was not fetched from %s%s: %s\n", file.local,
                         base.c_str(), file.source, reason.c_str());
        }
    }
}

void start_asset_download(const App& app, const std::string& host) {
    if (host.empty()) return;
    if (app.TempDir.empty()) {
        std::fprintf(stderr, "nodrel: no temporary folder, so no assets are fetched\n");
        return;
    }
    static std::once_flag started;
    std::call_once(started, [&] {
        // libcurl's global set-up is done here, on the main thread, before any
        // other thread could use it.
        curl_global_init(CURL_GLOBAL_DEFAULT);
        AssetJob job{app.ProgramDir, host, app.TempDir, AssetLimits{}};
        std::thread([job] {
            int results[kAssetCount];
            download_assets(job, results);
        }).detach();
    });
}

}  // namespace nd
