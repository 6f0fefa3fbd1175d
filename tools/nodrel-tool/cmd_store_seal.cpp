// nodrel-tool seal / unseal: put a raw settings record into its envelope
// and take it out again.
#include <cstdio>
#include <cstring>
#include <string>

#include "base/file_io.h"
#include "settings/envelope.h"
#include "settings/records.h"
#include "tools/nodrel-tool/command.h"

namespace {

size_t record_size(const char* kind) {
    if (!std::strcmp(kind, "config")) return sizeof(nd::ConfigRecord);
    if (!std::strcmp(kind, "table")) return sizeof(nd::RecentTable);
    if (!std::strcmp(kind, "wk")) return sizeof(nd::WorkspaceRecord);
    return 0;
}

bool read_input(const char* path, std::string& bytes) {
    int r = nd::read_file_all(path, bytes, 1u << 20);
    if (r == nd::kIoOk) return true;
    std::fprintf(stderr, "nodrel-tool: cannot read %s: %s\n", path,
                 r == nd::kIoMissing ? "no such file" : nd::last_io_error().c_str());
    return false;
}

bool write_output(const char* path, const std::string& bytes) {
    if (nd::write_file_atomic(path, bytes.data(), bytes.size()) == nd::kIoOk) return true;
    std::fprintf(stderr, "nodrel-tool: cannot write %s: %s\n", path, nd::last_io_error().c_str());
    return false;
}

int run_seal(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: nodrel-tool seal config|table|wk IN OUT\n");
        return 2;
    }
    size_t size = record_size(argv[1]);
    if (!size) {
        std::fprintf(stderr, "nodrel-tool seal: unknown kind '%s' (config, table or wk)\n",
                     argv[1]);
        return 2;
    }
    std::string rec;
    if (!read_input(argv[2], rec)) return 1;
    if (rec.size() != size) {
        std::fprintf(stderr, "nodrel-tool seal: %s has %zu bytes; a %s record has %zu\n", argv[2],
                     rec.size(), argv[1], size);
        return 1;
    }
    std::string file = nd::seal(rec.data(), rec.size());
    if (file.empty()) {
        std::fprintf(stderr, "nodrel-tool seal: the cipher failed\n");
        return 1;
    }
    return write_output(argv[3], file) ? 0 : 1;
}

int run_unseal(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: nodrel-tool unseal IN OUT\n");
        return 2;
    }
    std::string file, rec;
    if (!read_input(argv[1], file)) return 1;
    int r = nd::unseal(file, rec, 0);
    if (r != nd::kUnsealOk) {
        std::fprintf(stderr, "nodrel-tool unseal: %s is not a sealed settings file: %s\n", argv[1],
                     nd::unseal_error_text(r));
        return 1;
    }
    return write_output(argv[2], rec) ? 0 : 1;
}

const tool::Registration seal_command({"seal", "seal config|table|wk IN OUT", run_seal});
const tool::Registration unseal_command({"unseal", "unseal IN OUT", run_unseal});

}  // namespace
