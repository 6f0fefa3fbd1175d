#include "store/paths.h"

#include <cstdio>

#include "base/file_io.h"
#include "base/gbk.h"

namespace nd {

namespace {

enum class Family { kNone, kGroup, kBoard, kCase, kImage };

Family family_of(uint16_t type) {
    uint16_t t = type == kTypeDeleted ? 0 : (type & 0x7FFF);
    if (t == kTypeGroup) return Family::kGroup;
    if (t == kTypeBoard) return Family::kBoard;
    if (t == kTypeImage) return Family::kImage;
    if (is_case_type(t)) return Family::kCase;
    return Family::kNone;
}

// "YYYY/MM/DD/hh_mm_ss_%08X" with the given separator.
std::string dated_stem(const RecordKey& k, char sep) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04u%c%02u%c%02u%c%02u_%02u_%02u_%08X", unsigned{k.year}, sep,
                  unsigned{k.month}, sep, unsigned{k.day}, sep, unsigned{k.hour},
                  unsigned{k.minute}, unsigned{k.second}, unsigned{k.serial});
    return buf;
}

// Makes `base` and its year, month and day folders for the key.
// A level that cannot be made ends it: the levels below it cannot be made
// either, and the write that needed them fails and says so.
void make_dated_dirs(std::string base, const RecordKey& key) {
    char levels[3][8];
    std::snprintf(levels[0], sizeof levels[0], "%04u/", unsigned{key.year});
    std::snprintf(levels[1], sizeof levels[1], "%02u/", unsigned{key.month});
    std::snprintf(levels[2], sizeof levels[2], "%02u/", unsigned{key.day});
    if (!make_dir(base)) return;
    for (const char* level : levels) {
        if (!make_dir(base += level)) return;
    }
}

std::string case_path(const std::string& root, const RecordKey& key, int part, const char* ext) {
    return root + "1/case/" + dated_stem(key, '/') + (part == 1 ? "_BODY" : "") + ext;
}

}  // namespace

bool workspace_root(const std::string& wk_path, std::string& root) {
    size_t slash = wk_path.find_last_of('/');
    size_t dot = wk_path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    std::string r = wk_path.substr(0, dot) + "/";
    if (r.size() > 259 || r.size() < 2) return false;
    root = r;
    return true;
}

std::string make_path(const std::string& root, uint16_t type, const RecordKey& key, int part) {
    switch (family_of(type)) {
        case Family::kGroup: {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%04u_%02u_%02u_%02u%02u%02u_%08X", unsigned{key.year},
                          unsigned{key.month}, unsigned{key.day}, unsigned{key.hour},
                          unsigned{key.minute}, unsigned{key.second}, unsigned{key.serial});
            return root + "0/frame/" + buf;
        }
        case Family::kBoard:
            return root + "0/frame/" + dated_stem(key, '/') + ".frame";
        case Family::kCase:
            return case_path(root, key, part, ".case");
        case Family::kImage:
            return root + "1/img/" + dated_stem(key, '/') + ".jpg";
        case Family::kNone:
            break;
    }
    return std::string();
}

std::string make_points_path(const std::string& root, const RecordKey& key) {
    return root + "1/case/" + dated_stem(key, '/') + ".pos";
}

int make_path_for_read(const std::string& root, uint16_t type, const RecordKey* key, int part,
                       std::string& path, int& renamed, bool allow_rename) {
    renamed = 0;
    if (!key) return kPathNoKey;
    Family f = family_of(type);
    if (f == Family::kNone) return kPathNoFiles;
    path = make_path(root, type, *key, part);
    if (f != Family::kCase) return 0;
    std::string pass = case_path(root, *key, part, ".pass");
    if (!file_exists(pass)) return 0;
    if (!allow_rename) {
        if (!file_exists(path)) path = pass;
        return 0;
    }
    // When both names exist the ".case" file wins and the ".pass" file is
    // left where it is.
    if (rename_no_replace(pass, path)) renamed = 1;
    return 0;
}

void make_dirs(const std::string& root, const RecordKey& key) {
    switch (family_of(key.type)) {
        case Family::kBoard:
            make_dated_dirs(root + "0/frame/", key);
            return;
        case Family::kCase:
        case Family::kImage:
            if (!make_dir(root + "1/")) return;
            make_dated_dirs(root + (family_of(key.type) == Family::kCase ? "1/case/" : "1/img/"),
                            key);
            return;
        case Family::kGroup:
        case Family::kNone:
            return;
    }
}

std::string stored_image_path(const RecordKey& key) {
    return "1\\img\\" + dated_stem(key, '\\') + ".jpg";
}

std::string image_short_name(const RecordKey& key) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X.jpg", unsigned{key.serial});
    return buf;
}

std::string stored_to_disk(const std::string& root, const std::string& stored) {
    // GBK trail bytes include 0x5C, so only a "\\" that is not the second
    // byte of a two-byte character is a separator.
    std::string rel;
    for (size_t i = 0, len = 0; i < stored.size(); i += len) {
        len = gbk_char_length(stored, i);
        if (len == 1 && stored[i] == '\\') {
            rel += '/';
        } else {
            rel.append(stored, i, len);
        }
    }
    size_t start = 0;
    while (start < rel.size() && rel[start] == '/') ++start;
    rel.erase(0, start);
    // A stored path must stay inside the workspace.
    if (rel == ".." || rel.rfind("../", 0) == 0 || rel.find("/../") != std::string::npos ||
        (rel.size() >= 3 && rel.compare(rel.size() - 3, 3, "/..") == 0))
        return std::string();
    return root + rel;
}

}  // namespace nd
