// nd_make_workspace PATH.wk BOARDS CASES
// Writes a workspace of BOARDS boards with CASES Cases each in group 0, as
// the program writes them, for the long unattended run and the kill test.
// The first board is a full screen of title cards; the others hold plain
// Cases. The workspace must not exist yet.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "base/file_io.h"
#include "base/park_miller.h"
#include "board/testing/scene.h"
#include "store/records.h"
#include "store/tables.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: nd_make_workspace PATH.wk BOARDS CASES\n");
        return 2;
    }
    const int boards = std::atoi(argv[2]);
    const int cases = std::atoi(argv[3]);
    if (boards < 1 || boards > 80 || cases < 1 || cases > 80) {
        std::fprintf(stderr, "nd_make_workspace: 1 to 80 boards of 1 to 80 Cases\n");
        return 2;
    }
    if (std::filesystem::exists(argv[1])) {
        std::fprintf(stderr, "nd_make_workspace: %s exists already\n", argv[1]);
        return 1;
    }
    nd::seed_random(1);
    // Thousands of files: their contents matter, not each one's flush.
    nd::set_sync_writes(false);
    const bool made = nd::testing::make_scene(argv[1], nd::testing::full_board(cases), {},
                                              boards - 1, cases);
    nd::set_sync_writes(true);
    nd::clear_tables();
    if (!made) {
        std::fprintf(stderr, "nd_make_workspace: the store refused the workspace\n");
        return 1;
    }
    return 0;
}
