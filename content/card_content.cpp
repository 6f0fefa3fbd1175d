#include "content/card_content.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <mutex>

#include "content/layout.h"
#include "content/previews.h"
#include "skins/skin.h"
#include "store/keys.h"
#include "store/locks.h"

namespace nd::content {

namespace {

// Enough for the window cards a board shows at once; the one drawn longest
// ago gives its place to a new one.
constexpr size_t kKept = 24;
constexpr int kRowSpacing = 2;  // added to the editor font's height

struct Kept {
    RecordKey key{};
    uint64_t used = 0;
    std::unique_ptr<CaseRecord> record = std::make_unique<CaseRecord>();
    std::unique_ptr<CaseBody> body = std::make_unique<CaseBody>();
    Layout layout;
    HeldPreviews previews;
};

struct Cache {
    std::array<std::unique_ptr<Kept>, kKept> entries;
    uint64_t clock = 0;
    DiskPreviews source;
};

Cache& cache() {
    static Cache c;
    return c;
}

Kept& kept_for(const RecordKey& key) {
    Cache& c = cache();
    Kept* oldest = nullptr;
    for (auto& e : c.entries) {
        if (!e) e = std::make_unique<Kept>();
        if (e->used && same_item(e->key, key)) {
            e->used = ++c.clock;
            return *e;
        }
        if (!oldest || e->used < oldest->used) oldest = e.get();
    }
    oldest->previews.release_all();
    oldest->key = key;
    oldest->used = ++c.clock;
    return *oldest;
}

}  // namespace

void draw_card_content(const CaseRecord& record, const CaseBody& body, const std::string& root,
                       int first_line, const CardLook& look, gfx::IMAGE* canvas,
                       const Rect& area) {
    if (area.width <= 0 || area.height <= 0) return;
    int cell = 8, height = 16;
    editor_font_size(&cell, &height);
    Metrics m;
    m.box_width = area.width - 2 * kTextInset;
    m.box_height = area.height;
    m.cell_width = cell;
    m.row_height = height + kRowSpacing;
    Kept& k = kept_for(record.key);
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        std::memcpy(k.record.get(), &record, sizeof record);
        std::memcpy(k.body.get(), &body, sizeof body);
    }
    const Document copy{k.record.get(), k.body.get()};
    lay_out(copy, root, m, k.previews, cache().source, LayoutMode::kNormal, k.layout);
    EditorColors colors = editor_colors(current_skin());
    colors.background = look.background;
    colors.text = look.text;
    DrawMarks marks;
    if (k.layout.line_count > 0) {
        const int line = std::clamp(first_line, 0, k.layout.line_count - 1);
        marks.first_row = k.layout.lines[line].first_row;
    }
    draw_document(copy, k.layout, k.previews, m, marks, colors, canvas, area);
}

int card_attachment_at(const RecordKey& key, int first_line, const Rect& area, int x, int y) {
    if (x < area.x || x >= area.x + area.width || y < area.y + kTextInset ||
        y >= area.y + area.height)
        return -1;
    for (auto& e : cache().entries) {
        if (!e || !e->used || !same_item(e->key, key)) continue;
        const Layout& l = e->layout;
        if (l.line_count == 0) return -1;
        int cell = 8, height = 16;
        editor_font_size(&cell, &height);
        const int first_row = l.lines[std::clamp(first_line, 0, l.line_count - 1)].first_row;
        const int row = first_row + (y - area.y - kTextInset) / (height + kRowSpacing);
        const DisplayLine& line = l.lines[line_of_row(l, row)];
        const bool on_line = row >= line.first_row && row < line.first_row + line.rows;
        return on_line && !line.is_text() ? line.slot : -1;
    }
    return -1;
}

void release_card_contents() {
    for (auto& e : cache().entries) e.reset();
}

}  // namespace nd::content
