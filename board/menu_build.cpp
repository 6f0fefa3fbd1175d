#include "board/menu_build.h"

#include <algorithm>
#include <span>

#include "board/commands.h"
#include "board/hit_codes.h"
#include "session/menu_objects.h"

namespace nd {

namespace {

constexpr int kTitleForm = 1;

// A menu of the object table as data: item numbers in order, kBar for a
// separator above the next item, and the places where the menu depends on
// a fact.
constexpr int kBar = -1;
constexpr int kPinOrUnpin = -2;      // 13, or 14 for a pinned Case
constexpr int kPassword = -3;        // 8, or 9 once a password is set
constexpr int kFirstCategory = -4;   // "5 | 56, 57, 58, 59 |" while the first category is current
constexpr int kPreview = -5;         // "24 |" for a category other than the current one
constexpr int kDeleteCategory = -6;  // 2, or 3 when it holds Cases; beside another, not the first
constexpr int kPaste = -7;           // "| 12" in edit mode while the clipboard holds data

constexpr int kCard[] = {18, 15, 16, 17, kBar, 20, kBar, 21, 37, kBar, kPinOrUnpin, kBar, 4, 6};
constexpr int kBackground[] = {kFirstCategory, kPassword, 7};
constexpr int kCaption[] = {10, kBar, 7, 19};
constexpr int kLogo[] = {55, kBar, 54};
constexpr int kColours[] = {18, 15, 16, 17};
constexpr int kArrangements[] = {56, 57, 58, 59};
constexpr int kKinds[] = {25, kBar, 26, 27, 28, 29};
constexpr int kImportance[] = {30, 31, 32, 33, 34};
constexpr int kDifficulty[] = {39, 40, 41};
constexpr int kCognition[] = {42, 43, 44};
constexpr int kCategoryEmpty[] = {0};
constexpr int kCategoryPlaceholder[] = {0, 1};
constexpr int kCategory[] = {0, kBar, kPreview, 4, kDeleteCategory};
constexpr int kNewCase[] = {5};
constexpr int kBoardCase[] = {18, 15, 16, 17, kBar, 20, kBar, 21, 37, kBar, 23, kBar, 4, 6};
constexpr int kListedCase[] = {18, 15, 16, 17, kBar, 20, kBar, 21, 37, kBar, 23};
constexpr int kListedWithoutLink[] = {18, 15, 16, 17, kBar, 21, 37, kBar, 23};
constexpr int kLinkRow[] = {18, 15, 16, 17, kBar, 35, 36, kBar, 20, kBar, 21, 37, kBar, 23};
constexpr int kResource[] = {51, 52, 47, kBar, 48, 49, kBar, 45, kBar, 46, 50};
constexpr int kResourceArea[] = {45, kBar, 48, 49};
constexpr int kEditorBody[] = {18,   15, 16,   17, kBar, 20,     kBar, 21, 37,
                               kBar, 45, kBar, 48, 49,   kPaste, kBar, 4,  6};
constexpr int kSelection[] = {11};

std::span<const int> menu_row(int object) {
    switch (object) {
        case kHitBackground:
            return kBackground;
        case kHitCaption:
            return kCaption;
        case kMenuLogoButton:
            return kLogo;
        case kMenuTopColour:
            return kColours;
        case kMenuTopArrangement:
            return kArrangements;
        case kMenuTopKind:
        case kMenuEditorKind:
            return kKinds;
        case kMenuTopImportance:
        case kMenuEditorImportance:
            return kImportance;
        case kMenuTopDifficulty:
        case kMenuEditorDifficulty:
            return kDifficulty;
        case kMenuTopCognition:
        case kMenuEditorCognition:
            return kCognition;
        case kMenuCategoryEmpty:
            return kCategoryEmpty;
        case kMenuCategoryPlaceholder:
            return kCategoryPlaceholder;
        case kMenuCategory:
            return kCategory;
        case kMenuBoardCasesEmpty:
            return kNewCase;
        case kMenuBoardCase:
            return kBoardCase;
        case kMenuPreviewCase:
        case kMenuSearchResult:
        case kMenuTimelineEntry:
        case kMenuAssessmentEntry:
            return kListedCase;
        case kMenuListRow:
        case kMenuAssessmentCase:
            return kListedWithoutLink;
        case kMenuEditorLinkRow:
            return kLinkRow;
        case kMenuEditorResource:
            return kResource;
        case kMenuEditorResourceArea:
            return kResourceArea;
        case kMenuEditorBody:
        case kMenuEditorBodyEditing:
            return kEditorBody;
        case kMenuEditorSelection:
            return kSelection;
        default:
            return {};
    }
}

// Appends items; bar() puts a separator above the next item added.
struct Builder {
    MenuEntry* out;
    int count = 0;
    bool separate = false;

    void add(int item) {
        MenuEntry& e = out[count++];
        e = MenuEntry{};
        e.item = item;
        e.separator = separate && count > 1;
        e.enabled = command_built(item);
        separate = false;
    }
    void bar() { separate = true; }
};

}  // namespace

int build_menu_entries(int object, const MenuFacts& f, MenuEntry* out) {
    std::span<const int> row = menu_row(object);
    if (hit_is_card(object)) {
        if (f.card_form != kTitleForm) return 0;
        row = kCard;
    }
    Builder b{out};
    for (int code : row) {
        switch (code) {
            case kBar:
                b.bar();
                break;
            case kPinOrUnpin:
                b.add(f.pinned ? 14 : 13);
                break;
            case kPassword:
                b.add(f.password_set ? 9 : 8);
                break;
            case kFirstCategory:
                if (!f.first_category) break;
                b.add(5);
                b.bar();
                for (int item : kArrangements) b.add(item);
                b.bar();
                break;
            case kPreview:
                if (f.category_current) break;
                b.add(24);
                b.bar();
                break;
            case kDeleteCategory:
                if (f.categories > 1 && !f.category_first) b.add(f.category_has_cases ? 3 : 2);
                break;
            case kPaste:
                if (object != kMenuEditorBodyEditing || !f.clipboard_has_data) break;
                b.bar();
                b.add(12);
                break;
            default:
                b.add(code);
                break;
        }
    }
    return b.count;
}

gfx::Rect place_menu(MenuEntry* entries, int count, int x, int y, int width, int height) {
    int top = y + kMenuPadding;
    for (int i = 0; i < count; ++i) {
        if (i > 0) top += entries[i].separator ? kMenuSeparatorStep : kMenuItemStep;
        entries[i].x = x + kMenuPadding;
        entries[i].y = top;
    }
    const int bottom = count > 0 ? top + kMenuItemStep + kMenuPadding : y;
    // Moved up and left by what sticks out, but never past the window's
    // top-left corner, where a menu taller than the window still starts.
    const int dy = std::min(std::max(0, bottom - height), y);
    const int dx = std::min(std::max(0, x + kMenuWidth - width), x);
    for (int i = 0; i < count; ++i) {
        entries[i].x -= dx;
        entries[i].y -= dy;
    }
    return {x - dx, y - dy, kMenuWidth, bottom - y};
}

}  // namespace nd
