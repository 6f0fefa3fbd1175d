#include "store/snapshots.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "base/file_io.h"
#include "base/file_tree.h"
#include "store/paths.h"
#include "store/records.h"

namespace nd {

namespace {

std::string without_slash(const std::string& root) {
    return root.size() > 1 && root.back() == '/' ? root.substr(0, root.size() - 1) : root;
}

// Local date, and with `with_time` the time too: "YYYY-MM-DD[-hhmmss]".
std::string date_name(bool with_time) {
    time_t now = std::time(nullptr);
    struct tm lt;
    localtime_r(&now, &lt);
    char buf[32];
    std::strftime(buf, sizeof buf, with_time ? "%Y-%m-%d-%H%M%S" : "%Y-%m-%d", &lt);
    return buf;
}

// A snapshot's name: a date, perhaps with a time after it.
bool is_snapshot_name(const std::string& name) {
    unsigned y, m, d;
    char rest[16] = {};
    int n = std::sscanf(name.c_str(), "%4u-%2u-%2u%15s", &y, &m, &d, rest);
    return name.size() >= 10 && (n == 3 || (n == 4 && rest[0] == '-')) && m >= 1 && m <= 12 &&
           d >= 1 && d <= 31;
}

std::vector<std::string> snapshot_names(const std::string& root) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(snapshots_dir(root).c_str())) {
        while (const dirent* e = ::readdir(d))
            if (is_snapshot_name(e->d_name)) names.push_back(e->d_name);
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Temporary files of saves under way are not part of any state to keep.
bool leave_out(const std::string& name) {
    return is_temp_name(name);
}

// The Cases the boards of the tree at `root` list; -1 when its group table
// cannot be read. Only the structure files are read.
int count_listed_cases(const std::string& root) {
    GroupTable table;
    if (read_file_exact(root + "0/frame/root.frame", &table, sizeof table) != kIoOk) return -1;
    int cases = 0;
    auto board = std::make_unique<Board>();
    for (uint32_t g = 0; g < table.count && g < static_cast<uint32_t>(kGroupSlots); ++g) {
        if (!table.names[g][0]) continue;
        GroupFile gf;
        if (read_file_exact(make_path(root, kTypeGroup, table.keys[g], 0), &gf, sizeof gf) != kIoOk)
            continue;
        for (uint32_t b = 0; b < gf.count && b < static_cast<uint32_t>(kBoardSlots); ++b) {
            const RecordKey& bk = gf.keys[b];
            if (bk.type == kTypeDeleted) continue;
            std::memset(board.get(), 0, sizeof(Board));
            size_t held = 0;
            int io = read_file_prefix(make_path(root, bk.type, bk, 0), board.get(), sizeof(Board),
                                      &held);
            if (io != kIoOk && io != kIoShort) continue;
            cases +=
                static_cast<int>(std::min(board->case_count, static_cast<uint32_t>(kCaseSlots)));
        }
    }
    return cases;
}

// Keeps the newest kSnapshotsKept snapshots.
void prune(const std::string& root) {
    std::vector<std::string> names = snapshot_names(root);
    for (size_t i = 0; i + kSnapshotsKept < names.size(); ++i)
        remove_tree(snapshots_dir(root) + names[i]);
}

std::string errno_reason(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

}  // namespace

std::string snapshots_dir(const std::string& root) {
    return without_slash(root) + ".snapshots/";
}

int take_snapshot(const std::string& root, const std::string& name, std::string* reason) {
    const std::string dir = snapshots_dir(root);
    if (!make_dir(without_slash(dir))) {
        if (reason) *reason = errno_reason(dir);
        return -1;
    }
    // What a snapshot cut short left is of no use to anyone.
    if (DIR* d = ::opendir(dir.c_str())) {
        std::vector<std::string> partial;
        while (const dirent* e = ::readdir(d))
            if (!std::strncmp(e->d_name, ".partial", 8)) partial.push_back(dir + e->d_name);
        ::closedir(d);
        for (const std::string& p : partial) remove_tree(p);
    }
    const std::string partial = dir + ".partial" + std::to_string(::getpid());
    const std::string target = dir + name;
    if (link_tree(without_slash(root), partial, leave_out) != kIoOk ||
        !rename_no_replace(partial, target)) {
        if (reason) *reason = target + ": " + last_io_error();
        remove_tree(partial);
        return -1;
    }
    return 0;
}

int take_daily_snapshot(const std::string& root, std::string* reason) {
    if (!file_exists(root + "0/frame/root.frame")) return kSnapshotHadOne;
    const std::string today = date_name(false);
    if (dir_exists(snapshots_dir(root) + today)) return kSnapshotHadOne;
    if (take_snapshot(root, today, reason) != 0) return kSnapshotFailed;
    prune(root);
    return kSnapshotTaken;
}

std::vector<SnapshotInfo> list_snapshots(const std::string& root) {
    std::vector<SnapshotInfo> list;
    for (const std::string& name : snapshot_names(root))
        list.push_back({name, count_listed_cases(snapshots_dir(root) + name + "/")});
    return list;
}

int restore_snapshot(const std::string& root, const std::string& name, std::string* kept_as,
                     std::string* reason) {
    const std::string source = snapshots_dir(root) + name;
    if (!is_snapshot_name(name) || !file_exists(source + "/0/frame/root.frame")) {
        if (reason) *reason = "there is no snapshot " + name + " in " + snapshots_dir(root);
        return -1;
    }
    const std::string tree = without_slash(root);
    if (dir_exists(tree)) {
        std::string kept = date_name(true);
        for (int n = 1; dir_exists(snapshots_dir(root) + kept); ++n)
            kept = date_name(true) + "-" + std::to_string(n);
        if (take_snapshot(root, kept, reason) != 0) return -1;
        if (kept_as) *kept_as = kept;
    }
    // The restored tree is linked from the snapshot (which stays as it is)
    // beside the present one, and the two are swapped in one rename.
    const std::string staging = tree + ".restoring";
    remove_tree(staging);
    if (link_tree(source, staging, leave_out) != kIoOk) {
        if (reason) *reason = errno_reason(staging);
        remove_tree(staging);
        return -1;
    }
    if (!dir_exists(tree)) {
        if (::rename(staging.c_str(), tree.c_str()) != 0) {
            if (reason) *reason = errno_reason(tree);
            remove_tree(staging);
            return -1;
        }
    } else if (::renameat2(AT_FDCWD, staging.c_str(), AT_FDCWD, tree.c_str(), RENAME_EXCHANGE) !=
               0) {
        // A file system that cannot swap: the present tree steps aside first.
        const std::string aside = tree + ".replaced";
        remove_tree(aside);
        if (::rename(tree.c_str(), aside.c_str()) != 0) {
            if (reason) *reason = errno_reason(tree);
            remove_tree(staging);
            return -1;
        }
        if (::rename(staging.c_str(), tree.c_str()) != 0) {
            if (reason) *reason = errno_reason(tree);
            static_cast<void>(::rename(aside.c_str(), tree.c_str()));
            remove_tree(staging);
            return -1;
        }
        remove_tree(aside);
    }
    // The tree that was there is kept as a snapshot already.
    remove_tree(staging);
    prune(root);
    return 0;
}

int clear_stale_temp_files(const std::string& root, const std::string& wk_path) {
    const int64_t started = process_start_time();
    int removed = remove_stale_temp_files(without_slash(root), started);
    const std::string wk = replace_target(wk_path);
    size_t slash = wk.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : wk.substr(0, slash);
    const std::string prefix = wk.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp";
    if (DIR* d = ::opendir(dir.c_str())) {
        std::vector<std::string> stale;
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            struct stat st;
            if (name.compare(0, prefix.size(), prefix) != 0 || !is_temp_name(name) ||
                ::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
                !S_ISREG(st.st_mode) || static_cast<int64_t>(st.st_mtime) >= started)
                continue;
            stale.push_back(dir + "/" + name);
        }
        ::closedir(d);
        for (const std::string& p : stale) removed += ::unlink(p.c_str()) == 0;
    }
    return removed;
}

}  // namespace nd
