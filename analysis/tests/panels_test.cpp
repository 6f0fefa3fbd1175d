// The analysis panels as the board drives them: keys, pointer messages and
// wheel turns through their hooks, what they post to the board, and how
// they follow a change of the Cases they show.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "analysis/panels.h"
#include "analysis/report_panel.h"
#include "analysis/report_texts.h"
#include "analysis/search_panel.h"
#include "analysis/tests/scene.h"
#include "analysis/timeline_panel.h"
#include "gfx/window/clipboard.h"
#include "gfx/window/clipboard_fake.h"
#include "session/app.h"
#include "session/menu_objects.h"
#include "session/requests.h"
#include "store/keys.h"
#include "store/locks.h"
#include "ui/keys.h"
#include "ui/panel.h"

namespace nd {
namespace {

using testing::Scene;

constexpr int kWidth = 1200;
constexpr int kHeight = 800;
constexpr char kZhongWen[] = "\xD6\xD0\xCE\xC4";  // 中文

class Panels : public ::testing::Test {
protected:
    void SetUp() override {
        gfx::force_headless(true);
        ASSERT_EQ(gfx::open_window(kWidth, kHeight, 0x19), 0);
        gfx::clipboard_reset();
        gfx::fake_clipboard_offer({});
        clear_requests();
        view_state() = ViewState{};
        search_panel_state() = SearchPanelState{};
        timeline_panel_state().timeline = Timeline{};
        install_analysis_panels(kWidth, kHeight);
        set_load_progress(100.0f);
    }
    void TearDown() override {
        free_case_icons(search_panel_state().icons);
        free_case_icons(report_panel_state().icons);
        free_timeline_pictures(timeline_panel_state().pictures);
        view_state() = ViewState{};
        clear_requests();
        gfx::clipboard_reset();
        gfx::close_window();
    }

    static ui::Panel& panel(int id) { return *ui::panel_find(&view_state().panels, id); }

