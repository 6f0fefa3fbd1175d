// nodrel-tool render: a board as a picture, drawn by the program's own view
// without a window. It only reads the workspace, so it also works while
// nodrel holds it open.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/file_io.h"
#include "base/gbk.h"
#include "board/cards.h"
#include "board/frame.h"
#include "board/main_view.h"
#include "board/picture.h"
#include "board/zoom.h"
#include "gfx/gfx.h"
#include "session/app.h"
#include "session/workspace.h"
#include "settings/settings.h"
#include "skins/pictures.h"
#include "skins/skin.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"
#include "tools/nodrel-tool/command.h"

namespace {

constexpr const char* kUsage =
    "render PATH.wk OUT.png [--board G.B] [--size WxH] [--skin N] [--origin X,Y] "
    "[--scale 1|2|4] [--top G.B.S] [--layout OUT.json]";

struct Options {
    const char* wk = nullptr;
    const char* out = nullptr;
    const char* layout = nullptr;
    int group = -1, board = -1;
    int width = 1600, height = 900;
    int skin = -1;
    int origin_x = 0, origin_y = 0;
    int scale = 1;
    int top[3] = {-1, -1, -1};
};

// Reads "A<sep>B[<sep>C]" of whole numbers into `values`; false unless
// exactly `count` numbers are there.
bool numbers(const char* text, char sep, int count, int* values) {
    const char* at = text;
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        const long v = std::strtol(at, &end, 10);
        if (end == at || v < -1000000 || v > 1000000) return false;
        values[i] = static_cast<int>(v);
        if (i + 1 < count) {
            if (*end != sep) return false;
            at = end + 1;
        } else if (*end != 0) {
            return false;
        }
    }
    return true;
}

int bad(const char* what) {
    std::fprintf(stderr, "nodrel-tool render: %s\nusage: nodrel-tool %s\n", what, kUsage);
    return 2;
}

int parse(int argc, char** argv, Options* o) {
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const bool has_value = i + 1 < argc;
        if (std::strncmp(a, "--", 2) != 0) {
            if (positional == 0) o->wk = a;
            if (positional == 1) o->out = a;
            if (++positional > 2) return bad("too many arguments");
            continue;
        }
        if (!has_value) return bad("an option lacks its value");
        const char* v = argv[++i];
        int pair[2] = {0, 0};
        if (!std::strcmp(a, "--board")) {
            if (!numbers(v, '.', 2, pair)) return bad("--board takes G.B");
            o->group = pair[0];
            o->board = pair[1];
        } else if (!std::strcmp(a, "--size")) {
            if (!numbers(v, 'x', 2, pair) || pair[0] < 64 || pair[1] < 64 || pair[0] > 7680 ||
                pair[1] > 4320) {
                return bad("--size takes WxH, 64x64 to 7680x4320");
            }
            o->width = pair[0];
            o->height = pair[1];
        } else if (!std::strcmp(a, "--skin")) {
            if (!numbers(v, 0, 1, pair) || pair[0] < 0 || pair[0] > 3) return bad("--skin takes 0..3");
            o->skin = pair[0];
        } else if (!std::strcmp(a, "--origin")) {
            if (!numbers(v, ',', 2, pair)) return bad("--origin takes X,Y");
            o->origin_x = pair[0];
            o->origin_y = pair[1];
        } else if (!std::strcmp(a, "--scale")) {
            if (!numbers(v, 0, 1, pair) || (pair[0] != 1 && pair[0] != 2 && pair[0] != 4)) {
                return bad("--scale takes 1, 2 or 4");
            }
            o->scale = pair[0];
        } else if (!std::strcmp(a, "--top")) {
            if (!numbers(v, '.', 3, o->top)) return bad("--top takes G.B.S");
        } else if (!std::strcmp(a, "--layout")) {
            o->layout = v;
        } else {
            return bad("unknown option");
        }
    }
    if (positional != 2) return bad("PATH.wk and OUT.png are needed");
    return 0;
}

// The board shown when none is asked for: the one the workspace was left
// on, else the first of the first group.
void default_board(const nd::WorkspaceRecord& record, Options* o) {
    o->group = 0;
    o->board = record.last_board;
    if (nd::find_board(0, o->board)) return;
    for (int b = 0; b < nd::kBoardSlots; ++b) {
        if (nd::find_board(0, b)) {
            o->board = b;
            return;
        }
    }
}

int run_render(int argc, char** argv) {
    Options o;
    if (const int r = parse(argc, argv, &o)) return r;
    std::string root;
    const std::string wk = o.wk;
    if (wk.size() < 4 || wk.compare(wk.size() - 3, 3, ".wk") != 0 || !nd::workspace_root(wk, root)) {
        std::fprintf(stderr, "nodrel-tool render: '%s' is not a .wk path\n", o.wk);
        return 2;
    }
    // Only reading: no lock is taken and nothing is written, so a running
    // nodrel keeps the workspace.
    nd::WorkspaceRecord record{};
    if (nd::read_sealed(wk, &record, sizeof record) != 0) {
        std::fprintf(stderr, "nodrel-tool render: %s cannot be read\n", o.wk);
        return 1;
    }
    nd::Tables.read_only = true;
    nd::set_workspace_root(root);
    const int loaded = nd::load_workspace();
    if (loaded < 0) {
        const nd::LoadFailure f = nd::last_load_failure();
        std::fprintf(stderr, "nodrel-tool render: the workspace cannot be loaded (%d): %s\n",
                     loaded, f.detail.c_str());
        return 1;
    }
    if (o.group < 0) default_board(record, &o);
    if (o.group < 0 || o.group >= nd::kGroupSlots || !nd::find_board(o.group, o.board)) {
        std::fprintf(stderr, "nodrel-tool render: there is no board %d.%d\n", o.group, o.board);
        return 1;
    }

    nd::install_skin_pictures();
    nd::set_current_skin(o.skin >= 0 ? o.skin : nd::skin_from_stored(record.skin));
    nd::default_config(nd::program_config());
    nd::App app;
    gfx::IMAGE* canvas = gfx::new_image(o.width, o.height);
    nd::MainViewState* view = nd::create_picture_view(app, canvas, o.group, o.board);
    nd::make_all_cards(*view);
    nd::set_zoom(*view, o.scale);
    nd::set_origin(*view, o.origin_x, o.origin_y);
    if (o.top[0] >= 0) {
        nd::CaseRef top;
        top.where = {0, o.top[0], o.top[1], o.top[2]};
        const int card = nd::find_card(*view, top);
        if (card < 0) {
            std::fprintf(stderr, "nodrel-tool render: no card %d.%d.%d on the board\n", o.top[0],
                         o.top[1], o.top[2]);
            nd::free_main_view(view);
            return 1;
        }
        nd::select_card(*view, card);
    }
    nd::compose_frame(*view);
    nd::make_opaque(canvas);
    int status = 0;
    if (gfx::save_png(canvas, o.out) != 0) {
        std::fprintf(stderr, "nodrel-tool render: %s cannot be written\n", o.out);
        status = 1;
    }
    if (status == 0 && o.layout) {
        const std::string json = nd::layout_json(*view);
        if (nd::write_file_atomic(o.layout, json.data(), json.size()) != 0) {
            std::fprintf(stderr, "nodrel-tool render: %s cannot be written\n", o.layout);
            status = 1;
        }
    }
    nd::free_main_view(view);
    gfx::delete_image(canvas);
    return status;
}

const tool::Registration render_command({"render", kUsage, run_render});

}  // namespace
