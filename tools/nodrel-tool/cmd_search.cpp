// nodrel-tool search: the search panel's answer from the command line,
// matched exactly as the panel matches. Reads only.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/search.h"
#include "base/gbk.h"
#include "store/tables.h"
#include "tools/nodrel-tool/command.h"
#include "tools/nodrel-tool/read_workspace.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: nodrel-tool search PATH.wk QUERY [--board G.B]\n");
    return 2;
}

int run_search(int argc, char** argv) {
    if (argc != 3 && !(argc == 5 && !std::strcmp(argv[3], "--board"))) return usage();
    nd::LocationRef board{0, -1, -1, 0};
    if (argc == 5 && !tool::parse_location(argv[4], 2, board)) {
        std::fprintf(stderr, "nodrel-tool search: '%s' is not a board (G.B)\n", argv[4]);
        return 2;
    }
    std::string query;
    if (nd::utf8_to_gbk(argv[2], &query) != 0) {
        std::fprintf(stderr, "nodrel-tool search: the query has characters GBK cannot hold\n");
        return 2;
    }
    if (query.empty() || query.size() > nd::kQueryCapacity) {
        std::fprintf(stderr, "nodrel-tool search: the query must hold 1 to %zu bytes in GBK\n",
                     nd::kQueryCapacity);
        return 2;
    }
    if (int status = tool::load_read_only("search", argv[1])) return status;

    // Without --board: every board of the workspace's first group.
    if (board.group < 0) {
        for (int g = 0; g < nd::kGroupSlots && board.group < 0; ++g)
            if (nd::Tables.group_boards[g]) board.group = g;
    } else if (!nd::find_board(board.group, board.board)) {
        std::fprintf(stderr, "nodrel-tool search: the workspace has no board %s\n", argv[4]);
        return 2;
    }
    std::vector<nd::SearchResult> results;
    nd::search_boards(query, board.group, board.board, results);
    for (const nd::SearchResult& r : results) {
        const nd::CaseRecord* c = nd::find_case(r.group, r.board, r.slot);
        std::printf("%d\t%s\t%s\n", int(r.kind),
                    tool::location_text({0, r.group, r.board, r.slot}).c_str(),
                    tool::field_utf8(c->title, sizeof c->title).c_str());
    }
    return 0;
}

const tool::Registration search_command({"search", "search PATH.wk QUERY [--board G.B]",
                                         run_search});

}  // namespace
