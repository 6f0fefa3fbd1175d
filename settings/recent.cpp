#include <cstring>

#include "base/file_io.h"
#include "base/gbk.h"
#include "settings/settings.h"

namespace nd {

namespace {

int entry_count(const RecentList& list) {
    int n = list.table.count;
    return n < 0 ? 0 : (n > 20 ? 20 : n);
}

}  // namespace

int load_recent(RecentList& list, const std::string& file) {
    list.file = file;
    int r = read_sealed(file, &list.table, sizeof list.table);
    if (r == 0) {
        if (list.table.count < 0 || list.table.count > 20) list.table.count = entry_count(list);
        return 0;
    }
    // A damaged list that cannot be kept aside is not written over; the
    // empty list serves from memory.
    std::memset(&list.table, 0, sizeof list.table);
    if (r == kSealedDamaged && !keep_aside(file)) return -1;
    return save_recent(list);
}

int save_recent(const RecentList& list) {
    return write_sealed(list.file, &list.table, sizeof list.table);
}

int add_recent(RecentList& list, const char* path, const char* name) {
    if (!path || std::strlen(path) >= sizeof(RecentEntry::path)) return -1;
    int n = entry_count(list);
    int index = n < 20 ? n : 19;
    RecentEntry& e = list.table.entries[index];
    std::memset(&e, 0, sizeof e);
    std::strcpy(e.path, path);
    // The display name is the file name without its ".wk", cut to the field
    // without splitting a character.
    const std::string_view nm = name ? name : "";
    gbk_copy_field(e.name, sizeof e.name, nm.substr(0, gbk_cut_last(nm, 3)));
    if (index == n) list.table.count = n + 1;
    return index;
}

int find_recent(const RecentList& list, const char* path) {
    if (!path) return -1;
    int n = entry_count(list);
    for (int i = 0; i < n; ++i)
        if (strncmp(list.table.entries[i].path, path, sizeof(RecentEntry::path)) == 0) return i;
    return -1;
}

int move_recent_to_top(RecentList& list, int index) {
    int n = entry_count(list);
    if (index < 0 || index >= n) return -1;
    RecentEntry moved = list.table.entries[index];
    for (int i = index; i > 0; --i) list.table.entries[i] = list.table.entries[i - 1];
    list.table.entries[0] = moved;
    return save_recent(list) == 0 ? 0 : -2;
}

int drop_missing_recent(RecentList& list) {
    int n = entry_count(list);
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        RecentEntry& e = list.table.entries[i];
        e.path[sizeof e.path - 1] = 0;
        if (!e.path[0] || !file_exists(e.path)) continue;
        if (kept != i) list.table.entries[kept] = e;
        ++kept;
    }
    int dropped = n - kept;
    for (int i = kept; i < 20; ++i) std::memset(&list.table.entries[i], 0, sizeof(RecentEntry));
    list.table.count = kept;
    // A list that cannot be saved is used from memory; the next save that
    // works writes it.
    if (dropped > 0) static_cast<void>(save_recent(list));
    return dropped;
}

void refresh_recent_flags(RecentList& list) {
    int n = entry_count(list);
    for (int i = 0; i < n; ++i) {
        RecentEntry& e = list.table.entries[i];
        e.path[sizeof e.path - 1] = 0;
        WorkspaceRecord rec;
        e.locked = read_sealed(e.path, &rec, sizeof rec) == 0 && rec.password[0] != 0;
        e.in_use = static_cast<uint8_t>(workspace_in_use(e.path));
    }
}

}  // namespace nd
