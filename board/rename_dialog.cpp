#include "board/rename_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "base/gbk.h"
#include "board/command_case.h"
#include "board/dialog.h"
#include "board/main_view.h"
#include "board/texts.h"
#include "content/case_window.h"
#include "content/resources.h"
#include "gfx/window/window.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "store/boards.h"
#include "store/locks.h"
#include "store/tables.h"
#include "ui/button.h"
#include "ui/caret.h"
#include "ui/keys.h"
#include "ui/text_field.h"

namespace nd {

namespace {

constexpr char kTitleResource[] = "\xD0\xDE\xB8\xC4\xD7\xCA\xD4\xB4\xC3\xFB";  // 修改资源名
constexpr char kTitleValue[] = "\xB6\xD4 <%s> \xB8\xC4\xD6\xB5";               // 对 <%s> 改值
constexpr char kTitleOverlay[] =
    "\xB6\xD4 <%s> \xB8\xC4\xB5\xFE\xBC\xD3\xD6\xB5";  // 对 <%s> 改叠加值
constexpr char kTitleRename[] = "\xB8\xC4\xC3\xFB";    // 改名
constexpr char kOk[] = "\xC8\xB7\xB6\xA8";             // 确定
constexpr gfx::Color kSelectedInk = 0xFF161418;
constexpr int kCharWidth = 7;
constexpr int kCaretHeight = 15;
constexpr int kOkWidth = 100;
constexpr int kOkHeight = 30;

struct RenameState {
    RenameTarget target;
    std::string title;
    gfx::Rect box;
    ui::TextField field;
    ui::Button ok;
    ui::Button close;
    gfx::IMAGE* snapshot = nullptr;
    int blink = 0;
};

RenameState g_rename;

const CaseRecord* target_record(const RenameTarget& t) {
    MenuTarget m;
    m.target = t.target;
    return command_case(m);
}

std::string initial_text(const RenameTarget& t) {
    if (t.kind == RenameKind::kCategory) {
        const Board* board = find_board(t.target.where.group, t.target.where.board);
        return board ? field_text(board->name, 32) : std::string();
    }
    const CaseRecord* record = target_record(t);
    if (!record) return {};
    char number[16];
    switch (t.kind) {
        case RenameKind::kResourceName:
            return field_text(record->resource_names[t.index], 16);
        case RenameKind::kResourceValue:
            std::snprintf(number, sizeof number, "%d", record->resource_values[t.index]);
            return number;
        case RenameKind::kOverlayValue:
            std::snprintf(number, sizeof number, "%d", content::overlay_value(*record, t.index));
            return number;
        default:
            return field_text(record->title, sizeof record->title);
    }
}

bool target_exists(const RenameTarget& t) {
    if (t.kind == RenameKind::kCategory)
        return find_board(t.target.where.group, t.target.where.board) != nullptr;
    const CaseRecord* record = target_record(t);
    if (!record) return false;
    const bool resource = t.kind == RenameKind::kResourceName ||
                          t.kind == RenameKind::kResourceValue ||
                          t.kind == RenameKind::kOverlayValue;
    return !resource || content::resource_index_ok(*record, t.index);
}

void release_snapshot() {
    gfx::delete_image(g_rename.snapshot);
    g_rename.snapshot = nullptr;
}

// The canvas under the box, blurred, becomes the dialog's background.
void take_snapshot(const MainView& view) {
    release_snapshot();
    const gfx::Rect& b = g_rename.box;
    gfx::IMAGE* shot = gfx::new_image(b.w, b.h);
    const gfx::IMAGE* canvas = view.canvas;
    for (int y = 0; y < b.h; ++y) {
        for (int x = 0; x < b.w; ++x) {
            const int cx = b.x + x, cy = b.y + y;
            const bool inside = canvas && cx >= 0 && cy >= 0 && cx < canvas->width &&
                                cy < canvas->height;
            shot->pixels[size_t(y) * size_t(b.w) + size_t(x)] =
                inside ? canvas->pixels[size_t(cy) * size_t(canvas->width) + size_t(cx)]
                       : palette_color(kPalPanelBackground, current_skin());
        }
    }
    for (int pass = 0; pass < kRenameBlurPasses; ++pass) gfx::imagefilter_blurring(shot, 127, 256);
    g_rename.snapshot = shot;
}

void finish(MainView& view, bool apply) {
    const RenameTarget target = g_rename.target;
    const std::string text = g_rename.field.text;
    close_dialog(view);
    if (apply) apply_rename(view, target, text);
}

bool pointer(MainView& view, const gfx::MouseMsg& msg) {
    RenameState& s = g_rename;
    if (ui::button_update(&s.close, msg)) {
        finish(view, false);
        return true;
    }
    if (ui::button_update(&s.ok, msg)) {
        finish(view, true);
        return true;
    }
    request_redraw(view);
    return s.box.contains(msg.x, msg.y);
}

void key(MainView& view, int code) {
    switch (ui::text_field_key(&g_rename.field, code)) {
        case ui::FieldKey::kEnter:
            finish(view, true);
            break;
        case ui::FieldKey::kEscape:
            finish(view, false);
            break;
        default:
            request_redraw(view);
            break;
    }
}

void blit(gfx::IMAGE* canvas, const gfx::IMAGE* image, int left, int top) {
    for (int y = 0; y < image->height; ++y) {
        const int cy = top + y;
        if (cy < 0 || cy >= canvas->height) continue;
        for (int x = 0; x < image->width; ++x) {
            const int cx = left + x;
            if (cx < 0 || cx >= canvas->width) continue;
            canvas->pixels[size_t(cy) * size_t(canvas->width) + size_t(cx)] =
                image->pixels[size_t(y) * size_t(image->width) + size_t(x)] | 0xFF000000;
        }
    }
}

void draw(const MainView& view, gfx::IMAGE* canvas) {
    const RenameState& s = g_rename;
    const int skin = current_skin();
    const gfx::Rect& b = s.box;
    if (s.snapshot) blit(canvas, s.snapshot, b.x, b.y);
    gfx::set_color(palette_color(kPalOptionSelect, skin), canvas);
    gfx::draw_rectangle(b.x, b.y, b.right() - 1, b.bottom() - 1, canvas);
    const gfx::Color ink = palette_color(kPalPanelTitle, skin);
    gfx::set_font(13, 0, texts::kYaHei, canvas);
    gfx::set_color(ink, canvas);
    gfx::text_out(b.x + 6, b.y + 3, s.title.c_str(), canvas);
    // The close button: a cross, red while hovered.
    const gfx::Rect& c = s.close.rect;
    if (s.close.hover) {
        gfx::set_fill_color(0xFFE81123, canvas);
        gfx::fill_bar(c.x, c.y, c.right(), c.bottom(), canvas);
    }
    const int cx = c.x + c.w / 2, cy = c.y + c.h / 2;
    gfx::draw_line(cx - 4, cy - 4, cx + 4, cy + 4, canvas);
    gfx::draw_line(cx - 4, cy + 4, cx + 4, cy - 4, canvas);

    const int tx = b.x + 26, ty = b.y + 50;
    gfx::set_font(14, 0, texts::kSimSun, canvas);
    if (s.field.all_selected && !s.field.text.empty()) {
        gfx::set_fill_color(palette_color(kPalOptionSelect, skin), canvas);
        gfx::fill_bar(tx, ty, tx + kCharWidth * int(s.field.text.size()), ty + kCaretHeight + 2,
                      canvas);
        gfx::set_color(kSelectedInk, canvas);
    } else {
        gfx::set_color(ink, canvas);
    }
    gfx::text_out(tx, ty, s.field.text.c_str(), canvas);
    const bool blink_on = view.app ? ui::caret_visible(view.app->BlinkPhase.load()) : true;
    if (blink_on) {
        const int x = tx + kCharWidth * int(s.field.caret);
        gfx::set_fill_color(ink, canvas);
        gfx::fill_bar(x, ty, x + 2, ty + kCaretHeight, canvas);
    }
    const gfx::Rect& ok = s.ok.rect;
    gfx::set_fill_color(s.ok.hover ? palette_color(kPalOptionSelect, skin)
                                   : palette_color(kPalOptionRule, skin),
                        canvas);
    gfx::fill_bar(ok.x, ok.y, ok.right(), ok.bottom(), canvas);
    gfx::set_font(13, 0, texts::kYaHei, canvas);
    gfx::set_color(ink, canvas);
    gfx::text_out(ok.x + ok.w / 2 - 13, ok.y + 7, kOk, canvas);
}

void closing(MainView&) {
    release_snapshot();
}

constexpr DialogHooks kHooks = {
    .pointer = pointer,
    .key = key,
    .draw = draw,
    .closing = closing,
};

int save_record(MainView& view, const RenameTarget& t, uint32_t panels) {
    MenuTarget m;
    m.target = t.target;
    return commit_case_change(view, m, panels);
}

}  // namespace

int rename_limit(RenameKind kind) {
    switch (kind) {
        case RenameKind::kResourceName:
        case RenameKind::kResourceValue:
        case RenameKind::kOverlayValue:
            return content::kResourceNameBytes;
        case RenameKind::kCategory:
            return 20;
        default:
            return 30;
    }
}

std::string rename_title(const RenameTarget& t) {
    const CaseRecord* record = target_record(t);
    const std::string name =
        record && t.index >= 0 && t.index < kMaxResources
            ? field_text(record->resource_names[t.index], 16)
            : std::string();
    char title[64];
    switch (t.kind) {
        case RenameKind::kResourceName:
            return kTitleResource;
        case RenameKind::kResourceValue:
            std::snprintf(title, sizeof title, kTitleValue, name.c_str());
            return title;
        case RenameKind::kOverlayValue:
            std::snprintf(title, sizeof title, kTitleOverlay, name.c_str());
            return title;
        default:
            return kTitleRename;
    }
}

void open_rename_dialog(MainView& view, const RenameTarget& target) {
    if (!target_exists(target)) return;
    RenameState& s = g_rename;
    s.target = target;
    s.title = rename_title(target);
    s.box = {target.x, target.y, kRenameBoxWidth, kRenameBoxHeight};
    s.field = ui::TextField{};
    s.field.max_bytes = size_t(rename_limit(target.kind));
    ui::text_field_set(&s.field, initial_text(target));
    s.field.all_selected = true;
    s.ok = ui::Button{};
    s.ok.rect = {s.box.x + 83, s.box.bottom() - 45, kOkWidth, kOkHeight};
    s.close = ui::Button{};
    s.close.rect = {s.box.right() - 47, s.box.y + 2, 45, 20};
    take_snapshot(view);
    open_dialog(view, kDialogRename, &kHooks, &s);
}

void rename_dialog_step(MainView& view) {
    if (!rename_dialog_open(view) || !view.app) return;
    const int blink = view.app->BlinkPhase.load();
    if (blink != g_rename.blink) request_redraw(view);
    g_rename.blink = blink;
}

bool apply_rename(MainView& view, const RenameTarget& t, const std::string& text) {
    if (text.empty() || !target_exists(t)) return false;
    if (t.kind == RenameKind::kCategory) {
        std::string name(text, 0, gbk_fit(text, size_t(rename_limit(t.kind))));
        int status;
        {
            std::lock_guard<std::mutex> hold(StorageLock);
            status = rename_board(name.c_str(), t.target.where.group, t.target.where.board);
        }
        if (status != 0) std::fprintf(stderr, "nodrel: the category cannot be renamed (%d)\n", status);
        refresh_panels_later(panel_bit(kPanelLeftBar));
        request_redraw(view);
        return status == 0;
    }
    MenuTarget m;
    m.target = t.target;
    CaseRecord* record = command_case(m);
    bool changed = false;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        switch (t.kind) {
            case RenameKind::kResourceName:
                changed = content::rename_resource(*record, t.index, text);
                break;
            case RenameKind::kResourceValue:
                record->resource_values[t.index] = content::parse_resource_value(text);
                changed = true;
                break;
            case RenameKind::kOverlayValue:
                content::set_overlay_value(*record, t.index, content::parse_resource_value(text));
                changed = true;
                break;
            default: {
                char title[sizeof record->title] = {};
                gbk_copy_field(title, size_t(rename_limit(t.kind)) + 1, text);
                changed = std::strncmp(title, record->title, sizeof title) != 0;
                if (changed) gbk_copy_field(record->title, sizeof record->title, title);
                break;
            }
        }
    }
    if (!changed) return false;
    (void)save_record(view, t, panel_bit(kPanelContentEditor) | panel_bit(kPanelLeftBar));
    return true;
}

}  // namespace nd
