#include "base/file_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "base/file_io.h"

namespace nd {

namespace {

struct Entry {
    std::string name;
    bool dir = false;
    bool file = false;  // a regular file
};

// The entries of one folder, "." and ".." left out, told apart by the type
// the listing gives (a stat only where the file system gives none). False
// when it cannot be read.
bool list_dir(const std::string& dir, std::vector<Entry>& out) {
    out.clear();
    DIR* d = ::opendir(dir.c_str());
    if (!d) return false;
    while (const dirent* e = ::readdir(d)) {
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) continue;
        Entry entry;
        entry.name = e->d_name;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            entry.dir = S_ISDIR(st.st_mode);
            entry.file = S_ISREG(st.st_mode);
        } else {
            entry.dir = e->d_type == DT_DIR;
            entry.file = e->d_type == DT_REG;
        }
        out.push_back(std::move(entry));
    }
    ::closedir(d);
    return true;
}

// Copies one file, keeping its permissions; for file systems that cannot
// link.
bool copy_file(const std::string& from, const std::string& to) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st;
    int out = ::fstat(in, &st) == 0
                  ? ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777)
                  : -1;
    bool ok = out >= 0;
    char buf[65536];
    while (ok) {
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            ssize_t w = ::write(out, buf + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            ok = w > 0;
            done += w > 0 ? w : 0;
        }
    }
    int saved = errno;
    ::close(in);
    if (out >= 0 && ::close(out) != 0) ok = false;
    errno = saved;
    return ok;
}

}  // namespace

bool walk_files(const std::string& dir, const std::function<void(const std::string&)>& visit) {
    std::vector<Entry> entries;
    if (!list_dir(dir, entries)) return false;
    for (const Entry& e : entries) {
        std::string path = dir + "/" + e.name;
        if (e.dir) {
            walk_files(path, visit);
        } else if (e.file) {
            visit(path);
        }
    }
    return true;
}

int link_tree(const std::string& from, const std::string& to,
              const std::function<bool(const std::string&)>& leave_out) {
    std::vector<Entry> entries;
    if (!list_dir(from, entries) || ::mkdir(to.c_str(), 0777) != 0) return kIoFailed;
    for (const Entry& e : entries) {
        std::string src = from + "/" + e.name;
        std::string dst = to + "/" + e.name;
        if (e.dir) {
            if (link_tree(src, dst, leave_out) != kIoOk) return kIoFailed;
            continue;
        }
        if (!e.file || leave_out(e.name)) continue;
        // A file is replaced by rename whenever it is saved, so a link keeps
        // the bytes it has now for good, at no cost in space.
        if (::link(src.c_str(), dst.c_str()) == 0) continue;
        if (errno != EXDEV && errno != EPERM && errno != EMLINK && errno != ENOTSUP &&
            errno != EOPNOTSUPP)
            return kIoFailed;
        if (!copy_file(src, dst)) return kIoFailed;
    }
    return kIoOk;
}

bool remove_tree(const std::string& dir) {
    std::vector<Entry> entries;
    if (!list_dir(dir, entries)) return errno == ENOENT;
    bool all = true;
    for (const Entry& e : entries) {
        std::string path = dir + "/" + e.name;
        if (e.dir) {
            all = remove_tree(path) && all;
        } else if (::unlink(path.c_str()) != 0) {
            all = false;
        }
    }
    return ::rmdir(dir.c_str()) == 0 && all;
}

int64_t process_start_time() {
    // The start is kept in clock ticks after boot, field 22 of
    // /proc/self/stat; the command name in field 2 may hold spaces and
    // brackets, so the count starts after its last ')'.
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    std::FILE* f = std::fopen("/proc/self/stat", "re");
    if (!f) return now;
    char buf[1024];
    size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = 0;
    const char* p = std::strrchr(buf, ')');
    if (!p) return now;
    unsigned long long ticks = 0;
    // Fields 3..21 are skipped; field 22 is the start time.
    int field = 2;
    for (const char* q = p + 1; *q && field < 22; ++q) {
        if (*q == ' ' && ++field == 22) ticks = std::strtoull(q + 1, nullptr, 10);
    }
    timespec up{};
    long hz = ::sysconf(_SC_CLK_TCK);
    if (field != 22 || hz <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &up) != 0) return now;
    const int64_t uptime = static_cast<int64_t>(up.tv_sec);
    return now - uptime + static_cast<int64_t>(ticks / static_cast<unsigned long long>(hz));
}

int remove_stale_temp_files(const std::string& dir, int64_t before) {
    int removed = 0;
    walk_files(dir, [&](const std::string& path) {
        size_t slash = path.find_last_of('/');
        if (!is_temp_name(path.substr(slash + 1))) return;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || static_cast<int64_t>(st.st_mtime) >= before) return;
        if (::unlink(path.c_str()) == 0) ++removed;
    });
    return removed;
}

}  // namespace nd
