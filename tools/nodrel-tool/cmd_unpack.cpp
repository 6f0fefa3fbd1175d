// nodrel-tool unpack IN OUT: rebuilds a file from a release block file.
#include <cstdio>
#include <string>

#include "tools/nodrel-tool/command.h"
#include "zip/block_file.h"

namespace {

int run_unpack(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: nodrel-tool unpack IN OUT\n");
        return 2;
    }
    nd::CCompressLZ77 codec;
    // The reader removes a partial output itself; the rename keeps an
    // existing OUT untouched when the release is damaged.
    const std::string temp = std::string(argv[2]) + ".part";
    const int status = nd::read_block_file(codec, argv[1], temp.c_str());
    if (status != nd::kBlockOk) {
        std::fprintf(stderr, "unpack: %s: %s\n", argv[1], nd::block_status_text(status));
        return 1;
    }
    if (std::rename(temp.c_str(), argv[2]) != 0) {
        std::remove(temp.c_str());
        std::fprintf(stderr, "unpack: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

const tool::Registration reg({"unpack", "unpack IN OUT", run_unpack});

}  // namespace
