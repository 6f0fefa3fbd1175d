// nodrel-tool contact-sheet SKIN OUT.png: every picture of one skin and the
// shared pictures on one sheet, each labelled with its name, on the skin's
// own page colour so a reviewer sees them as the program shows them.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/gfx.h"
#include "skins/palette.h"
#include "skins/pictures.h"
#include "skins/skin.h"
#include "tools/nodrel-tool/command.h"

namespace {

constexpr int kSheetWidth = 1600;
constexpr int kMargin = 16;
constexpr int kGap = 14;
constexpr int kLabelSize = 12;
constexpr int kHeadingSize = 22;
constexpr const char* kLabelFace = "Consolas";

int parse_skin(const char* text) {
    std::string upper(text);
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    for (int s = 0; s < nd::kSkinCount; ++s)
        if (upper == nd::kSkinPrefix[s] || upper == std::to_string(s)) return s;
    return -1;
}

bool has_any_prefix(const char* name) {
    for (const char* prefix : nd::kSkinPrefix) {
        size_t n = std::strlen(prefix);
        if (std::strncmp(name, prefix, n) == 0 && name[n] == '_') return true;
    }
    return false;
}

struct Cell {
    const nd::SkinPicture* picture;
    std::string label;
    int width, height;  // including the label
};

struct Section {
    std::string heading;
    std::vector<Cell> cells;
};

// Lays the cells out in rows; returns the height used. With `sheet` null it
// only measures.
int place(gfx::IMAGE* sheet, const Section& section, int top, gfx::IMAGE* scratch, gfx::Color ink) {
    int y = top;
    if (sheet) {
        gfx::set_font(kHeadingSize, 0, kLabelFace, sheet);
        gfx::set_color(ink, sheet);
        gfx::text_out(kMargin, y, section.heading.c_str(), sheet);
    }
    y += kHeadingSize + 10;
    int x = kMargin, row_height = 0;
    for (const Cell& c : section.cells) {
        if (x + c.width > kSheetWidth - kMargin && x > kMargin) {
            x = kMargin;
            y += row_height + kGap;
            row_height = 0;
        }
        if (sheet) {
            gfx::getimage(scratch, "IMGS", c.picture->name, 0, 0);
            gfx::putimage_srcalpha(sheet, scratch, x, y);
            gfx::set_font(kLabelSize, 0, kLabelFace, sheet);
            gfx::set_color(ink, sheet);
            gfx::text_out(x, y + c.picture->height + 3, c.label.c_str(), sheet);
        }
        x += c.width + kGap;
        row_height = std::max(row_height, c.height);
    }
    return y + row_height + 2 * kGap - top;
}

int run_contact_sheet(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: nodrel-tool contact-sheet SKIN OUT.png\n");
        return 2;
    }
    int skin = parse_skin(argv[1]);
    if (skin < 0) {
        std::fprintf(stderr, "contact-sheet: unknown skin '%s' (BLACK, CAKE, STARS or WHITE)\n",
                     argv[1]);
        return 2;
    }
    nd::install_skin_pictures();
    gfx::IMAGE* measure = gfx::new_image(1, 1);
    gfx::set_font(kLabelSize, 0, kLabelFace, measure);
    std::string own_prefix = std::string(nd::kSkinPrefix[skin]) + "_";
    Section own{own_prefix.substr(0, own_prefix.size() - 1), {}};
    Section shared{"shared", {}};
    for (size_t i = 0; i < nd::skin_picture_count(); ++i) {
        const nd::SkinPicture& p = nd::skin_pictures()[i];
        bool mine = std::strncmp(p.name, own_prefix.c_str(), own_prefix.size()) == 0;
        if (!mine && has_any_prefix(p.name)) continue;
        Cell c{&p, mine ? p.name + own_prefix.size() : p.name, 0, 0};
        c.width = std::max(p.width, gfx::text_width(c.label.c_str(), measure));
        c.height = p.height + 3 + kLabelSize + 2;
        (mine ? own : shared).cells.push_back(c);
    }
    own.heading += " (" + std::to_string(own.cells.size()) + ")";
    shared.heading += " (" + std::to_string(shared.cells.size()) + ")";
    int height =
        kMargin + place(nullptr, own, 0, nullptr, 0) + place(nullptr, shared, 0, nullptr, 0);

    gfx::IMAGE* sheet = gfx::new_image(kSheetWidth, height);
    gfx::Color page = nd::palette_color(nd::kPalPageBackground, skin);
    for (uint32_t& px : sheet->pixels) px = page;
    gfx::set_bk_mode(gfx::kTransparent, sheet);
    gfx::Color ink = nd::palette_color(nd::kPalPanelText, skin);
    int y = kMargin;
    y += place(sheet, own, y, measure, ink);
    place(sheet, shared, y, measure, ink);
    // Text leaves alpha 0 behind; the sheet is a plain opaque picture.
    for (uint32_t& px : sheet->pixels) px |= 0xFF000000;
    int status = gfx::save_png(sheet, argv[2]);
    gfx::delete_image(sheet);
    gfx::delete_image(measure);
    if (status != gfx::kOk) {
        std::fprintf(stderr, "contact-sheet: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

const tool::Registration kContactSheet({"contact-sheet", "contact-sheet SKIN OUT.png",
                                        run_contact_sheet});

}  // namespace