    static void keys(std::initializer_list<int> codes) {
        ui::Panel& p = panel(kPanelSearch);
        for (int code : codes) p.hooks->key(p, code);
    }
    static void type(const std::string& gbk) {
        for (unsigned char c : gbk) keys({c});
    }
    static void mouse(int id, uint32_t kind, uint32_t button, int x, int y) {
        ui::Panel& p = panel(id);
        p.hooks->pointer(p, gfx::MouseMsg{x, y, kind, button, 0});
    }
    static void click(int id, int x, int y, uint32_t button = gfx::kMouseLeft) {
        mouse(id, gfx::kMouseDown, button, x, y);
        mouse(id, gfx::kMouseUp, button, x, y);
    }
    static std::vector<BoardRequest> requests() {
        std::vector<BoardRequest> out;
        BoardRequest r;
        while (take_request(&r)) out.push_back(r);
        return out;
    }
    static SearchLayout search_parts() {
        return search_layout(panel(kPanelSearch).rect, search_panel_state().search.history.count);
    }
    // The middle of result row `row` as the list shows it now.
    static std::pair<int, int> row_point(int row) {
        const SearchLayout l = search_parts();
        return {l.list.left + 50,
                l.list.top + (row - search_panel_state().search.first_visible) * kResultRowHeight +
                    kResultRowHeight / 2};
    }
};

TEST_F(Panels, CtrlFOpensAnEmptySearchInFrontAndClosesIt) {
    EXPECT_FALSE(panel(kPanelSearch).visible);
    toggle_search_panel(kWidth, kHeight);
    ui::Panel& p = panel(kPanelSearch);
    EXPECT_TRUE(p.visible);
    EXPECT_EQ(&p, &view_state().panels.panels[0]);
    EXPECT_GE(p.rect.h, kSearchPanelMinHeight);
    type("abc");
    search_panel_state().search.scope = kScopeAllBoards;
    toggle_search_panel(kWidth, kHeight);
    EXPECT_FALSE(p.visible);
    toggle_search_panel(kWidth, kHeight);
    EXPECT_EQ(search_panel_state().field.text, "");
    EXPECT_EQ(search_panel_state().search.scope, kScopeBoard);
}

TEST_F(Panels, TypedGbkQueryRunsOnEnterAndEscClosesInTwoSteps) {
    Scene s;
    s.add("plain");
    s.add(std::string("x") + kZhongWen);
    toggle_search_panel(kWidth, kHeight);
    SearchPanelState& st = search_panel_state();
    keys({ui::kKeyEnter});  // an empty query runs nothing
    EXPECT_FALSE(st.searched);
    // Backspace and Delete take whole characters, the caret steps over them.
    type(std::string(kZhongWen) + "a");
    keys({ui::kKeyBackspace, ui::kKeyLeft, ui::kKeyDelete});
    EXPECT_EQ(st.field.text, "\xD6\xD0");
    EXPECT_EQ(st.field.caret, 2u);
    type("\xCE\xC4");
    keys({ui::kKeyHome});
    EXPECT_EQ(st.field.text, kZhongWen);
    EXPECT_EQ(st.field.caret, 0u);
    keys({ui::kKeyEnter});
    ASSERT_EQ(st.search.results.size(), 1u);
    EXPECT_EQ(st.search.results[0].slot, 1);
    EXPECT_EQ(st.search.history.count, 1);
    EXPECT_STREQ(st.search.history.entries[0], kZhongWen);

    keys({ui::kKeySelectAll, ui::kKeyEscape});  // clears the selection only
    EXPECT_FALSE(st.field.all_selected);
    EXPECT_TRUE(panel(kPanelSearch).visible);
    keys({ui::kKeyEscape});
    EXPECT_FALSE(panel(kPanelSearch).visible);
}

// The clipboard answers on its own thread: the paste lands on a later
// frame's step, cut to 255 bytes and never inside a character.
TEST_F(Panels, PasteArrivesOnALaterStepCutTo255BytesOnACharacterBoundary) {
    toggle_search_panel(kWidth, kHeight);
    SearchPanelState& st = search_panel_state();
    struct Case {
        std::string utf8;
        size_t bytes;
    } cases[] = {
        {std::string(300, 'a'), 255},
        // 150 characters of 中 are 300 GBK bytes: 127 whole ones fit.
        {[] {
             std::string s;
             for (int i = 0; i < 150; ++i) s += "\xE4\xB8\xAD";
             return s;
         }(),
         254},
        {"one\ntwo", 3},  // one line only
    };
    for (const Case& c : cases) {
        ui::text_field_set(&st.field, "");
        gfx::fake_clipboard_offer({{"UTF8_STRING", c.utf8}});
        keys({ui::kKeyPaste});
        for (int frame = 0; frame < 50 && st.paste_ticket != 0; ++frame) step_analysis_panels();
        EXPECT_EQ(st.paste_ticket, 0);
        EXPECT_EQ(st.field.text.size(), c.bytes) << c.utf8.substr(0, 9);
        EXPECT_EQ(st.field.caret, c.bytes);
    }
    // Ctrl+A and Ctrl+C put the query on the clipboard.
    ui::text_field_set(&st.field, kZhongWen);
    keys({ui::kKeySelectAll, ui::kKeyCopy});
    const gfx::ClipEntries held = gfx::fake_clipboard_contents();
    ASSERT_FALSE(held.empty());
    EXPECT_EQ(held[0].second, "\xE4\xB8\xAD\xE6\x96\x87");
}

TEST_F(Panels, HistoryEntryClickedBecomesTheQueryAndSearchesAtOnce) {
    Scene s;
    s.add("alpha");
    s.add("beta");
    toggle_search_panel(kWidth, kHeight);
    SearchPanelState& st = search_panel_state();
    for (const char* q : {"alpha", "beta", "alpha"}) {
        ui::text_field_set(&st.field, q);
        keys({ui::kKeyEnter});
    }
    ASSERT_EQ(st.search.history.count, 2);  // "alpha" again changed nothing
    EXPECT_STREQ(st.search.history.entries[0], "beta");
    const SearchLayout l = search_parts();
    click(kPanelSearch, l.history.x + 5, l.history.y + 5);
    ASSERT_TRUE(st.history_open);
    click(kPanelSearch, l.history_list.x + 20, l.history_list.y + kSearchListRow + 5);
    EXPECT_FALSE(st.history_open);
    EXPECT_EQ(st.field.text, "alpha");
    ASSERT_EQ(st.search.results.size(), 1u);
    EXPECT_EQ(st.search.results[0].slot, 0);
}

TEST_F(Panels, ScopeListPicksAllBoards) {
    Scene s;
    s.add("here", kKindEvent, 0, 0, 0, 0);
    s.add("there", kKindEvent, 0, 0, 0, 3);
    toggle_search_panel(kWidth, kHeight);
    SearchPanelState& st = search_panel_state();
    ui::text_field_set(&st.field, "there");
    keys({ui::kKeyEnter});
    EXPECT_TRUE(st.search.results.empty());
    const SearchLayout l = search_parts();
    click(kPanelSearch, l.scope.x + 10, l.scope.y + 5);
    ASSERT_TRUE(st.scope_open);
    click(kPanelSearch, l.scope_list.x + 10, l.scope_list.y + kSearchListRow + 5);
    EXPECT_EQ(st.search.scope, kScopeAllBoards);
    keys({ui::kKeyEnter});
    ASSERT_EQ(st.search.results.size(), 1u);
    EXPECT_EQ(st.search.results[0].board, 3);
}

// Rows: hover, the wheel a row a notch, the thumb dragged, a click asking
// the board to jump and a right click asking for the row's menu.
TEST_F(Panels, ResultRowsScrollHoverJumpAndAskForTheirMenu) {
    Scene s;
    std::vector<CaseRecord*> made;
    for (int i = 0; i < 40; ++i) made.push_back(&s.add("hit " + std::to_string(i)));
    toggle_search_panel(kWidth, kHeight);
    SearchPanelState& st = search_panel_state();
    ui::text_field_set(&st.field, "hit");
    keys({ui::kKeyEnter});
    ASSERT_EQ(st.search.results.size(), 40u);
    const SearchLayout l = search_parts();
    const int rows = visible_result_rows(l.list);
    ASSERT_LT(rows, 40);

    auto [x, y] = row_point(2);
    mouse(kPanelSearch, gfx::kMouseMove, 0, x, y);
    EXPECT_EQ(st.search.hovered, 2);
    ui::Panel& p = panel(kPanelSearch);
    p.hooks->wheel(p, x, y, -120);
    p.hooks->wheel(p, x, y, -240);
    EXPECT_EQ(st.search.first_visible, 2);
    p.hooks->wheel(p, x, y, 120);
    EXPECT_EQ(st.search.first_visible, 1);
    for (int i = 0; i < 60; ++i) p.hooks->wheel(p, x, y, -120);
    EXPECT_EQ(st.search.first_visible, 40 - rows);  // never past the last row

    // The thumb dragged to the top of the bar shows the first row.
    const int bar_x = l.list.left + kResultRowWidth + 4;
    const ScrollThumb thumb = result_thumb(st.search, l.list);
    mouse(kPanelSearch, gfx::kMouseDown, gfx::kMouseLeft, bar_x, l.list.top + thumb.top + 2);
    mouse(kPanelSearch, gfx::kMouseMove, gfx::kMouseLeft, bar_x, l.list.top - 50);
    mouse(kPanelSearch, gfx::kMouseUp, gfx::kMouseLeft, bar_x, l.list.top - 50);
    EXPECT_EQ(st.search.first_visible, 0);

    requests();
    std::tie(x, y) = row_point(3);
    click(kPanelSearch, x, y);
    click(kPanelSearch, x, y, gfx::kMouseRight);
    const std::vector<BoardRequest> posted = requests();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].kind, RequestKind::kJumpToCase);
    EXPECT_EQ(posted[0].target.where.slot, 3);
    EXPECT_TRUE(same_item(posted[0].target.key, made[3]->key));
    EXPECT_EQ(posted[1].kind, RequestKind::kContextMenu);
    EXPECT_EQ(posted[1].object, kMenuSearchResult);
    EXPECT_EQ(posted[1].target.where.slot, 3);

