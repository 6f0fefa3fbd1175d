#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/file_io.h"
#include "base/gbk.h"
#include "settings/settings.h"

namespace nd {

namespace {

// The in-use lock is an open-file-description lock: it belongs to the open
// .wk file, so it is not dropped when some other descriptor of the same file
// is closed in this process, and a second open inside this process sees the
// workspace as in use too.
bool try_lock(int fd) {
    struct flock fl;
    std::memset(&fl, 0, sizeof fl);
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

std::string errno_text() {
    return std::strerror(errno);
}

constexpr int kLockBusy = -2;

// Opens the file at `path` and takes its lock. The holder's saves replace
// the file by rename, so between this open and this lock the name can come
// to lead to a new file, and a lock won on the old one guards nothing: the
// locked file must still be the one at the name (same device and inode),
// else the open is made again. Returns the locked descriptor, kLockBusy when
// another open file holds the lock (or the name keeps changing under a
// holder's saves), or -1 with errno set.
int open_locked(const std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) return -1;
        if (!try_lock(fd)) {
            ::close(fd);
            return kLockBusy;
        }
        struct stat held, named;
        if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            return fd;
        }
        ::close(fd);
    }
    return kLockBusy;
}

// Reads and unseals the record from the locked file. False when it is
// damaged.
bool read_record(int fd, WorkspaceRecord& out) {
    std::string bytes, rec;
    char buf[4096];
    ssize_t n;
    while ((n = ::pread(fd, buf, sizeof buf, static_cast<off_t>(bytes.size()))) > 0 &&
           bytes.size() < (1u << 20)) {
        bytes.append(buf, static_cast<size_t>(n));
    }
    if (unseal(bytes, rec, sizeof out) != kUnsealOk) return false;
    std::memcpy(&out, rec.data(), sizeof out);
    return true;
}

// Writes a sealed record into a new file, locks it, then renames it over
// `path` (over the file a symbolic link there leads to): the name always
// points at a locked file while we hold the workspace. Returns the new locked
// descriptor or -1.
int replace_locked(const std::string& path, const WorkspaceRecord& rec) {
    std::string bytes = seal(&rec, sizeof rec);
    if (bytes.empty()) return -1;
    std::string target = replace_target(path);
    if (target.empty()) return -1;
    std::string tmp;
    int fd = open_temp_beside(target, &tmp);
    if (fd < 0) return -1;
    const char* p = bytes.data();
    size_t left = bytes.size();
    bool ok = try_lock(fd);
    while (ok && left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
        } else {
            p += n;
            left -= static_cast<size_t>(n);
        }
    }
    if (!ok) {
        int saved = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        errno = saved;
        return -1;
    }
    if (finish_replace(fd, tmp, target) != kIoOk) {
        int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

void apply_load_corrections(WorkspaceRecord& rec) {
    if (rec.skin == 1) rec.skin = 2;
    if (rec.width < 900) rec.width = 900;
    if (rec.height < 600) rec.height = 600;
    rec.byte327 = 0;
    rec.mark = 2052;
    rec.password[sizeof rec.password - 1] = 0;
}

}  // namespace

void default_workspace_settings(WorkspaceRecord& r) {
    std::memset(&r, 0, sizeof r);
    r.value32 = 6;
    r.mark = 2052;
    r.value53 = -1;
    r.width = 1600;
    r.height = 900;
    r.byte87 = 1;
    r.values278[0] = 77;
    r.values278[1] = 67;
    r.values278[2] = 77;
    r.values278[3] = 482;
    r.value294 = 99999;
    r.value298 = 167;
    r.pair302[0] = 288;
    r.pair302[1] = 400;
    r.pair306[0] = 288;
    r.pair306[1] = 400;
    r.pair310[0] = 244;
    r.pair310[1] = 300;
    r.value315 = 99999;
    r.value319 = 67;
    r.byte327 = 1;
    r.value328 = 380;
    r.value332 = 67;
}

int workspace_in_use(const std::string& path) {
    int fd = open_locked(path);
    if (fd == kLockBusy) return 1;
    if (fd >= 0) ::close(fd);
    return 0;
}

int load_workspace_settings(WorkspaceSettings& ws, const std::string& path, std::string* reason) {
    auto why = [&](const std::string& text) {
        if (reason) *reason = text;
    };
    close_workspace_settings(ws);
    ws.path = path;
    ws.kept_aside.clear();
    int status = kWkLoaded;
    int fd = open_locked(path);
    if (fd == kLockBusy) {
        why(path + ": the workspace is open in another program");
        return kWkInUse;
    }
    if (fd < 0 && errno != ENOENT) {
        why(path + ": " + errno_text());
        return kWkFailed;
    }
    if (fd >= 0) {
        if (read_record(fd, ws.record)) {
            ws.file = fd;
        } else {
            // The damaged record goes aside under our lock; defaults follow.
            // Behind a symbolic link it is the real file that goes aside, so
            // the link leads to the new one.
            if (!keep_aside(replace_target(path), &ws.kept_aside)) {
                why(path + ": damaged and could not be kept aside: " + errno_text());
                ::close(fd);
                return kWkFailed;
            }
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0) {
        default_workspace_settings(ws.record);
        ws.file = replace_locked(path, ws.record);
        if (ws.file < 0) {
            why(path + ": " + errno_text());
            return kWkFailed;
        }
        status = kWkCreated;
    }
    apply_load_corrections(ws.record);
    return status;
}

int inspect_workspace_settings(WorkspaceSettings& ws, const std::string& path,
                               std::string* reason) {
    close_workspace_settings(ws);
    ws.path = path;
    ws.kept_aside.clear();
    int fd = open_locked(path);
    if (fd == kLockBusy) {
        if (reason) *reason = path + ": the workspace is open in another program";
        return kWkInUse;
    }
    if (fd < 0) {
        if (reason) *reason = path + ": " + errno_text();
        return kWkFailed;
    }
    ws.file = fd;
    if (read_record(fd, ws.record)) return kWkLoaded;
    default_workspace_settings(ws.record);
    if (reason) *reason = path + ": the settings record is damaged";
    return kWkDamaged;
}

int save_workspace_settings(WorkspaceSettings& ws) {
    // Only the holder of the lock writes: a settings object whose open was
    // refused, or that was closed, would replace the file another program
    // holds and leave that program's lock on a file no longer there.
    if (ws.file < 0) return -1;
    int fd = replace_locked(ws.path, ws.record);
    if (fd < 0) return -1;
    if (ws.file >= 0) ::close(ws.file);
    ws.file = fd;
    return 0;
}

void close_workspace_settings(WorkspaceSettings& ws) {
    if (ws.file >= 0) ::close(ws.file);
    ws.file = -1;
}

int set_workspace_password(WorkspaceSettings& ws, const char* text) {
    gbk_copy_field(ws.record.password, sizeof ws.record.password, text ? text : "");
    return save_workspace_settings(ws);
}

}  // namespace nd
