// The information, links and resources tabs of the Case window: their rows,
// what lies under the pointer, and their drawing.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/gbk.h"
#include "content/case_window.h"
#include "content/case_window_state.h"
#include "content/resources.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/tables.h"

namespace nd::content::detail {

namespace {

constexpr char kYaHei[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";  // 微软雅黑
constexpr char kTahoma[] = "Tahoma";
constexpr int kRowFont = 15;
constexpr int kOverlayFont = 14;
constexpr gfx::Color kOverlayColour = 0xFF76B9ED;
constexpr int kHighlightAlpha = 208;

const char* const kKindTexts[] = {
    "\xC0\xE0\xD0\xCD\xA3\xBA   \xCE\xDE",          // 类型：   无
    "\xC0\xE0\xD0\xCD\xA3\xBA   \xCE\xEF",          // 类型：   物
    "\xC0\xE0\xD0\xCD\xA3\xBA   \xC8\xCB",          // 类型：   人
    "\xC0\xE0\xD0\xCD\xA3\xBA   \xCA\xC2\xBC\xFE",  // 类型：   事件
    "\xC0\xE0\xD0\xCD\xA3\xBA   \xC8\xCE\xCE\xF1",  // 类型：   任务
};
const char* const kImportanceTexts[] = {
    "\xD6\xD8\xD2\xAA\xD0\xD4\xA3\xBA L1\xA3\xA8\xD2\xBB\xB0\xE3\xA3\xA9",  // 重要性： L1（一般）
    "\xD6\xD8\xD2\xAA\xD0\xD4\xA3\xBA L2\xA3\xA8\xD0\xE8\xD2\xAA\xD7\xA2\xD2\xE2\xA3\xA9",  // 重要性： L2（需要注意）
    "\xD6\xD8\xD2\xAA\xD0\xD4\xA3\xBA L3\xA3\xA8\xD2\xFD\xC6\xF0\xB9\xD8\xD7\xA2\xA3\xA9",  // 重要性： L3（引起关注）
    "\xD6\xD8\xD2\xAA\xD0\xD4\xA3\xBA L4\xA3\xA8\xD6\xD8\xD2\xAA\xA3\xA9",  // 重要性： L4（重要）
    "\xD6\xD8\xD2\xAA\xD0\xD4\xA3\xBA L5\xA3\xA8\xD2\xAA\xC3\xFC\xA3\xA9",  // 重要性： L5（要命）
};
const char* const kDifficultyTexts[] = {
    "\xC4\xD1\xB6\xC8\xA3\xBA   \xBC\xF2\xB5\xA5",                  // 难度：   简单
    "\xC4\xD1\xB6\xC8\xA3\xBA   \xC0\xA7\xC4\xD1",                  // 难度：   困难
    "\xC4\xD1\xB6\xC8\xA3\xBA   \xCE\xDE\xB7\xA8\xCD\xEA\xB3\xC9",  // 难度：   无法完成
};
const char* const kCognitionTexts[] = {
    "\xC8\xCF\xD6\xAA\xA3\xBA   \xCE\xB4\xD6\xAA",  // 认知：   未知
    "\xC8\xCF\xD6\xAA\xA3\xBA   \xC1\xCB\xBD\xE2",  // 认知：   了解
    "\xC8\xCF\xD6\xAA\xA3\xBA   \xB4\xE6\xD2\xC9",  // 认知：   存疑
};
constexpr char kResourceRow[] = "%s\xA3\xBA %d";  // %s： %d

// Swatches: difficulty runs green, yellow, red; cognition grey (unknown),
// green (known), yellow (in doubt); both from the status colours.
constexpr int kDifficultyStatus[] = {1, 3, 2};
constexpr int kCognitionStatus[] = {0, 1, 3};

int kind_index(uint16_t kind) {
    switch (kind) {
        case kKindObject:
            return 1;
        case kKindPerson:
            return 2;
        case kKindEvent:
            return 3;
        case kKindTask:
            return 4;
        default:
            return 0;
    }
}

template <size_t N>
const char* pick(const char* const (&texts)[N], int value) {
    return texts[std::clamp(value, 0, int(N) - 1)];
}

void fill(gfx::IMAGE* canvas, const gfx::Rect& r, gfx::Color colour) {
    gfx::set_fill_color(colour, canvas);
    gfx::fill_bar(r.x, r.y, r.right(), r.bottom(), canvas);
}

// The colour laid over the canvas at `alpha`, inside the canvas's clip.
void blend(gfx::IMAGE* canvas, const gfx::Rect& r, gfx::Color colour, int alpha) {
    const gfx::Rect c = r.intersect({0, 0, canvas->width, canvas->height});
    for (int y = c.y; y < c.bottom(); ++y) {
        uint32_t* row = canvas->pixels.data() + size_t(y) * size_t(canvas->width);
        for (int x = c.x; x < c.right(); ++x) {
            uint32_t p = row[x], out = 0xFF000000;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t a = (colour >> shift) & 0xFF, b = (p >> shift) & 0xFF;
                out |= ((a * uint32_t(alpha) + b * uint32_t(255 - alpha)) / 255) << shift;
            }
            row[x] = out;
        }
    }
}

const CaseRecord* linked_record(const CaseRecord& record, int index) {
    const LocationRef& at = record.link_locations[index];
    const CaseRecord* target = find_case(at.group, at.board, at.slot);
    return target && same_item(target->key, record.link_keys[index]) ? target : nullptr;
}

int list_top(int tab) {
    return tab == kTabInfo ? kInfoTop : tab == kTabLinks ? kLinksTop : kResourcesTop;
}

int first_row(const CaseWindow& w) {
    return w.tab < 3 ? w.first_row[w.tab] : 0;
}

void draw_info(const CaseWindow& w, const CaseRecord& record, gfx::IMAGE* canvas, int skin) {
    const gfx::Rect b = body_rect(w);
    const char* texts[4] = {kKindTexts[kind_index(record.kind)],
                            pick(kImportanceTexts, record.importance),
                            pick(kDifficultyTexts, record.difficulty),
                            pick(kCognitionTexts, record.cognition)};
    for (int row = 0; row < 4; ++row) {
        const int y = b.y + kInfoTop + row * kRowStep;
        gfx::text_out(b.x + 6, y, texts[row], canvas);
        if (row < 2) continue;
        const int value = row == 2 ? std::clamp<int>(record.difficulty, 0, 2)
                                   : std::clamp<int>(record.cognition, 0, 2);
        const int status = row == 2 ? kDifficultyStatus[value] : kCognitionStatus[value];
        // "无法完成" is two characters longer, so its swatch moves right.
        const int left = row == 2 && value == 2 ? 145 : 113;
        fill(canvas, {b.x + left, y + 4, 30, 11}, palette_color(kPalStatusBar + 4 * status, skin));
    }
}

void draw_links(const CaseWindow& w, const CaseRecord& record, gfx::IMAGE* canvas, int skin) {
    const gfx::Rect b = body_rect(w);
    const int count = link_count(record);
    for (int i = first_row(w); i < count; ++i) {
        const int y = b.y + kLinksTop + (i - first_row(w)) * kRowStep;
        if (y + kRowStep > b.bottom()) break;
        const bool tight = link_detail(record, i).relation == kRelationTight;
        // The link's mark: a solid bar for a tight link, a broken one for a
        // loose link.
        const gfx::Color text = palette_color(kPalPanelText, skin);
        for (int x = 0; x < 20; x += tight ? 20 : 6)
            fill(canvas, {b.x + 5 + x, y + 8, tight ? 20 : 4, tight ? 3 : 2}, text);
        const CaseRecord* target = linked_record(record, i);
        if (!target) continue;
        const int status = target->colour & 3;
        fill(canvas, {b.x + 27, y + 3, 4, 12}, palette_color(kPalStatusBar + 4 * status, skin));
        char title[sizeof target->title];
        gbk_copy_field(title, 64, field_text(target->title, sizeof target->title));
        gfx::text_out(b.x + 35, y, title, canvas);
    }
}

void draw_resources(const CaseWindow& w, const CaseRecord& record, gfx::IMAGE* canvas,
                    int skin) {
    const gfx::Rect b = body_rect(w);
    const int count = std::min<int>(record.resource_count, kMaxResources);
    const gfx::Color text = palette_color(kPalPanelText, skin);
    for (int i = first_row(w); i < count; ++i) {
        const int y = b.y + kResourcesTop + (i - first_row(w)) * kRowStep;
        if (y + kRowStep > b.bottom()) break;
        char line[64];
        const std::string name = field_text(record.resource_names[i], sizeof record.resource_names[i]);
        std::snprintf(line, sizeof line, kResourceRow, name.c_str(), record.resource_values[i]);
        gfx::set_font(kRowFont, 0, kYaHei, canvas);
        gfx::set_color(text, canvas);
        gfx::text_out(b.x + 6, y, line, canvas);
        if (const int32_t overlay = overlay_value(record, i)) {
            char extra[24];
            std::snprintf(extra, sizeof extra, " (%d)", overlay);
            const int x = b.x + 6 + gfx::text_width(line, canvas);
            gfx::set_font(kOverlayFont, 0, kTahoma, canvas);
            gfx::set_color(kOverlayColour, canvas);
            gfx::text_out(x, y + 1, extra, canvas);
        }
        if (i != w.hovered) continue;
        const gfx::Rect row = row_rect(w, i);
        for (int sign : {1, -1}) {
            const int from = sign > 0 ? kAddButtonFromRight : kSubtractButtonFromRight;
            const gfx::Rect box{row.right() - from, row.y + 2, kOverlayButtonSize,
                                kOverlayButtonSize};
            fill(canvas, box, w.hovered_button == sign ? kOverlayColour
                                                       : palette_color(kPalOptionRule, skin));
            gfx::set_font(kRowFont, 0, kTahoma, canvas);
            gfx::set_color(text, canvas);
            gfx::text_out(box.x + 6, box.y + 1, sign > 0 ? "+" : "-", canvas);
        }
    }
}

}  // namespace

gfx::Rect row_rect(const CaseWindow& w, int row) {
    const gfx::Rect b = body_rect(w);
    const int y = b.y + list_top(w.tab) + (row - first_row(w)) * kRowStep - 8;
    return {b.x, y, b.w, kRowStep - 4};
}

int tab_rows(const CaseWindow& w, int tab) {
    const CaseRecord* record = shown_record(w);
    if (!record) return 0;
    switch (tab) {
        case kTabInfo:
            return 4;
        case kTabLinks:
            return link_count(*record);
        case kTabResources:
            return std::min<int>(record->resource_count, kMaxResources);
        default:
            return 0;
    }
}

int row_at(const CaseWindow& w, int x, int y) {
    if (w.tab == kTabContent) return -1;
    const gfx::Rect b = body_rect(w);
    if (!b.contains(x, y)) return -1;
    const int rows = tab_rows(w, w.tab);
    for (int row = first_row(w); row < rows; ++row) {
        const gfx::Rect r = row_rect(w, row);
        if (r.y > b.bottom()) break;
        if (r.contains(x, y)) return row;
    }
    return -1;
}

int overlay_button_at(const CaseWindow& w, int row, int x, int y) {
    if (w.tab != kTabResources || row < 0) return 0;
    const gfx::Rect r = row_rect(w, row);
    for (int sign : {1, -1}) {
        const int from = sign > 0 ? kAddButtonFromRight : kSubtractButtonFromRight;
        if (gfx::Rect{r.right() - from, r.y + 2, kOverlayButtonSize, kOverlayButtonSize}.contains(x, y))
            return sign;
    }
    return 0;
}

void draw_list_tab(const CaseWindow& w, gfx::IMAGE* canvas) {
    const CaseRecord* record = shown_record(w);
    if (!record) return;
    const int skin = current_skin();
    if (w.hovered >= 0)
        blend(canvas, row_rect(w, w.hovered).intersect(body_rect(w)),
              palette_color(kPalOptionSelect, skin), kHighlightAlpha);
    gfx::set_font(kRowFont, 0, kYaHei, canvas);
    gfx::set_color(palette_color(kPalPanelText, skin), canvas);
    switch (w.tab) {
        case kTabInfo:
            draw_info(w, *record, canvas, skin);
            break;
        case kTabLinks:
            draw_links(w, *record, canvas, skin);
            break;
        case kTabResources:
            draw_resources(w, *record, canvas, skin);
            break;
        default:
            break;
    }
}

}  // namespace nd::content::detail
