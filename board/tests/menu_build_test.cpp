// The menu of each object, and where a menu lies in the window.
#include "board/menu_build.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/commands.h"
#include "board/hit_codes.h"
#include "session/menu_objects.h"

namespace nd {
namespace {

// The menu as "18,15,16,17|20|...": items in order, "|" for a separator.
std::string menu_of(int object, const MenuFacts& facts) {
    MenuEntry entries[kMenuRoom];
    const int count = build_menu_entries(object, facts, entries);
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += entries[i].separator ? "|" : ",";
        text += std::to_string(entries[i].item);
    }
    return text;
}

MenuFacts facts() {
    return MenuFacts{};
}

struct MenuCase {
    const char* name;
    int object;
    MenuFacts facts;
    const char* menu;
};

MenuFacts with(void (*change)(MenuFacts&)) {
    MenuFacts f = facts();
    change(f);
    return f;
}

TEST(MenuByObject, EveryObjectGetsTheItemsOfItsRow) {
    const int card = kHitFirstCard + 3;
    const MenuCase cases[] = {
        {"title card", card, facts(), "18,15,16,17|20|21,37|13|4,6"},
        {"pinned title card", card, with([](MenuFacts& f) { f.pinned = true; }),
         "18,15,16,17|20|21,37|14|4,6"},
        {"window-form card", card, with([](MenuFacts& f) { f.card_form = kFormCase; }), ""},
        {"photo card", card, with([](MenuFacts& f) { f.card_form = kFormPhoto; }), ""},
        {"map card", card, with([](MenuFacts& f) { f.card_form = kFormMap; }), ""},
        {"background, first category", kHitBackground,
         with([](MenuFacts& f) { f.first_category = true; }), "5|56,57,58,59|8,7"},
        {"background, first category, password set", kHitBackground, with([](MenuFacts& f) {
             f.first_category = true;
             f.password_set = true;
         }),
         "5|56,57,58,59|9,7"},
        {"background, other category", kHitBackground, facts(), "8,7"},
        {"background, other category, password set", kHitBackground,
         with([](MenuFacts& f) { f.password_set = true; }), "9,7"},
        {"caption strip", kHitCaption, facts(), "10|7,19"},
        {"logo button", kMenuLogoButton, facts(), "55|54"},
        {"top-bar colour", kMenuTopColour, facts(), "18,15,16,17"},
        {"top-bar arrangement", kMenuTopArrangement, facts(), "56,57,58,59"},
        {"top-bar kind", kMenuTopKind, facts(), "25|26,27,28,29"},
        {"top-bar importance", kMenuTopImportance, facts(), "30,31,32,33,34"},
        {"top-bar difficulty", kMenuTopDifficulty, facts(), "39,40,41"},
        {"top-bar cognition", kMenuTopCognition, facts(), "42,43,44"},
        {"editor kind cell", kMenuEditorKind, facts(), "25|26,27,28,29"},
        {"category list, empty row", kMenuCategoryEmpty, facts(), "0"},
        {"category list, placeholder", kMenuCategoryPlaceholder, facts(), "0,1"},
        {"another empty category", kMenuCategory, with([](MenuFacts& f) { f.categories = 3; }),
         "0|24|4,2"},
        {"another category with Cases", kMenuCategory, with([](MenuFacts& f) {
             f.categories = 3;
             f.category_has_cases = true;
         }),
         "0|24|4,3"},
        {"the current category", kMenuCategory, with([](MenuFacts& f) {
             f.categories = 3;
             f.category_current = true;
         }),
         "0|4,2"},
        {"the first category", kMenuCategory, with([](MenuFacts& f) {
             f.categories = 3;
             f.category_first = true;
         }),
         "0|24|4"},
        {"the only category", kMenuCategory, with([](MenuFacts& f) { f.category_current = true; }),
         "0|4"},
        {"whiteboard's Cases, empty", kMenuBoardCasesEmpty, facts(), "5"},
        {"whiteboard's Cases, a Case", kMenuBoardCase, facts(), "18,15,16,17|20|21,37|23|4,6"},
        {"previewed Case", kMenuPreviewCase, facts(), "18,15,16,17|20|21,37|23"},
        {"search result", kMenuSearchResult, facts(), "18,15,16,17|20|21,37|23"},
        {"timeline entry", kMenuTimelineEntry, facts(), "18,15,16,17|20|21,37|23"},
        {"list-view row", kMenuListRow, facts(), "18,15,16,17|21,37|23"},
        {"assessment entry", kMenuAssessmentEntry, facts(), "18,15,16,17|20|21,37|23"},
        {"assessment, no entry", kMenuAssessmentCase, facts(), "18,15,16,17|21,37|23"},
        {"editor link row", kMenuEditorLinkRow, facts(), "18,15,16,17|35,36|20|21,37|23"},
        {"editor resource", kMenuEditorResource, facts(), "51,52,47|48,49|45|46,50"},
        {"editor resource area", kMenuEditorResourceArea, facts(), "45|48,49"},
        {"editor body, reading", kMenuEditorBody,
         with([](MenuFacts& f) { f.clipboard_has_data = true; }),
         "18,15,16,17|20|21,37|45|48,49|4,6"},
        {"editor body, editing, empty clipboard", kMenuEditorBodyEditing, facts(),
         "18,15,16,17|20|21,37|45|48,49|4,6"},
        {"editor body, editing, clipboard", kMenuEditorBodyEditing,
         with([](MenuFacts& f) { f.clipboard_has_data = true; }),
         "18,15,16,17|20|21,37|45|48,49|12|4,6"},
        {"editor selection", kMenuEditorSelection, facts(), "11"},
        {"grip", kHitGrip, facts(), ""},
        {"a panel as a whole", kPanelLeftBar, facts(), ""},
    };
    for (const MenuCase& c : cases) EXPECT_EQ(menu_of(c.object, c.facts), c.menu) << c.name;
}

// An item shows enabled exactly when its command is built, so a later
// feature that fills a row lights its items up without touching the menus.
TEST(MenuByObject, ItemsAreEnabledWhenTheirCommandIsBuilt) {
    MenuEntry entries[kMenuRoom];
    MenuFacts f;
    f.first_category = true;
    for (int object : {kHitFirstCard, int(kHitBackground), int(kMenuEditorBodyEditing),
                       int(kMenuEditorResource), int(kMenuCategory)}) {
        const int count = build_menu_entries(object, f, entries);
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(entries[i].enabled, command_built(entries[i].item))
                << "object " << object << " item " << entries[i].item;
    }
    EXPECT_TRUE(command_built(6));
    EXPECT_TRUE(command_built(20));
    EXPECT_TRUE(command_built(21));
    EXPECT_TRUE(command_built(37));
    EXPECT_FALSE(command_built(22)) << "no item has number 22";
    EXPECT_FALSE(command_built(-1));
    EXPECT_FALSE(command_built(kCommandCount));
}

std::vector<MenuEntry> card_menu() {
    std::vector<MenuEntry> entries(kMenuRoom);
    entries.resize(size_t(build_menu_entries(kHitFirstCard, MenuFacts{}, entries.data())));
    return entries;
}

TEST(MenuPlace, ItemsStepBy28AndBy35AfterASeparator) {
    std::vector<MenuEntry> e = card_menu();  // 18,15,16,17|20|21,37|13|4,6
    const gfx::Rect box = place_menu(e.data(), int(e.size()), 100, 50, 1600, 900);
    EXPECT_EQ(e[0].x, 105);
    EXPECT_EQ(e[0].y, 55);
    EXPECT_EQ(e[3].y, 55 + 3 * 28);
    EXPECT_EQ(e[4].y, 55 + 3 * 28 + 35);  // 20, after a separator
    EXPECT_EQ(e[9].y, 55 + 5 * 28 + 4 * 35);
    EXPECT_EQ(box, (gfx::Rect{100, 50, 220, e[9].y + 28 + 5 - 50}));
}

// Near the right and bottom edges the menu moves by what sticks out, and
// lies wholly inside the window afterwards.
TEST(MenuPlace, AMenuNearTheEdgesIsShiftedIntoTheWindow) {
    struct Case {
        int x, y;
        gfx::Rect box;
    };
    std::vector<MenuEntry> probe = card_menu();
    const int h = place_menu(probe.data(), int(probe.size()), 0, 0, 1600, 900).h;
    const Case cases[] = {
        {100, 100, {100, 100, 220, h}},                 // room everywhere
        {1380, 100, {1380, 100, 220, h}},               // the right edge exactly
        {1381, 100, {1380, 100, 220, h}},               // one over on the right
        {1599, 899, {1380, 900 - h, 220, h}},           // the bottom-right corner
        {500, 900 - h, {500, 900 - h, 220, h}},         // the bottom edge exactly
        {500, 901 - h, {500, 900 - h, 220, h}},         // one over at the bottom
    };
    for (const Case& c : cases) {
        std::vector<MenuEntry> e = card_menu();
        const gfx::Rect box = place_menu(e.data(), int(e.size()), c.x, c.y, 1600, 900);
        EXPECT_EQ(box, c.box) << c.x << "," << c.y;
        EXPECT_EQ(e[0].x, box.x + 5);
        EXPECT_EQ(e[0].y, box.y + 5);
        EXPECT_LE(e.back().y + 28 + 5, 900);
    }
}

TEST(MenuPlace, AMenuTallerThanTheWindowStartsAtItsTop) {
    std::vector<MenuEntry> e = card_menu();
    const gfx::Rect box = place_menu(e.data(), int(e.size()), 40, 100, 800, 200);
    EXPECT_EQ(box.y, 0);
    EXPECT_EQ(e[0].y, 5);
}

}  // namespace
}  // namespace nd
