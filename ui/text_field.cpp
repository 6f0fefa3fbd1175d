#include "ui/text_field.h"

#include "base/gbk.h"
#include "ui/clipboard.h"
#include "ui/keys.h"

namespace nd::ui {

namespace {

constexpr char kMiddleDot[] = "\xA1\xA4";

bool is_trail(int code) {
    return code >= 0x40 && code <= 0xFE && code != 0x7F;
}

void clear(TextField* f) {
    f->text.clear();
    f->caret = 0;
    f->all_selected = false;
}

// Puts `bytes` (whole characters) in at the caret when they all fit; typing
// over a selected text replaces it.
void insert(TextField* f, std::string_view bytes) {
    if (f->all_selected) clear(f);
    if (f->text.size() + bytes.size() > f->max_bytes) return;
    std::string joined;
    joined.reserve(f->text.size() + bytes.size());
    joined.append(f->text, 0, f->caret).append(bytes).append(f->text, f->caret);
    f->text.swap(joined);
    f->caret += bytes.size();
}

void erase_before_caret(TextField* f) {
    const size_t start = gbk_char_before(f->text, f->caret);
    f->text.erase(start, f->caret - start);
    f->caret = start;
}

void erase_at_caret(TextField* f) {
    f->text.erase(f->caret, gbk_char_length(f->text, f->caret));
}

}  // namespace

void text_field_paste(TextField* f, std::string_view clip) {
    size_t end = 0;
    while (end < clip.size() && static_cast<unsigned char>(clip[end]) >= 0x20) ++end;
    if (f->all_selected) clear(f);
    const size_t room = f->max_bytes > f->text.size() ? f->max_bytes - f->text.size() : 0;
    insert(f, clip.substr(0, gbk_fit(clip.substr(0, end), room)));
}

namespace {

void paste(TextField* f) {
    std::string clip;
    if (clipboard_read_text(&clip)) text_field_paste(f, clip);
}

}  // namespace

void text_field_set(TextField* f, std::string_view gbk) {
    f->text.assign(gbk.substr(0, gbk_fit(gbk, f->max_bytes)));
    f->caret = f->text.size();
    f->all_selected = false;
    f->pending_lead = 0;
}

FieldKey text_field_key(TextField* f, int code) {
    if (f->pending_lead != 0) {
        const int lead = f->pending_lead;
        f->pending_lead = 0;
        if (is_trail(code)) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(code)};
            insert(f, std::string_view(pair, 2));
            return FieldKey::kUsed;
        }
        // A 183 that no second byte followed was the middle dot; any other
        // lone first byte is dropped. Either way this code is its own key.
        if (lead == kKeyMiddleDot) insert(f, kMiddleDot);
    }
    if (code >= 32 && code <= 127) {
        const char byte = static_cast<char>(code);
        insert(f, std::string_view(&byte, 1));
        return FieldKey::kUsed;
    }
    if (code >= 0x81 && code <= 0xFE) {
        f->pending_lead = code;
        return FieldKey::kUsed;
    }
    switch (code) {
        case kKeyBackspace:
            if (f->all_selected) {
                clear(f);
            } else if (f->caret > 0) {
                erase_before_caret(f);
            }
            return FieldKey::kUsed;
        case kKeyDelete:
            if (f->all_selected) {
                clear(f);
            } else {
                erase_at_caret(f);
            }
            return FieldKey::kUsed;
        case kKeyLeft:
            f->all_selected = false;
            f->caret = gbk_char_before(f->text, f->caret);
            return FieldKey::kUsed;
        case kKeyRight:
            f->all_selected = false;
            f->caret += gbk_char_length(f->text, f->caret);
            return FieldKey::kUsed;
        case kKeyHome:
            f->all_selected = false;
            f->caret = 0;
            return FieldKey::kUsed;
        case kKeyEnd:
            f->all_selected = false;
            f->caret = f->text.size();
            return FieldKey::kUsed;
        case kKeySelectAll:
            f->all_selected = !f->text.empty();
            return FieldKey::kUsed;
        case kKeyCopy:
            if (f->copy_allowed && f->all_selected) clipboard_write_text(f->text);
            return FieldKey::kUsed;
        case kKeyPaste:
            if (f->copy_allowed) paste(f);
            return FieldKey::kUsed;
        case kKeyEnter:
            return FieldKey::kEnter;
        case kKeyEscape:
            return FieldKey::kEscape;
        default:
            return FieldKey::kUnused;
    }
}

void draw_text_field(gfx::IMAGE* canvas, const TextField& field, const TextFieldLook& look,
                     bool caret_on) {
    const gfx::Rect& box = look.box;
    gfx::set_fill_color(look.background, canvas);
    gfx::fill_bar(box.x, box.y, box.right(), box.bottom(), canvas);
    gfx::set_color(look.border, canvas);
    gfx::draw_rectangle(box.x, box.y, box.right() - 1, box.bottom() - 1, canvas);

    gfx::set_font(look.size, 0, look.face, canvas);
    gfx::set_viewport(box.x + look.inset, box.y, box.right() - look.inset, box.bottom(), 1, canvas);
    const int caret_x = gfx::text_width(field.text.substr(0, field.caret).c_str(), canvas);
    // The text moves left only as far as it takes to keep the caret in view,
    // with room for the caret itself.
    const int room = box.w - 2 * look.inset - 4;
    const int x = caret_x > room ? room - caret_x : 0;
    const int caret_top = look.text_y - 1;
    const int caret_bottom = box.h - look.text_y;
    if (field.all_selected) {
        const int width = gfx::text_width(field.text.c_str(), canvas);
        gfx::set_fill_color(look.selection, canvas);
        gfx::fill_bar(x, caret_top, x + width, caret_bottom + 1, canvas);
    }
    gfx::set_color(look.ink, canvas);
    gfx::text_out(x, look.text_y, field.text.c_str(), canvas);
    if (caret_on) gfx::draw_line(x + caret_x + 1, caret_top, x + caret_x + 1, caret_bottom, canvas);
    gfx::set_viewport(0, 0, canvas->width, canvas->height, 1, canvas);
}

}  // namespace nd::ui