    // A press on a row and a release on another is no click.
    mouse(kPanelSearch, gfx::kMouseDown, gfx::kMouseLeft, x, y);
    mouse(kPanelSearch, gfx::kMouseUp, gfx::kMouseLeft, x, y + kResultRowHeight);
    EXPECT_TRUE(requests().empty());

    // Ctrl+Alt over a row starts a link from its Case.
    ASSERT_TRUE(post_link_start_at(kPanelSearch, x, y));
    const std::vector<BoardRequest> link = requests();
    ASSERT_EQ(link.size(), 1u);
    EXPECT_EQ(link[0].kind, RequestKind::kStartLink);
    EXPECT_EQ(link[0].target.where.slot, 3);
    EXPECT_EQ(link[0].object, kLinkFromSearch);
    EXPECT_FALSE(post_link_start_at(kPanelSearch, l.scope.x + 3, l.scope.y + 3));
}

TEST_F(Panels, SearchPanelMovesByItsTitleAndKeepsAtLeast300PixelsHeight) {
    toggle_search_panel(kWidth, kHeight);
    ui::Panel& p = panel(kPanelSearch);
    const gfx::Rect start = p.rect;
    mouse(kPanelSearch, gfx::kMouseDown, gfx::kMouseLeft, start.x + 20, start.y + 10);
    mouse(kPanelSearch, gfx::kMouseMove, gfx::kMouseLeft, start.x - 80, start.y + 40);
    mouse(kPanelSearch, gfx::kMouseUp, gfx::kMouseLeft, start.x - 80, start.y + 40);
    EXPECT_EQ(p.rect.x, start.x - 100);
    EXPECT_EQ(p.rect.y, start.y + 30);
    // The parts follow the panel.
    EXPECT_EQ(search_parts().input.x, p.rect.x + 15);

    const int edge = p.rect.bottom() - 2;
    struct Case {
        int to_y, height;
    } cases[] = {{edge + 100, start.h + 100}, {edge - 50, start.h - 50}, {p.rect.y + 10, 300}};
    for (const Case& c : cases) {
        const int from = p.rect.bottom() - 2;
        mouse(kPanelSearch, gfx::kMouseDown, gfx::kMouseLeft, p.rect.x + 100, from);
        mouse(kPanelSearch, gfx::kMouseMove, gfx::kMouseLeft, p.rect.x + 100, c.to_y);
        mouse(kPanelSearch, gfx::kMouseUp, gfx::kMouseLeft, p.rect.x + 100, c.to_y);
        EXPECT_EQ(p.rect.h, c.height) << c.to_y;
    }
}

