#include "update/updater.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "update/install.h"
#include "update/messages.h"
#include "update/net.h"
#include "zip/lz77.h"

namespace nd {

struct Updater::Impl {
    UpdaterSetup setup;
    const ProductRow* row = nullptr;
    int type = 0;
    std::atomic<int> state{kUpdateWaiting};
    std::atomic<int> progress{0};
    std::atomic<bool> worker_done{false};
    std::atomic<bool> stopping{false};
    std::atomic<int> control_fd{-1};
    mutable std::mutex mutex;  // message, settings, offered version, download path
    std::string message = msg::kConnecting;
    Version offered;
    std::string path;
    std::mutex send_lock;
    CCompressLZ77 codec;

    void set_message(const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex);
        message = text;
    }
    // Sleeps in short steps so a stop request is seen promptly.
    void pause(int ms) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!stopping && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min(ms, 10)));
    }
};

namespace {

std::string format(const char* pattern, const Version& v) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, static_cast<int>(v.major), static_cast<int>(v.minor),
                  static_cast<int>(v.patch));
    return text;
}

void reply_reader(std::shared_ptr<Updater::Impl> u, int fd) {
    // Other 16-bit values may arrive before the reply; they are skipped.
    uint8_t code[2];
    do {
        if (!recv_all(fd, code, 2)) return;
    } while (get_u16(code) != kMsgHello);
    uint8_t body[kVersionReplySize];
    if (!recv_all(fd, body, sizeof body)) return;
    const Version offered = decode_version_reply(body);
    const Version installed = installed_version(u->setup.settings, u->type);
    if (!offers_update(installed, offered)) {
        u->set_message(format(msg::kNoUpdate, installed));
        u->state = kUpdateNone;
        return;
    }
    u->set_message(format(msg::kFound, offered));
    u->pause(u->setup.timing.approve_delay_ms);
    if (u->stopping) return;
    {
        std::lock_guard<std::mutex> lock(u->mutex);
        ConfigProfile& profile = u->setup.settings.profiles[u->type];
        profile.major = offered.major;
        profile.minor = offered.minor;
        profile.patch = offered.patch;
        u->offered = offered;
        u->path = download_path(*u->row, offered);
    }
    u->progress = 0;
    u->state = kUpdateApproved;
}

void control_connection(std::shared_ptr<Updater::Impl> u) {
    const ServerAddress& server = u->setup.servers.control;
    int fd = -1;
    while (!u->stopping) {
        fd = tcp_connect(server.host, server.port, u->setup.timing.connect_timeout_ms);
        if (fd >= 0) break;
        u->pause(u->setup.timing.retry_ms);
    }
    if (fd < 0) return;
    u->control_fd = fd;
    // The hello is made before the reply reader starts, since the reader
    // later writes the new version into the same settings profile.
    uint8_t hello[2 + sizeof(HelloRecord)];
    put_u16(hello, kMsgHello);
    const ConfigProfile& profile = u->setup.settings.profiles[u->type];
    const HelloRecord record = make_hello(static_cast<uint8_t>(u->type), profile.flag);
    std::memcpy(hello + 2, &record, sizeof record);
    std::thread reader(reply_reader, u, fd);

    // The hello, then a keep-alive every second until a send fails; all
    // sends go under the send lock.
    bool ok;
    {
        std::lock_guard<std::mutex> lock(u->send_lock);
        ok = send_all(fd, hello, sizeof hello);
    }
    while (ok && !u->stopping) {
        uint8_t keep[2];
        put_u16(keep, kMsgKeepAlive);
        {
            std::lock_guard<std::mutex> lock(u->send_lock);
            ok = send_all(fd, keep, sizeof keep);
        }
        if (ok) u->pause(u->setup.timing.keepalive_ms);
    }
    shutdown(fd, SHUT_RDWR);
    reader.join();
    u->control_fd = -1;
    close_socket(fd);
}

// The release arrives in pieces of this size, whatever the server announced,
// and goes straight to the release file: memory stays small however large
// a release a server claims.
constexpr size_t kDownloadPiece = 64 * 1024;

// Waits for the socket to have bytes, at most until `deadline`, looking at
// stop requests in between. True when there is something to read (or the
// peer has gone, which the read then tells).
bool readable_before(const Updater::Impl& u, int fd,
                     std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        if (u.stopping) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(std::min<int64_t>(left.count(), 100)));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return false;
    }
}

