#include "board/form_dialog.h"

#include <algorithm>

#include "base/gbk.h"
#include "board/card.h"
#include "board/dialog.h"
#include "board/main_view.h"
#include "board/texts.h"
#include "gfx/window/clipboard.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "ui/keys.h"

namespace nd {

namespace {

// The one dialog object; the slot's state points here while it is open.
FormDialog g_dialog;

constexpr int kTitleStrip = 30;  // the top of the box that drags it
constexpr int kFieldFontSize = 16;
constexpr gfx::Color kFieldInk = 0xFF101010;
constexpr gfx::Color kMessageColour = 0xFFFC5454;
constexpr gfx::Color kUnlockHint = 0xFFAAAAAA;
constexpr gfx::Color kUnlockInk = 0xFFFCFCFC;
constexpr gfx::Color kUnlockLine = 0xFF3A3A3A;

constexpr const char* kMessages[] = {
    "\xC1\xBD\xB4\xCE\xC3\xDC\xC2\xEB\xB2\xBB\xCD\xAC",  // 两次密码不同
    "\xC3\xBB\xD3\xD0\xC3\xDC\xC2\xEB",                  // 没有密码
    "\xD4\xAD\xC3\xDC\xC2\xEB\xB2\xBB\xD5\xFD\xC8\xB7",  // 原密码不正确
    "\xC3\xDC\xC2\xEB\xB2\xBB\xD5\xFD\xC8\xB7",          // 密码不正确
};
constexpr char kUnlockPrompt[] =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xBD\xE2\xCB\xF8\xC3\xDC\xC2\xEB";  // 请输入解锁密码
constexpr char kOk[] = "\xC8\xB7\xB6\xA8";                       // 确定

void form_key_hook(MainView& view, int code) {
    form_dialog_key(view, code);
}

bool form_pointer_hook(MainView& view, const gfx::MouseMsg& msg) {
    return form_dialog_pointer(view, msg);
}

void form_draw_hook(const MainView& view, gfx::IMAGE* canvas);

// A read that nobody will take any more is let go.
void form_closing_hook(MainView&) {
    if (g_dialog.paste_ticket > 0) gfx::clipboard_cancel(g_dialog.paste_ticket);
    g_dialog.paste_ticket = 0;
    g_dialog.kind = 0;
}

void form_tick_hook(MainView& view) {
    form_dialog_tick(view);
}

const DialogHooks kHooks = {form_pointer_hook, form_key_hook, form_draw_hook, form_closing_hook,
                            form_tick_hook};

ui::TextField& focused(FormDialog& d) {
    return d.fields[size_t(d.focus)];
}

void move_focus(FormDialog& d, int step, bool wrap) {
    if (d.field_count < 2) return;
    int next = d.focus + step;
    if (wrap) {
        next = (next + d.field_count) % d.field_count;
    } else {
        next = std::clamp(next, 0, d.field_count - 1);
    }
    d.focus = next;
}

void confirm(MainView& view) {
    FormDialog& d = g_dialog;
    const DialogKind* kind = dialog_kind(d.kind);
    request_redraw(view);
    if (kind && kind->confirm && kind->confirm(view, d)) close_dialog(view);
}

// Moves the box and everything in it by (dx, dy).
void shift(FormDialog& d, int dx, int dy) {
    d.frame.box.x += dx;
    d.frame.box.y += dy;
    dialog_frame_place(&d.frame, d.frame.box);
    d.ok.rect.x += dx;
    d.ok.rect.y += dy;
    for (gfx::Rect& r : d.field_rects) {
        r.x += dx;
        r.y += dy;
    }
}

// The caret goes to the character boundary nearest to x inside field i.
void place_caret(MainView& view, FormDialog& d, int i, int x) {
    ui::TextField& f = d.fields[size_t(i)];
    gfx::IMAGE* measure = view.measure;
    if (!measure) return;
    gfx::set_font(kFieldFontSize, 0, texts::kYaHei, measure);
    const int target = x - d.field_rects[size_t(i)].x - 8;
    size_t best = 0;
    int best_distance = target < 0 ? -target : target;
    for (size_t at = 0; at < f.text.size();) {
        at += gbk_char_length(f.text, at);
        const int w = gfx::text_width(f.text.substr(0, at).c_str(), measure);
        const int distance = w > target ? w - target : target - w;
        if (distance < best_distance) {
            best = at;
            best_distance = distance;
        }
    }
    f.caret = best;
    f.all_selected = false;
    gfx::set_font(kTitleFontSize, 0, texts::kYaHei, measure);
}

void draw_ok(const FormDialog& d, int skin, gfx::IMAGE* canvas) {
    const gfx::Rect& r = d.ok.rect;
    const int look = ui::button_look(d.ok);
    gfx::set_fill_color(look > 0 ? palette_color(kPalOptionSelect, skin)
                                 : palette_color(kPalPanelBackground, skin),
                        canvas);
    gfx::fill_bar(r.x, r.y, r.right(), r.bottom(), canvas);
    gfx::set_color(palette_color(kPalOptionSelect, skin), canvas);
    gfx::draw_rectangle(r.x, r.y, r.right() - 1, r.bottom() - 1, canvas);
    gfx::set_font(16, 0, texts::kYaHei, canvas);
    gfx::set_color(look > 0 ? 0xFFFCFCFC : palette_color(kPalPanelText, skin), canvas);
    const int w = gfx::text_width(kOk, canvas);
    gfx::text_out(r.x + (r.w - w) / 2, r.y + 6, kOk, canvas);
}

// The lock screen's password line: the prompt while empty, else a '*' per
// byte; the message below it.
void draw_unlock(const FormDialog& d, gfx::IMAGE* canvas) {
    const gfx::Rect& b = d.frame.box;
    gfx::set_fill_color(kUnlockLine, canvas);
    gfx::fill_bar(b.x, b.y, b.right(), b.bottom(), canvas);
    const ui::TextField& f = d.fields[0];
    const gfx::Rect& r = d.field_rects[0];
    gfx::set_font(kFieldFontSize, 0, texts::kYaHei, canvas);
    if (f.text.empty()) {
        gfx::set_color(kUnlockHint, canvas);
        gfx::text_out(r.x + 8, r.y + 8, kUnlockPrompt, canvas);
    } else {
        gfx::set_color(kUnlockInk, canvas);
        gfx::text_out(r.x + 8, r.y + 8, std::string(f.text.size(), '*').c_str(), canvas);
    }
    if (const char* message = dialog_message_text(d.message)) {
        gfx::set_font(18, 0, texts::kYaHei, canvas);
        gfx::set_color(kMessageColour, canvas);
        gfx::text_out(b.x + 8, b.bottom() + 8, message, canvas);
    }
}

void form_draw_hook(const MainView& view, gfx::IMAGE* canvas) {
    const FormDialog* dp = form_dialog(view);
    if (!dp) return;
    const FormDialog& d = *dp;
    if (d.kind == kDialogUnlock) {
        draw_unlock(d, canvas);
        return;
    }
    const int skin = current_skin();
    const DialogKind* kind = dialog_kind(d.kind);
    ui::draw_dialog_frame(canvas, d.frame, skin);
    ui::TextFieldLook look;
    look.face = texts::kYaHei;
    look.size = kFieldFontSize;
    look.ink = kFieldInk;
    look.inset = 8;
    look.text_y = 8;
    look.border = palette_color(kPalOptionSelect, skin);
    for (int i = 0; i < d.field_count; ++i) {
        look.box = d.field_rects[size_t(i)];
        const ui::TextField& f = d.fields[size_t(i)];
        if (kind && kind->password) {
            ui::TextField masked = f;
            masked.text.assign(f.text.size(), '*');
            draw_text_field(canvas, masked, look, i == d.focus);
        } else {
            draw_text_field(canvas, f, look, i == d.focus);
        }
    }
    if (d.has_ok) draw_ok(d, skin, canvas);
    if (kind && kind->draw) kind->draw(view, d, canvas);
    if (const char* message = dialog_message_text(d.message)) {
        gfx::set_font(13, 0, texts::kYaHei, canvas);
        gfx::set_color(kMessageColour, canvas);
        gfx::text_out(d.frame.box.x + 8, d.frame.box.bottom() - 24, message, canvas);
    }
}

}  // namespace

void open_form_dialog(MainView& view, int kind, int argument, int anchor_x, int anchor_y) {
    const DialogKind* row = dialog_kind(kind);
    if (!row || !row->layout) return;
    close_dialog(view);  // a paste of the old dialog is let go first
    FormDialog& d = g_dialog;
    d = FormDialog{};
    d.kind = kind;
    d.argument = argument;
    const DialogGeometry g = row->layout(view.width, view.height, anchor_x, anchor_y);
    dialog_frame_place(&d.frame, g.box);
    d.frame.title = row->title ? row->title(argument) : nullptr;
    d.frame.has_close = kind != kDialogUnlock;
    d.has_ok = g.ok.w > 0;
    d.ok.rect = g.ok;
    d.field_count = g.field_count;
    d.field_rects = g.fields;
    for (ui::TextField& f : d.fields) {
        f.max_bytes = size_t(row->max_bytes);
        f.copy_allowed = !row->password;
    }
    open_dialog(view, kind, &kHooks, &d);
}

FormDialog* form_dialog(MainView& view) {
    return view.dialog.hooks == &kHooks ? static_cast<FormDialog*>(view.dialog.state) : nullptr;
}

const FormDialog* form_dialog(const MainView& view) {
    return view.dialog.hooks == &kHooks ? static_cast<const FormDialog*>(view.dialog.state)
                                        : nullptr;
}

const std::string& form_field_text(const FormDialog& dialog, int index) {
    return dialog.fields[size_t(index)].text;
}

const char* dialog_message_text(int message) {
    return message >= 0 && message < int(std::size(kMessages)) ? kMessages[message] : nullptr;
}

void form_dialog_key(MainView& view, int code) {
    FormDialog* dp = form_dialog(view);
    if (!dp || dp->field_count == 0) return;
    FormDialog& d = *dp;
    request_redraw(view);
    ui::TextField& f = focused(d);
    // Copying and pasting go through the window's clipboard, never the
    // password fields.
    if (code == ui::kKeyCopy || code == ui::kKeyPaste) {
        if (!f.copy_allowed) return;
        if (code == ui::kKeyCopy && f.all_selected) {
            static_cast<void>(gfx::clipboard_write_text(f.text.data(), f.text.size()));
        } else if (code == ui::kKeyPaste && d.paste_ticket == 0) {
            const int ticket = gfx::clipboard_request(gfx::ClipAccept::kTextOnly);
            if (ticket > 0) d.paste_ticket = ticket;
        }
        return;
    }
    switch (text_field_key(&f, code)) {
        case ui::FieldKey::kUsed:
            return;
        case ui::FieldKey::kEnter:
            confirm(view);
            return;
        case ui::FieldKey::kEscape:
            if (d.kind != kDialogUnlock) close_dialog(view);
            return;
        case ui::FieldKey::kUnused:
            break;
    }
    if (code == ui::kKeyTab) move_focus(d, 1, true);
    if (code == ui::kKeyDown) move_focus(d, 1, false);
    if (code == ui::kKeyUp) move_focus(d, -1, false);
}

bool form_dialog_pointer(MainView& view, const gfx::MouseMsg& msg) {
    FormDialog* dp = form_dialog(view);
    if (!dp) return false;
    FormDialog& d = *dp;
    const bool left_down = msg.kind == gfx::kMouseDown && (msg.flags & gfx::kMouseLeft);
    const bool left_up = msg.kind == gfx::kMouseUp && (msg.flags & gfx::kMouseLeft);
    if (ui::dialog_frame_update(&d.frame, msg)) {
        close_dialog(view);
        return true;
    }
    if (d.has_ok && ui::button_update(&d.ok, msg)) {
        confirm(view);
        return true;
    }
    if (d.dragging) {
        if (msg.kind == gfx::kMouseMove) {
            shift(d, msg.x - d.drag_dx - d.frame.box.x, msg.y - d.drag_dy - d.frame.box.y);
        }
        if (left_up) d.dragging = false;
        request_redraw(view);
        return true;
    }
    const gfx::Rect& box = d.frame.box;
    if (!box.contains(msg.x, msg.y)) return false;
    if (left_down) {
        for (int i = 0; i < d.field_count; ++i) {
            if (!d.field_rects[size_t(i)].contains(msg.x, msg.y)) continue;
            d.focus = i;
            const DialogKind* kind = dialog_kind(d.kind);
            if (kind && !kind->password) place_caret(view, d, i, msg.x);
        }
        if (d.kind != kDialogUnlock && msg.y < box.y + kTitleStrip &&
            !d.frame.close.rect.contains(msg.x, msg.y)) {
            d.dragging = true;
            d.drag_dx = msg.x - box.x;
            d.drag_dy = msg.y - box.y;
        }
    }
    request_redraw(view);
    return true;
}

void form_dialog_tick(MainView& view) {
    FormDialog* dp = form_dialog(view);
    if (!dp || dp->paste_ticket <= 0) return;
    gfx::ClipboardContent clip;
    const int status = gfx::clipboard_poll(dp->paste_ticket, &clip);
    if (status == 0) return;
    dp->paste_ticket = 0;
    if (status == 1 && clip.kind == gfx::kClipText) {
        text_field_paste(&focused(*dp), clip.text);
        request_redraw(view);
    }
}

}  // namespace nd
