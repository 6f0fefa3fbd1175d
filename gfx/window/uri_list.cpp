#include "gfx/window/uri_list.h"

#include <unistd.h>

#include <climits>

namespace gfx {

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? a[i] + 32 : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? b[i] + 32 : b[i];
        if (x != y) return false;
    }
    return true;
}

// A file on another machine cannot be attached; only the empty host, the
// name "localhost" and this machine's own name mean a local file.
bool local_host(std::string_view host) {
    if (host.empty() || equal_ignoring_case(host, "localhost")) return true;
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof(name) - 1) != 0) return false;
    return equal_ignoring_case(host, name);
}

bool percent_decode(std::string_view in, std::string* out) {
    out->clear();
    for (size_t i = 0; i < in.size(); ++i) {
        // A NUL inside a path would cut it short wherever it is used, so the
        // file opened would be another one than the list names: refused as
        // a raw byte and escaped alike.
        if (in[i] == '\0') return false;
        if (in[i] != '%') {
            out->push_back(in[i]);
            continue;
        }
        if (i + 2 >= in.size()) return false;
        int high = hex_value(in[i + 1]);
        int low = hex_value(in[i + 2]);
        if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;
        out->push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return true;
}

// Calls `line_fn` for each line, without its CR LF or LF.
template <typename Fn>
void for_each_line(std::string_view text, Fn line_fn) {
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line_fn(line)) return;
        if (end == std::string_view::npos) return;
        text.remove_prefix(end + 1);
    }
}

void collect_paths(std::string_view text, size_t max, std::vector<std::string>* paths) {
    for_each_line(text, [&](std::string_view line) {
        if (paths->size() >= max) return false;
        std::string path;
        if (!line.empty() && line[0] != '#' && file_uri_to_path(line, &path)) {
            paths->push_back(std::move(path));
        }
        return true;
    });
}

}  // namespace

bool file_uri_to_path(std::string_view uri, std::string* path) {
    constexpr std::string_view kScheme = "file:";
    if (uri.size() < kScheme.size() || !equal_ignoring_case(uri.substr(0, 5), kScheme)) {
        return false;
    }
    std::string_view rest = uri.substr(kScheme.size());
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        size_t slash = rest.find('/');
        if (slash == std::string_view::npos) return false;
        if (!local_host(rest.substr(0, slash))) return false;
        rest.remove_prefix(slash);
    }
    // A query or fragment is not part of a file's name.
    size_t extra = rest.find_first_of("?#");
    if (extra != std::string_view::npos) rest = rest.substr(0, extra);
    if (!percent_decode(rest, path)) return false;
    return !path->empty() && (*path)[0] == '/';
}

std::vector<std::string> parse_uri_list(std::string_view text, size_t max) {
    std::vector<std::string> paths;
    collect_paths(text, max, &paths);
    return paths;
}

FileEffect parse_copied_files(std::string_view text, std::vector<std::string>* paths, size_t max) {
    size_t end = text.find('\n');
    std::string_view first = text.substr(0, end);
    if (!first.empty() && first.back() == '\r') first.remove_suffix(1);
    FileEffect effect = FileEffect::kLink;
    if (first == "copy") effect = FileEffect::kCopy;
    if (first == "cut") effect = FileEffect::kCut;
    paths->clear();
    if (end != std::string_view::npos) collect_paths(text.substr(end + 1), max, paths);
    return effect;
}

}  // namespace gfx