TEST_F(Panels, TimelineShowsOnSelectionAtTheBottomAndAsksTheBoard) {
    Scene s;
    CaseRecord& a = s.add("a");
    CaseRecord& b = s.add("b", kKindEvent, 0, 0, 0, 1);
    s.link(a, b, true);
    ui::Panel& p = panel(kPanelTimeline);
    EXPECT_FALSE(p.visible);
    EXPECT_EQ(p.rect.y, kHeight - kTimelineHeight);
    EXPECT_EQ(p.rect.w, kWidth);
    timeline_panel_select(CaseRef{s.at(a), a.key});
    ASSERT_TRUE(p.visible);
    const Timeline& t = timeline_panel_state().timeline;
    ASSERT_EQ(t.entries.size(), 2u);
    EXPECT_EQ(t.curves.size(), 1u);

    // Entry b, raised, 24 pixels right of a, which stands 500 pixels in.
    const int bx = kSelectedX + kEntryStep + 3, by = p.rect.y + kEntryY - kRaise + 3;
    mouse(kPanelTimeline, gfx::kMouseMove, 0, bx, by);
    EXPECT_EQ(t.hovered, 1);
    click(kPanelTimeline, bx, by);
    click(kPanelTimeline, bx, by, gfx::kMouseRight);
    std::vector<BoardRequest> posted = requests();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].kind, RequestKind::kJumpToCase);
    EXPECT_EQ(posted[0].target.where.board, 1);
    EXPECT_EQ(posted[1].kind, RequestKind::kContextMenu);
    EXPECT_EQ(posted[1].object, kMenuTimelineEntry);
    ASSERT_TRUE(post_link_start_at(kPanelTimeline, bx, by));
    posted = requests();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].kind, RequestKind::kStartLink);
    EXPECT_EQ(posted[0].x, kSelectedX + kEntryStep + kIconBox / 2);
    EXPECT_EQ(posted[0].object, kLinkFromTimeline);

    // The wheel: eight frames of 48 pixels, only while the board is ready.
    p.hooks->wheel(p, bx, by, -120);
    set_load_progress(50.0f);
    step_analysis_panels();
    EXPECT_EQ(t.scroll, -kSelectedX);  // entry a, at 0, stands 500 pixels in
    set_load_progress(100.0f);
    for (int frame = 0; frame < 10; ++frame) step_analysis_panels();
    EXPECT_EQ(t.scroll, -kSelectedX + 8 * kScrollStep);

    timeline_panel_clear();
    EXPECT_TRUE(t.entries.empty());
    EXPECT_TRUE(p.visible);  // shown, empty, until the next selection
}

