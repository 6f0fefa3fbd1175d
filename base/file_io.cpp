#include "base/file_io.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <vector>

namespace nd {

namespace {

thread_local int t_errno = 0;
std::atomic<bool> g_sync{true};

int fail() {
    t_errno = errno;
    return kIoFailed;
}

bool write_all(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Reads up to `size` bytes; returns the count read or -1.
ssize_t read_up_to(int fd, void* out, size_t size) {
    char* p = static_cast<char*>(out);
    size_t got = 0;
    while (got < size) {
        ssize_t n = ::read(fd, p + got, size - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

std::string dir_of(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

void fsync_dir(const std::string& path) {
    if (!g_sync.load(std::memory_order_relaxed)) return;
    int dfd = ::open(dir_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return;
    ::fsync(dfd);
    ::close(dfd);
}

// Opens `path` for reading; a missing file is told apart from other failures.
int open_for_read(const std::string& path, int* fd) {
    *fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (*fd >= 0) return kIoOk;
    if (errno == ENOENT) {
        t_errno = errno;
        return kIoMissing;
    }
    return fail();
}

}  // namespace

int read_file_prefix(const std::string& path, void* out, size_t size, size_t* got) {
    *got = 0;
    int fd = -1;
    if (int status = open_for_read(path, &fd); status != kIoOk) return status;
    ssize_t n = read_up_to(fd, out, size);
    int saved = errno;
    ::close(fd);
    errno = saved;
    if (n < 0) return fail();
    *got = static_cast<size_t>(n);
    if (*got < size) {
        t_errno = 0;
        return kIoShort;
    }
    return kIoOk;
}

int read_file_exact(const std::string& path, void* out, size_t size) {
    size_t got = 0;
    return read_file_prefix(path, out, size, &got);
}

int read_file_all(const std::string& path, std::string& out, size_t limit) {
    int fd = -1;
    if (int status = open_for_read(path, &fd); status != kIoOk) return status;
    out.clear();
    char buf[65536];
    for (;;) {
        ssize_t n = read_up_to(fd, buf, sizeof buf);
        if (n < 0 || out.size() + static_cast<size_t>(n) > limit) {
            if (n >= 0) errno = EFBIG;
            int r = fail();
            ::close(fd);
            return r;
        }
        out.append(buf, static_cast<size_t>(n));
        if (static_cast<size_t>(n) < sizeof buf) break;
    }
    ::close(fd);
    return kIoOk;
}

std::string replace_target(const std::string& path) {
    std::string target = path;
    // 40 links in a row is what the kernel itself follows before it calls
    // the chain a loop.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st;
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size()) return target;
        link.resize(static_cast<size_t>(n));
        // A relative link is read from the folder the link is in.
        target = link[0] == '/' ? link : dir_of(target) + "/" + link;
    }
    errno = ELOOP;
    return std::string();
}

int open_temp_beside(const std::string& target, std::string* tmp) {
    static std::atomic<unsigned> counter{0};
    // A name left by a crashed process of the same id is skipped, never reused.
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        *tmp = target + ".tmp" + std::to_string(::getpid()) + "_" +
               std::to_string(counter.fetch_add(1));
        fd = ::open(tmp->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return -1;
    // The new file takes the permissions of the one it replaces: a file the
    // user made private stays private.
    struct stat st;
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::fchmod(fd, st.st_mode & 07777) != 0) {
        int saved = errno;
        ::close(fd);
        ::unlink(tmp->c_str());
        errno = saved;
        return -1;
    }
    return fd;
}

int finish_replace(int fd, const std::string& tmp, const std::string& target) {
    if ((g_sync.load(std::memory_order_relaxed) && ::fsync(fd) != 0) ||
        ::rename(tmp.c_str(), target.c_str()) != 0) {
        int r = fail();
        ::unlink(tmp.c_str());
        return r;
    }
    fsync_dir(target);
    return kIoOk;
}

bool is_temp_name(const std::string& name) {
    size_t at = name.rfind(".tmp");
    if (at == std::string::npos || at == 0) return false;
    size_t i = at + 4, digits = 0;
    while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i]))) ++i, ++digits;
    if (digits == 0) return false;
    if (i == name.size()) return true;
    if (name[i] != '_') return false;
    size_t more = 0;
    for (++i; i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])); ++i) ++more;
    return more > 0 && i == name.size();
}

int write_file_atomic(const std::string& path, const void* data, size_t size) {
    std::string target = replace_target(path);
    if (target.empty()) return fail();
    std::string tmp;
    int fd = open_temp_beside(target, &tmp);
    if (fd < 0) return fail();
    if (!write_all(fd, data, size)) {
        int r = fail();
        ::close(fd);
        ::unlink(tmp.c_str());
        return r;
    }
    int r = finish_replace(fd, tmp, target);
    if (::close(fd) != 0 && r == kIoOk) return fail();
    return r;
}

int keep_copy_aside(const std::string& path, const void* data, size_t size, std::string* kept) {
    // The copy is written whole under a temporary name first and then given
    // the first free name, so no earlier copy is ever replaced and no copy is
    // ever half there.
    std::string tmp;
    int fd = open_temp_beside(path, &tmp);
    if (fd < 0) return fail();
    bool ok = write_all(fd, data, size) &&
              (!g_sync.load(std::memory_order_relaxed) || ::fsync(fd) == 0);
    if (::close(fd) != 0) ok = false;
    for (int i = 0; ok && i < 100; ++i) {
        std::string name = path + ".bad" + (i ? std::to_string(i) : std::string());
        if (rename_no_replace(tmp, name)) {
            if (kept) *kept = name;
            return kIoOk;
        }
        if (t_errno != EEXIST) break;
    }
    int r = fail();
    ::unlink(tmp.c_str());
    return r;
}

int patch_file_atomic(const std::string& path, const FilePatch* patches, size_t count) {
    std::string bytes;
    int r = read_file_all(path, bytes, 64u << 20);
    if (r != kIoOk) return r;
    for (size_t i = 0; i < count; ++i)
        if (bytes.size() < patches[i].offset + patches[i].size) return kIoShort;
    for (size_t i = 0; i < count; ++i)
        std::memcpy(&bytes[patches[i].offset], patches[i].data, patches[i].size);
    return write_file_atomic(path, bytes.data(), bytes.size());
}

void set_sync_writes(bool on) {
    g_sync.store(on);
}

bool file_exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool dir_exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool make_dir(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) return true;
    if (errno == EEXIST && dir_exists(path)) return true;
    t_errno = errno;
    return false;
}

bool rename_no_replace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        fsync_dir(to);
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        t_errno = errno;
        return false;
    }
    // File systems without RENAME_NOREPLACE: a hard link fails on an
    // existing name just the same.
    if (::link(from.c_str(), to.c_str()) != 0) {
        t_errno = errno;
        return false;
    }
    ::unlink(from.c_str());
    fsync_dir(to);
    return true;
}

bool keep_aside(const std::string& path, std::string* kept) {
    for (int i = 0; i < 100; ++i) {
        std::string bad = path + ".bad" + (i ? std::to_string(i) : std::string());
        if (rename_no_replace(path, bad)) {
            if (kept) *kept = bad;
            return true;
        }
        if (t_errno != EEXIST) return false;
    }
    return false;
}

std::string last_io_error() {
    return t_errno ? std::strerror(t_errno) : "file too short";
}

}  // namespace nd
