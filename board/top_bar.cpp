// The top bar's places and input: where its buttons lie, and what a click
// on each does.
#include "board/top_bar.h"

#include <string>

#include "board/case_attributes.h"
#include "board/command_case.h"
#include "board/layout.h"
#include "board/main_view.h"
#include "board/menu.h"
#include "board/options_panel.h"
#include "board/top_bar_look.h"
#include "board/window_mgmt.h"
#include "session/menu_objects.h"
#include "skins/names.h"

namespace nd {

namespace {

constexpr int kCaptionButtonWidth = 45;
constexpr int kCaptionButtonHeight = 29;
constexpr int kMenuButtonWidth = 28;
constexpr int kLogoWidth = 26;
constexpr int kLogoHeight = 20;
constexpr int kToolSize = 32;
constexpr int kLabelGap = 4;     // between a tool icon and its text
constexpr int kButtonGap = 10;   // between buttons
constexpr int kLabelMargin = 8;  // after the text

// The Case the bar's Case buttons show: the selected one, when it is still
// there.
const CaseRecord* selected_record() {
    MenuTarget target;
    target.target = view_state().selected;
    return command_case(target);
}

int text_width(const MainView& view, const char* text) {
    gfx::IMAGE* measure = view.top_bar.measure;
    if (!measure) return 0;
    gfx::set_font(kTopBarTextSize, 0, kTopBarFace, measure);
    return gfx::text_width(text, measure);
}

void free_image(gfx::IMAGE*& image) {
    if (image) gfx::delete_image(image);
    image = nullptr;
}

}  // namespace

std::string top_label_text(int button, const CaseRecord& record, bool named) {
    int item = -1;
    const char* name = "";
    switch (button) {
        case kTopKind:
            item = kind_item(record);
            name = "\xC0\xE0\xD0\xCD\xA3\xBA";  // 类型：
            break;
        case kTopImportance:
            item = importance_item(record);
            name = "\xD6\xD8\xD2\xAA\xD0\xD4\xA3\xBA";  // 重要性：
            break;
        case kTopDifficulty:
            item = difficulty_item(record);
            name = "\xC4\xD1\xB6\xC8\xA3\xBA";  // 难度：
            break;
        case kTopCognition:
            item = cognition_item(record);
            name = "\xC8\xCF\xD6\xAA\xB6\xC8\xA3\xBA";  // 认知度：
            break;
        default:
            return {};
    }
    const char* value = menu_item_spec(item).text;
    return named ? std::string(name) + value : std::string(value);
}

TopBarPlaces top_bar_places(const MainView& view) {
    TopBarPlaces p;
    const gfx::Rect bar = top_bar_rect(view.width);
    const int row = bar.y + (bar.h - kToolSize) / 2;
    int right = view.width;
    for (int b = kTopClose; b >= kTopMinimise; --b) {
        right -= kCaptionButtonWidth;
        p.rects[size_t(b)] = {right, bar.y, kCaptionButtonWidth, kCaptionButtonHeight};
    }
    p.rects[kTopMenu] = {right - kMenuButtonWidth, bar.y, kMenuButtonWidth, kCaptionButtonHeight};
    p.rects[kTopOptions] = {p.rects[kTopMenu].x - kCaptionButtonWidth, bar.y, kCaptionButtonWidth,
                            kCaptionButtonHeight};
    p.rects[kTopLogo] = {10, bar.y + (bar.h - kLogoHeight) / 2, kLogoWidth, kLogoHeight};
    int x = p.rects[kTopLogo].right() + kButtonGap;
    p.rects[kTopArrange] = {x, row, kToolSize, kToolSize};
    x += kToolSize + kButtonGap;
    if (const CaseRecord* record = selected_record()) {
        p.rects[kTopColour] = {x, row, kToolSize, kToolSize};
        x += kToolSize + kButtonGap;
        const int first = x;
        // The named labels when they end left of the options button.
        for (const bool named : {true, false}) {
            x = first;
            for (int b = kTopKind; b <= kTopCognition; ++b) {
                const int w = kToolSize + kLabelGap +
                              text_width(view, top_label_text(b, *record, named).c_str()) +
                              kLabelMargin;
                p.rects[size_t(b)] = {x, row, w, kToolSize};
                x += w + kButtonGap;
            }
            p.named_labels = named;
            if (x <= p.rects[kTopOptions].x) break;
        }
    }
    return p;
}

int top_bar_menu_object(const MainView& view, int x, int y) {
    static constexpr int kObjects[kTopMenu] = {
        kMenuLogoButton,    kMenuTopArrangement, kMenuTopColour,   kMenuTopKind,
        kMenuTopImportance, kMenuTopDifficulty,  kMenuTopCognition};
    const TopBarPlaces places = top_bar_places(view);
    for (int b = kTopLogo; b < kTopMenu; ++b)
        if (places.rects[size_t(b)].contains(x, y)) return kObjects[b];
    if (places.rects[kTopMenu].contains(x, y)) return kHitCaption;
    return 0;
}

void top_bar_layout(MainView& view) {
    TopBarState& s = view.top_bar;
    if (!s.measure) s.measure = gfx::new_image(1, 1);
    // A reload reports only whether it loaded; the tables fit by
    // construction (skins/names.h checks them).
    (void)reload_on_change(&s.top, kTopNames);
    (void)reload_on_change(&s.tools, kToolNames);
    (void)reload_on_change(&s.logo, kAboutLogoNames);
    if (!s.badge) {
        // Every skin shares it; a missing picture leaves a 1 x 1 placeholder,
        // which is not drawn.
        s.badge = gfx::new_image(1, 1);
        gfx::getimage(s.badge, "IMGS", "STATUS_BREAK", 0, 0);
    }
    // The colour button shows the menus' status dots, and the menus are
    // ready before the first right click.
    render_menu_pictures(&view.menu.pictures);
    render_top_bar_background(&s, view.width);
}

bool top_bar_pointer(MainView& view, const gfx::MouseMsg& msg) {
    TopBarState& s = view.top_bar;
    const TopBarPlaces places = top_bar_places(view);
    bool over = false;
    int clicked = -1;
    for (int b = 0; b < kTopButtonCount; ++b) {
        ui::Button& button = s.buttons[size_t(b)];
        button.rect = places.rects[size_t(b)];
        if (button.rect.empty()) {
            ui::button_reset(&button);
            continue;
        }
        if (ui::button_update(&button, msg)) clicked = b;
        over = over || button.hover;
    }
    const bool used = over || s.pressed >= 0;
    if ((msg.kind & gfx::kMouseDown) && (msg.flags & gfx::kMouseLeft)) {
        s.pressed = -1;
        for (int b = 0; b < kTopButtonCount; ++b)
            if (s.buttons[size_t(b)].pressed) s.pressed = b;
    }
    if (msg.kind & gfx::kMouseUp) s.pressed = -1;
    if (used) request_redraw(view);
    if (clicked < 0) return used;

    const gfx::Rect& at = places.rects[size_t(clicked)];
    switch (clicked) {
        case kTopMinimise:
            gfx::minimise_window();
            break;
        case kTopSize:
            open_size_dialog(view);
            break;
        case kTopMaximise:
            toggle_maximise(view);
            break;
        case kTopClose:
            view.close_requested = true;
            break;
        case kTopOptions:
            toggle_options_panel(view);
            break;
        default: {
            // The rest open their menus under themselves.
            MenuTarget target;
            if (menu_target_at(view, kHitTopBar, at.x, at.y, &target)) {
                target.x = at.x;
                target.y = at.bottom();
                open_menu(view, target);
            }
            break;
        }
    }
    return true;
}

void top_bar_skin_changed(MainView& view) {
    top_bar_layout(view);
}

void free_top_bar(MainView& view) {
    TopBarState& s = view.top_bar;
    free_skin_pictures(&s.top);
    free_skin_pictures(&s.tools);
    free_skin_pictures(&s.logo);
    free_image(s.bar);
    free_image(s.measure);
    free_image(s.badge);
}

}  // namespace nd
