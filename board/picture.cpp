#include "board/picture.h"

#include <array>
#include <cstdio>

#include "board/card_draw.h"
#include "board/main_view.h"

namespace nd {

namespace {

void add(std::string* out, const char* format, auto... values) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format, values...);
    *out += buffer;
}

void add_case(std::string* out, const Card& card) {
    add(out, "\"%d.%d.%d\"", card.ref.where.group, card.ref.where.board, card.ref.where.slot);
}

}  // namespace

void make_opaque(gfx::IMAGE* image) {
    for (uint32_t& pixel : image->pixels) pixel |= 0xFF000000u;
}

std::string layout_json(const MainView& view) {
    std::string out;
    add(&out, "{\"width\":%d,\"height\":%d,\"origin\":[%d,%d],\"scale\":%d,\"cards\":[", view.width,
        view.height, view.origin_x, view.origin_y, view.zoom.scale);
    bool first = true;
    for (int z = 0; z < view.z_count; ++z) {
        const int i = view.z_order[static_cast<size_t>(z)];
        if (!card_shown(view, i)) continue;
        const Card& card = view.cards[static_cast<size_t>(i)];
        out += first ? "{\"case\":" : ",{\"case\":";
        first = false;
        add_case(&out, card);
        add(&out, ",\"rect\":[%d,%d,%d,%d],\"form\":%d,\"colour\":%d,\"top\":%s}", card.rect.x,
            card.rect.y, card.rect.w, card.rect.h, card.form, card.record->colour & 3,
            z == 0 ? "true" : "false");
    }
    out += "],\"connectors\":[";
    std::array<DrawnConnector, kMaxLinks> drawn;
    int count = 0;
    const int sources[2] = {view.z_count > 0 ? view.z_order[0] : -1, ctrl_hover_card(view)};
    first = true;
    for (int source : sources) {
        count = card_connectors(view, source, &drawn);
        for (int c = 0; c < count; ++c) {
            const DrawnConnector& d = drawn[static_cast<size_t>(c)];
            out += first ? "{\"from\":" : ",{\"from\":";
            first = false;
            add_case(&out, view.cards[static_cast<size_t>(d.from)]);
            out += ",\"to\":";
            add_case(&out, view.cards[static_cast<size_t>(d.to)]);
            add(&out, ",\"tight\":%s,\"points\":[", d.tight ? "true" : "false");
            for (int p = 0; p < 4; ++p) {
                add(&out, p ? ",[%d,%d]" : "[%d,%d]", d.points[static_cast<size_t>(p)].x,
                    d.points[static_cast<size_t>(p)].y);
            }
            out += "]}";
        }
    }
    out += "]}\n";
    return out;
}

}  // namespace nd
