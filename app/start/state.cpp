#include "app/start/state.h"

#include "ui/keys.h"

namespace nd::start {

namespace {

// The widgets of the list page other than the close button, which the path
// entry keeps.
void reset_list_page(StartState* s) {
    ui::list_reset_pointer(&s->list);
    for (ui::Button* b :
         {&s->new_button, &s->open_button, &s->minimise, &s->help[0], &s->help[1]}) {
        ui::button_reset(b);
    }
}

void reset_entry(StartState* s) {
    for (ui::Button* b : {&s->entry_ok, &s->entry_cancel, &s->entry_field}) ui::button_reset(b);
}

// The first click of a message wins; a press never clicks two targets.
struct Clicks {
    bool any = false;
    Action action;
    void take(bool clicked, Action a) {
        if (!clicked) return;
        if (!any) action = a;
        any = true;
    }
};

}  // namespace

void clamp_scroll(StartState* state, int count) {
    ui::list_set_count(&state->list, count);
}

void scroll_to(StartState* state, int count, int index) {
    ui::list_set_count(&state->list, count);
    ui::list_scroll_to(&state->list, index);
}

bool selected_in_use(const StartState& state, const std::vector<RowFlags>& rows) {
    const int selected = state.list.selected;
    return selected >= 0 && selected < static_cast<int>(rows.size()) && rows[selected].in_use;
}

Action start_mouse(StartState* s, const std::vector<RowFlags>& rows, const gfx::MouseMsg& msg) {
    if (s->mode == Mode::kLoading || s->mode == Mode::kChoosing) return {};
    ui::list_set_count(&s->list, static_cast<int>(rows.size()));
    Clicks clicks;
    if (s->mode == Mode::kNotice) {
        reset_list_page(s);
        clicks.take(ui::button_update(&s->notice_ok, msg), {ActionKind::kDismissNotice});
        clicks.take(ui::button_update(&s->close, msg), {ActionKind::kClose});
        return clicks.action;
    }
    if (s->mode == Mode::kEntry) {
        reset_list_page(s);
        clicks.take(ui::button_update(&s->entry_ok, msg), {ActionKind::kSubmitEntry});
        if (ui::button_update(&s->entry_cancel, msg)) {
            clicks.take(true, {});
            s->mode = Mode::kList;
        }
        clicks.take(ui::button_update(&s->entry_field, msg), {});
        clicks.take(ui::button_update(&s->close, msg), {ActionKind::kClose});
    } else {
        reset_entry(s);
        clicks.take(ui::button_update(&s->close, msg), {ActionKind::kClose});
        clicks.take(ui::button_update(&s->minimise, msg), {ActionKind::kMinimise});
        clicks.take(ui::button_update(&s->new_button, msg), {ActionKind::kChooseNew});
        clicks.take(ui::button_update(&s->open_button, msg), {ActionKind::kChooseOpen});
        for (int k = 0; k < layout::kHelpLinks; ++k) {
            clicks.take(ui::button_update(&s->help[k], msg), {ActionKind::kOpenHelp, k});
        }
        const int row = ui::list_update(&s->list, msg);
        if (row >= 0) {
            // An entry another program holds is only selected, so the page
            // can say why it does not open.
            clicks.take(true, rows[row].in_use ? Action{} : Action{ActionKind::kOpenRecent, row});
        }
        clicks.take(row == ui::kListArrowClicked, {});
    }
    if (clicks.any) {
        s->message.clear();
        s->detail.clear();
    }
    return clicks.action;
}

Action start_key(StartState* s, const gfx::KeyMsg& key) {
    if (s->mode == Mode::kNotice) {
        int code = ui::edit_code(key);
        return code == ui::kKeyEnter || code == ui::kKeyEscape ? Action{ActionKind::kDismissNotice}
                                                               : Action{};
    }
    if (s->mode != Mode::kEntry) return {};
    switch (ui::text_field_key(&s->entry.field, ui::edit_code(key))) {
        case ui::FieldKey::kEnter:
            return {ActionKind::kSubmitEntry};
        case ui::FieldKey::kEscape:
            s->mode = Mode::kList;
            return {};
        case ui::FieldKey::kUsed:
        case ui::FieldKey::kUnused:
            return {};
    }
    return {};
}

}  // namespace nd::start