TEST_F(Panels, ReportOpensOnItsSubjectScrollsAndHandsKeyNodesToTheStrip) {
    Scene s;
    CaseRecord& subject = s.add("subject", kKindEvent, 1, 2);
    CaseRecord& l5a = s.add("l5a", kKindPerson, 2, 4);
    CaseRecord& l5b = s.add("l5b", kKindObject, 3, 4);
    s.link_both(subject, l5a, true);
    s.link_both(subject, l5b, true);
    timeline_panel_select(CaseRef{s.at(subject), subject.key});

    EXPECT_FALSE(open_report_panel(LocationRef{0, 0, 5, 0}, kWidth, kHeight));
    EXPECT_FALSE(panel(kPanelAssessment).visible);
    ASSERT_TRUE(open_report_panel(s.at(subject), kWidth, kHeight));
    // Opening brings the window to the front of the list.
    ui::Panel& p = panel(kPanelAssessment);
    ASSERT_TRUE(p.visible);
    EXPECT_EQ(&p, &view_state().panels.panels[0]);
    ReportPanelState& st = report_panel_state();
    EXPECT_EQ(st.caption, "\xC6\xC0\xB9\xC0 - subject");  // 评估 - subject
    EXPECT_EQ(st.page, 1);
    // Actual importance 2 + 2 + 2 = 6 makes the subject a pulsing key node.
    const Timeline& t = timeline_panel_state().timeline;
    EXPECT_DOUBLE_EQ(t.entries[0].importance, 6.0);

    // Tabs; the bubbles of page 2 are hovered, clicked and asked for a menu.
    const ReportPanelLayout l = report_panel_layout(p.rect);
    click(kPanelAssessment, l.tabs[1].x + 5, l.tabs[1].y + 5);
    ASSERT_EQ(st.page, 2);
    ASSERT_EQ(st.layout.bubbles.size(), 3u);
    const PageBubble& bubble = st.layout.bubbles[0];
    const int bx = l.page.x + bubble.cx, by = l.page.y + bubble.cy;
    mouse(kPanelAssessment, gfx::kMouseMove, 0, bx, by);
    EXPECT_EQ(st.hover.bubble, 0);
    requests();
    click(kPanelAssessment, bx, by, gfx::kMouseRight);
    mouse(kPanelAssessment, gfx::kMouseMove, 0, l.page.x + 2, l.page.y + 2);
    click(kPanelAssessment, l.page.x + 2, l.page.y + 2, gfx::kMouseRight);  // no bubble: no menu
    click(kPanelAssessment, bx, by);
    std::vector<BoardRequest> posted = requests();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].kind, RequestKind::kContextMenu);
    EXPECT_EQ(posted[0].object, kMenuAssessmentEntry);
    EXPECT_EQ(posted[1].kind, RequestKind::kJumpToCase);
    EXPECT_TRUE(same_item(posted[0].target.key, posted[1].target.key));
    CaseRef selected;
    ASSERT_TRUE(report_selected_case(&selected));
    EXPECT_TRUE(same_item(selected.key, posted[1].target.key));
    ASSERT_TRUE(post_link_start_at(kPanelAssessment, bx, by));
    posted = requests();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].kind, RequestKind::kStartLink);
    EXPECT_EQ(posted[0].x, bx);
    EXPECT_EQ(posted[0].y, by);
    EXPECT_EQ(posted[0].object, kLinkFromAssessment);

    // The wheel moves 100 pixels a notch, within the page.
    st.layout.height = l.page.h + 250;
    p.hooks->wheel(p, bx, by, -120);
    EXPECT_EQ(st.scroll, 100);
    p.hooks->wheel(p, bx, by, -240);
    EXPECT_EQ(st.scroll, 250);
    p.hooks->wheel(p, bx, by, 120);
    EXPECT_EQ(st.scroll, 150);
}

