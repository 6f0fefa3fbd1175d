#include "tools/nodrel-tool/read_workspace.h"

#include <cstdio>

#include "base/gbk.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"
#include "tools/nodrel-tool/command.h"

namespace tool {

void print_load_failure(const char* command, int code) {
    nd::LoadFailure f = nd::last_load_failure();
    std::fprintf(stderr, "nodrel-tool %s: the workspace cannot be loaded (%d): %s\n  %s\n", command,
                 code, nd::gbk_to_utf8(f.message_gbk).c_str(), f.detail.c_str());
}

int load_read_only(const char* command, const char* wk, std::string* root_out) {
    std::string root;
    if (!workspace_root_of(command, wk, root)) return 2;
    nd::Tables.read_only = true;
    nd::set_workspace_root(root);
    int r = nd::load_workspace();
    if (r < 0) {
        print_load_failure(command, r);
        return 1;
    }
    if (root_out) *root_out = root;
    return 0;
}

bool parse_location(const char* text, int parts, nd::LocationRef& out) {
    int v[3] = {0, 0, 0}, used = 0;
    int n = parts == 3 ? std::sscanf(text, "%d.%d.%d%n", &v[0], &v[1], &v[2], &used)
                       : std::sscanf(text, "%d.%d%n", &v[0], &v[1], &used);
    if (n != parts || text[used] != '\0' || v[0] < 0 || v[1] < 0 || v[2] < 0) return false;
    out = nd::LocationRef{0, v[0], v[1], v[2]};
    return true;
}

std::string location_text(const nd::LocationRef& at) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d.%d.%d", at.group, at.board, at.slot);
    return buf;
}

std::string field_utf8(const char* field, size_t width) {
    return nd::gbk_to_utf8(nd::field_text(field, width));
}

}  // namespace tool
