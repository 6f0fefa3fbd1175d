#include "app/start/workspace_name.h"

namespace nd::start {

namespace {

// A workspace's tree is named after the file without its extension, so a
// file called only ".wk" would spread its tree over the folder it sits in.
bool has_workspace_extension(const std::string& name) {
    size_t dot = name.find('.');
    return dot != std::string::npos && dot > 0 && name.compare(dot, std::string::npos, ".wk") == 0;
}

}  // namespace

std::string file_name_of(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int path_for_new_workspace(const std::string& chosen, std::string* path) {
    std::string name = file_name_of(chosen);
    bool ends_in_wk = name.size() >= 3 && name.compare(name.size() - 3, 3, ".wk") == 0;
    if (!ends_in_wk) name += ".wk";
    if (name == ".wk") return -1;
    *path = ends_in_wk ? chosen : chosen + ".wk";
    return 0;
}

bool acceptable_for_open(const std::string& chosen) {
    return has_workspace_extension(file_name_of(chosen));
}

}  // namespace nd::start
