#include "app/start/workspace_name.h"

namespace nd::start {

namespace {

bool has_workspace_extension(const std::string& name) {
    size_t dot = name.find('.');
    return dot != std::string::npos && name.compare(dot, std::string::npos, ".wk") == 0;
}

}  // namespace

std::string file_name_of(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int path_for_new_workspace(const std::string& chosen, std::string* path) {
    if (file_name_of(chosen).empty()) return -1;
    *path = chosen;
    if (!has_workspace_extension(file_name_of(chosen))) *path += ".wk";
    return 0;
}

bool acceptable_for_open(const std::string& chosen) {
    return has_workspace_extension(file_name_of(chosen));
}

}  // namespace nd::start