// A key node in view pulses every frame, but asks for a frame of its own
// only when the pulse thread's phase flips; an idle board stays cheap.
TEST_F(Panels, PulsingKeyNodesAskForAFrameOnlyWhenThePulsePhaseFlips) {
    Scene s;
    CaseRecord& key_node = s.add("L5", kKindEvent, 0, 4);
    timeline_panel_select(CaseRef{s.at(key_node), key_node.key});
    ASSERT_TRUE(open_report_panel(s.at(key_node), kWidth, kHeight));
    const Timeline& t = timeline_panel_state().timeline;
    ASSERT_TRUE(timeline_pulses(t.entries[0].importance));
    std::atomic<int32_t>& phase = the_app().BlinkPhase;
    step_analysis_panels();  // the first step takes the phase
    std::vector<bool> asked;
    std::vector<int> pulse;
    for (int frame = 0; frame < 4; ++frame) {
        if (frame == 2) phase.store(phase.load() ^ 1);
        view_state().redraw = false;
        step_analysis_panels();
        asked.push_back(view_state().redraw);
        pulse.push_back(t.pulse);
    }
    EXPECT_EQ(asked, (std::vector<bool>{false, false, true, false}));
    EXPECT_NE(pulse[0], pulse[1]);  // the alpha moves on every frame
}

TEST_F(Panels, RefreshComputesTheReportAgainAndClosesItWhenTheSubjectIsGone) {
    Scene s;
    CaseRecord& subject = s.add("subject");
    CaseRecord& other = s.add("other");
    ASSERT_TRUE(open_report_panel(s.at(subject), kWidth, kHeight));
    EXPECT_EQ(report_panel_state().report.members.size(), 1u);
    s.link(subject, other);
    refresh_analysis_panels(1u << kPanelLeftBar);  // not the report's bit
    EXPECT_EQ(report_panel_state().report.members.size(), 1u);
    refresh_analysis_panels(1u << kPanelAssessment);
    EXPECT_EQ(report_panel_state().report.members.size(), 2u);
    clear_tables();
    refresh_analysis_panels(0);
    EXPECT_FALSE(panel(kPanelAssessment).visible);
}

TEST_F(Panels, PanelsDrawWithoutTouchingPixelsOutsideThemselves) {
    Scene s;
    CaseRecord& a = s.add(kZhongWen);
    timeline_panel_select(CaseRef{s.at(a), a.key});
    toggle_search_panel(kWidth, kHeight);
    ui::text_field_set(&search_panel_state().field, kZhongWen);
    keys({ui::kKeyEnter});
    ASSERT_TRUE(open_report_panel(s.at(a), kWidth, kHeight));
    gfx::IMAGE* canvas = gfx::new_image(kWidth, kHeight);
    gfx::set_fill_color(0xFF010203, canvas);
    gfx::fill_bar(0, 0, kWidth, kHeight, canvas);
    ui::draw_panels(view_state().panels, canvas);
    // The corner between the strip and the panels stays as it was.
    const auto rgb = [&](int x, int y) { return gfx::get_pixel(x, y, canvas) & 0xFFFFFFu; };
    EXPECT_EQ(rgb(2, 2), 0x010203u);
    const ui::Panel& search = panel(kPanelSearch);
    EXPECT_NE(rgb(search.rect.x + 5, search.rect.y + 5), 0x010203u);
    EXPECT_NE(rgb(5, kHeight - 5), 0x010203u);
    gfx::delete_image(canvas);
}

}  // namespace
}  // namespace nd
