// The table of pictures compiled into the program. Programs register their
// table once at start; tests register their own. Registration may happen on
// any thread, so the list is guarded.
#include <cstring>
#include <mutex>
#include <vector>

#include "gfx/gfx.h"

namespace gfx {
namespace {

struct Table {
    const Resource* entries;
    size_t count;
};

std::mutex g_lock;
std::vector<Table> g_tables;

}  // namespace

void set_resource_table(const Resource* entries, size_t count) {
    std::lock_guard<std::mutex> hold(g_lock);
    for (Table& t : g_tables) {
        if (t.entries == entries) {
            t.count = count;
            return;
        }
    }
    g_tables.push_back(Table{entries, count});
}

const Resource* find_resource(const char* type, const char* name) {
    if (type == nullptr || name == nullptr) return nullptr;
    std::lock_guard<std::mutex> hold(g_lock);
    // The table registered last wins, so a test can shadow a program picture.
    for (auto t = g_tables.rbegin(); t != g_tables.rend(); ++t) {
        for (size_t i = 0; i < t->count; ++i) {
            const Resource& r = t->entries[i];
            if (std::strcmp(r.type, type) == 0 && std::strcmp(r.name, name) == 0) return &r;
        }
    }
    return nullptr;
}

const Resource* first_resource(const char* type) {
    if (type == nullptr) return nullptr;
    std::lock_guard<std::mutex> hold(g_lock);
    for (auto t = g_tables.rbegin(); t != g_tables.rend(); ++t) {
        for (size_t i = 0; i < t->count; ++i) {
            if (std::strcmp(t->entries[i].type, type) == 0) return &t->entries[i];
        }
    }
    return nullptr;
}

}  // namespace gfx