// Moves `total` bytes from the socket into `out`. The progress bar rises by
// one for each `chunk` bytes up to 100; each rise, and the last byte, must
// come within the progress deadline of the one before.
bool receive_release(Updater::Impl& u, int fd, uint32_t chunk, uint64_t total, FILE* out) {
    using Clock = std::chrono::steady_clock;
    const auto patience = std::chrono::milliseconds(u.setup.timing.progress_deadline_ms);
    auto deadline = Clock::now() + patience;
    std::vector<uint8_t> piece(kDownloadPiece);
    uint64_t received = 0;
    int hundredths = 0;
    while (received < total) {
        if (!readable_before(u, fd, deadline)) return false;
        const size_t want = static_cast<size_t>(std::min<uint64_t>(piece.size(), total - received));
        const ssize_t got = recv(fd, piece.data(), want, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        if (std::fwrite(piece.data(), 1, static_cast<size_t>(got), out) != static_cast<size_t>(got))
            return false;
        received += static_cast<uint64_t>(got);
        const int now =
            chunk == 0 ? 0 : static_cast<int>(std::min<uint64_t>(100, received / chunk));
        if (now > hundredths) {
            hundredths = now;
            u.progress = now;
            deadline = Clock::now() + patience;
        }
    }
    return true;
}

// Fetches the release named by the download path into `release_path`. 0,
// or the message to show; on failure nothing is left at `release_path`.
const char* download(Updater::Impl& u, const std::string& path, const std::string& release_path) {
    const ServerAddress& server = u.setup.servers.update;
    const int fd = tcp_connect(server.host, server.port, u.setup.timing.connect_timeout_ms);
    if (fd < 0) return msg::kNetworkError;
    set_recv_timeout(fd, u.setup.timing.transfer_timeout_ms);
    std::vector<uint8_t> request(6 + path.size());
    put_u16(request.data(), kMsgDownload);
    put_u32(request.data() + 2, static_cast<uint32_t>(path.size()));
    std::memcpy(request.data() + 6, path.data(), path.size());
    uint8_t sizes[8];
    if (!send_all(fd, request.data(), request.size()) || !recv_all(fd, sizes, sizeof sizes)) {
        close_socket(fd);
        return msg::kUpdateError;
    }
    const uint32_t chunk = get_u32(sizes);
    const uint32_t remainder = get_u32(sizes + 4);
    // Refused before anything is written: a missing file, or a size no
    // release can have.
    const int64_t total = release_size(chunk, remainder);
    if ((chunk == 0 && remainder == 0) || total < 0) {
        close_socket(fd);
        return msg::kUpdateError;
    }
    FILE* out = std::fopen(release_path.c_str(), "wbe");
    if (!out) {
        close_socket(fd);
        return msg::kUpdateError;
    }
    bool ok = receive_release(u, fd, chunk, static_cast<uint64_t>(total), out);
    close_socket(fd);
    ok = std::fclose(out) == 0 && ok && !u.stopping;
    if (!ok) {
        std::remove(release_path.c_str());
        return msg::kUpdateError;
    }
    u.progress = 100;
    return nullptr;
}

void run_download(std::shared_ptr<Updater::Impl> u) {
    std::string path;
    Version offered;
    {
        std::lock_guard<std::mutex> lock(u->mutex);
        path = u->path;
        offered = u->offered;
    }
    const std::string release_path = release_file_path(u->setup.program_dir, offered);
    if (const char* failure = download(*u, path, release_path)) {
        u->set_message(failure);
        return;
    }
    InstallPaths paths{u->setup.program_dir, u->setup.program_dir + "/" + u->row->program_name,
                       u->setup.program_dir + "/" + u->row->backup_name};
    if (install_release(u->codec, paths, release_path) != kInstallOk) {
        u->set_message(msg::kUpdateError);
        return;
    }
    ConfigRecord settings;
    {
        std::lock_guard<std::mutex> lock(u->mutex);
        settings = u->setup.settings;
    }
    if (u->setup.save_settings && u->setup.save_settings(settings) != 0)
        std::fprintf(stderr, "update: the new version could not be written to config.cfg\n");
    u->set_message(msg::kDone);
    u->state = kUpdateFinished;
}

void worker(std::shared_ptr<Updater::Impl> u) {
    std::thread(control_connection, u).detach();
    while (u->state == kUpdateWaiting && !u->stopping) u->pause(u->setup.timing.poll_ms);
    if (u->state == kUpdateApproved && !u->stopping) run_download(u);
    u->pause(u->setup.timing.finish_delay_ms);
    u->worker_done = true;
}

}  // namespace

Version installed_version(const ConfigRecord& settings, int type) {
    const ConfigProfile& p = settings.profiles[type];
    return {p.major, p.minor, p.patch};
}

Updater::Updater(UpdaterSetup setup) : impl_(std::make_shared<Impl>()) {
    impl_->setup = std::move(setup);
    impl_->type = impl_->setup.settings.product;
    impl_->row = find_product(impl_->type);
}

Updater::~Updater() {
    impl_->stopping = true;
    const int fd = impl_->control_fd;
    if (fd >= 0) shutdown(fd, SHUT_RDWR);
}

const ProductRow* Updater::product() const {
    return impl_->row;
}

int Updater::start() {
    if (!impl_->row) {
        char text[120];
        std::snprintf(text, sizeof text, msg::kUnknownProduct, impl_->type);
        impl_->set_message(text);
        impl_->worker_done = true;
        return -1;
    }
    std::thread(worker, impl_).detach();
    return 0;
}

int Updater::state() const {
    return impl_->state;
}
int Updater::progress() const {
    return impl_->progress;
}
bool Updater::worker_finished() const {
    return impl_->worker_done;
}

std::string Updater::message() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->message;
}

ConfigRecord Updater::settings() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->setup.settings;
}

std::string Updater::download_path() const {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->path;
}

}  // namespace nd
