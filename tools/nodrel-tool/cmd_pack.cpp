// nodrel-tool pack IN OUT [--block N]: makes a release block file from a
// program file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/nodrel-tool/command.h"
#include "zip/block_file.h"

namespace {

bool read_whole(const char* path, std::vector<uint8_t>* out) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    uint8_t buf[65536];
    size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) out->insert(out->end(), buf, buf + got);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

// Writes beside the target and renames, so OUT is either whole or untouched.
bool write_whole(const char* path, const std::vector<uint8_t>& data) {
    const std::string temp = std::string(path) + ".part";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = std::fclose(f) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), path) == 0;
    if (!ok) std::remove(temp.c_str());
    return ok;
}

int run_pack(int argc, char** argv) {
    int block = nd::kLz77BlockMax;
    std::vector<const char*> paths;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--block") && i + 1 < argc) {
            char* end = nullptr;
            const long n = std::strtol(argv[++i], &end, 10);
            if (*end || n < 1 || n > nd::kLz77BlockMax) {
                std::fprintf(stderr, "pack: --block takes 1..65536\n");
                return 2;
            }
            block = static_cast<int>(n);
        } else {
            paths.push_back(argv[i]);
        }
    }
    if (paths.size() != 2) {
        std::fprintf(stderr, "usage: nodrel-tool pack IN OUT [--block N]\n");
        return 2;
    }
    std::vector<uint8_t> data, file;
    if (!read_whole(paths[0], &data)) {
        std::fprintf(stderr, "pack: cannot read %s\n", paths[0]);
        return 1;
    }
    nd::CCompressLZ77 codec;
    if (nd::pack_blocks(codec, data.data(), data.size(), block, &file) != 0) {
        std::fprintf(stderr, "pack: --block takes 1..65536\n");
        return 2;
    }
    if (!write_whole(paths[1], file)) {
        std::fprintf(stderr, "pack: cannot write %s\n", paths[1]);
        return 1;
    }
    std::fprintf(stderr, "pack: %zu bytes -> %zu bytes\n", data.size(), file.size());
    return 0;
}

const tool::Registration reg({"pack", "pack IN OUT [--block N]", run_pack});

}  // namespace
