// The table of the dialog object's kinds: where each lies, its fields and
// their limits, its title and its confirm.
#include "board/dialog_kinds.h"

#include <iterator>

#include "board/case_create.h"
#include "board/password.h"
#include "board/size_dialog.h"
#include "store/records.h"

namespace nd {

namespace {

// The text of a field starts this far inside its rectangle.
constexpr int kFieldInset = 8;

gfx::Rect ok_at(int x, int y) {
    return {x, y, kDialogOkWidth, kDialogOkHeight};
}

// A field whose text starts at (x, y).
gfx::Rect field_at(int x, int y, int width) {
    return {x - kFieldInset, y - kFieldInset, width, 30};
}

// New category, new Case and add resource: a box of 267 x 132 at the
// anchor, one field across it.
DialogGeometry anchored(int, int, int ax, int ay) {
    DialogGeometry g;
    g.box = {ax, ay, 267, 132};
    g.ok = ok_at(ax + 83, ay + 87);
    g.field_count = 1;
    g.fields[0] = field_at(ax + 26, ay + 50, 230);
    return g;
}

DialogGeometry set_password(int w, int h, int, int) {
    DialogGeometry g;
    g.box = gfx::Rect::from_edges(w / 2 - 152, h / 2 - 90, w / 2 + 153, h / 2 + 90);
    g.ok = ok_at(w / 2 - 50, h / 2 + 45);
    g.field_count = 2;
    for (int i = 0; i < 2; ++i) g.fields[size_t(i)] = field_at(w / 2 - 87, g.box.y + 50 + 48 * i, 190);
    return g;
}

DialogGeometry change_password(int w, int h, int, int) {
    DialogGeometry g;
    g.box = gfx::Rect::from_edges(w / 2 - 152, h / 2 - 114, w / 2 + 153, h / 2 + 114);
    g.ok = ok_at(w / 2 - 50, h / 2 + 69);
    g.field_count = 3;
    for (int i = 0; i < 3; ++i) g.fields[size_t(i)] = field_at(w / 2 - 87, g.box.y + 50 + 48 * i, 190);
    return g;
}

// The unlock dialog is the password line of the lock screen, no OK button.
DialogGeometry unlock(int w, int h, int, int) {
    DialogGeometry g;
    const int top = (h - 65) / 2;
    g.box = gfx::Rect::from_edges(w / 2 - 117, top + 49, w / 2 + 117, top + 81);
    g.field_count = 1;
    g.fields[0] = field_at(w / 2 - 109, top + 58, 234);
    return g;
}

DialogGeometry window_size(int w, int h, int, int) {
    DialogGeometry g;
    g.box = gfx::Rect::from_edges(w / 2 - 127, h / 2 - 90, w / 2 + 128, h / 2 + 90);
    g.ok = ok_at(w / 2 - 50, h / 2 + 45);
    g.field_count = 2;
    g.fields[0] = field_at(g.box.x + 62, g.box.y + 56, 70);
    g.fields[1] = field_at(g.box.x + 146, g.box.y + 56, 70);
    return g;
}

const char* category_title(int) {
    return "\xD0\xC2\xBD\xA8\xB7\xD6\xC0\xE0";  // 新建分类
}

// By the Case kind code the dialog was opened with.
const char* case_title(int code) {
    switch (code) {
        case kKindObject:
            return "\xD0\xC2\xBD\xA8\xA1\xB8" "Case" "\xA1\xB9- \xCE\xEF";  // 新建「Case」- 物
        case kKindPerson:
            return "\xD0\xC2\xBD\xA8\xA1\xB8" "Case" "\xA1\xB9- \xC8\xCB";  // 新建「Case」- 人
        case kKindEvent:
            return "\xD0\xC2\xBD\xA8\xA1\xB8" "Case" "\xA1\xB9- \xCA\xC2\xBC\xFE";  // - 事件
        case kKindTask:
            return "\xD0\xC2\xBD\xA8\xA1\xB8" "Case" "\xA1\xB9- \xC8\xCE\xCE\xF1";  // - 任务
        default:
            return "\xD0\xC2\xBD\xA8\xA1\xB8" "Case" "\xA1\xB9";  // 新建「Case」
    }
}

const char* resource_title(int) {
    return "\xCC\xED\xBC\xD3\xA1\xB8\xD7\xCA\xD4\xB4\xA1\xB9";  // 添加「资源」
}

const char* set_password_title(int) {
    return "\xC9\xE8\xD6\xC3\xC3\xDC\xC2\xEB";  // 设置密码
}

const char* change_password_title(int) {
    return "\xD0\xDE\xB8\xC4\xC3\xDC\xC2\xEB";  // 修改密码
}

const char* size_title(int) {
    return "\xB5\xF7\xD5\xFB\xB4\xB0\xBF\xDA\xB4\xF3\xD0\xA1";  // 调整窗口大小
}

// The field limits are those of the records the text goes into: a category
// name keeps 20 bytes, a title 30 of its field, a password 30 of the 31 the
// settings record holds, a resource name the 15 of its 16-byte field.
const DialogKind kKinds[] = {
    {kDialogNewCategory, 20, false, anchored, category_title, confirm_new_category, nullptr},
    {kDialogNewCase, 30, false, anchored, case_title, confirm_new_case, nullptr},
    {kDialogSetPassword, 30, true, set_password, set_password_title, confirm_set_password,
     nullptr},
    {kDialogChangePassword, 30, true, change_password, change_password_title,
     confirm_change_password, nullptr},
    {kDialogUnlock, 30, true, unlock, nullptr, confirm_unlock, nullptr},
    {kDialogWindowSize, 5, false, window_size, size_title, confirm_window_size,
     draw_size_dialog},
    {kDialogAddResource, 15, false, anchored, resource_title, confirm_add_resource, nullptr},
};

static_assert(sizeof(CaseRecord{}.resource_names[0]) - 1 >= 15);

}  // namespace

const DialogKind* dialog_kind(int kind) {
    for (const DialogKind& row : kKinds)
        if (row.kind == kind) return &row;
    return nullptr;
}

}  // namespace nd
