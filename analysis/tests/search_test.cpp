// Search: matching, result order and scope, and the panel's query rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "analysis/search.h"
#include "analysis/search_draw.h"
#include "analysis/tests/scene.h"
#include "skins/pictures.h"

namespace nd {
namespace {

using testing::Scene;

constexpr char kZhongWen[] = "\xD6\xD0\xCE\xC4";  // 中文
constexpr char kXing[] = "\xD0\xCE";              // 形: the middle two bytes of 中文

bool contains(const std::string& field, const std::string& query) {
    return field_contains(field.data(), field.size(), query.data(), query.size());
}

void attach(CaseRecord& r, int slot, int32_t kind, const char* name, const char* path) {
    r.attachments[slot].kind = kind;
    std::strcpy(r.attachments[slot].name, name);
    std::strcpy(r.attachments[slot].path, path);
}

std::vector<std::pair<int, int>> kinds_and_slots(const std::vector<SearchResult>& results) {
    std::vector<std::pair<int, int>> out;
    for (const SearchResult& r : results) out.push_back({r.kind, r.slot});
    return out;
}

TEST(Search, MatchesStartOnCharacterBoundaries) {
    struct Case {
        std::string field, query;
        bool found;
    } cases[] = {
        {kZhongWen, kXing, false},                        // trail + lead spell 形
        {"\xD0\xCE\xD7\xB4", kXing, true},                // 形状: written there
        {std::string("ab") + kXing, kXing, true},         // after single bytes
        {std::string(kZhongWen) + kXing, kXing, true},    // a false run, then a true one
        {"\xD6\xD0\xD6\xD0\xD6\xD0", "\xD0\xD6", false},  // 中中中: every run is false
        {std::string("x") + kZhongWen, "\xD6\xD0", true},
        {"\xD6", "\xD6", true},       // a lone lead byte at the end
        {"Report", "report", false},  // case-sensitive
        {"Report", "Rep", true},
        {"abc", "abcd", false},
        {"abc", "", false},  // an empty query never matches
        {"a\xA3\xA1"
         "b",
         "\xA3\xA1", true},  // full-width ！ is not folded to !
        {"a!b", "\xA3\xA1", false},
    };
    for (const Case& c : cases) EXPECT_EQ(contains(c.field, c.query), c.found) << c.query;
}

TEST(Search, TitleBeatsContentBeatsAttachment) {
    Scene s;
    CaseRecord& both = s.add("plan A");
    std::strcpy(s.body(both).text, "the plan");
    CaseRecord& content = s.add("other");
    std::strcpy(s.body(content).text, "line one\nthe plan\n");
    CaseRecord& file = s.add("files");
    attach(file, 3, kAttachFile, "plan.txt", "/home/u/plan.txt");
    attach(file, 7, kAttachImage, "0000ABCD.jpg", "1\\img\\2024\\plan");
    CaseRecord& freed = s.add("freed");
    attach(freed, 0, kAttachFree, "plan.txt", "plan");  // a free slot's leftovers do not count
    CaseRecord& none = s.add("Plan");                   // capital P
    (void)none;
    std::vector<SearchResult> out;
    search_boards("plan", 0, 0, out);
    EXPECT_EQ(kinds_and_slots(out),
              (std::vector<std::pair<int, int>>{
                  {kMatchTitle, 0}, {kMatchContent, 1}, {kMatchAttachment, 2}}));
}

TEST(Search, ContentIsSearchedToItsEnd) {
    Scene s;
    CaseRecord& c = s.add("c");
    std::memset(s.body(c).text, 'x', 65000);
    std::memcpy(s.body(c).text + 64990, "needle", 6);
    std::vector<SearchResult> out;
    search_boards("needle", 0, 0, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, kMatchContent);
    // Bytes after the terminating zero are not content.
    std::memcpy(s.body(c).text + 65100, "hidden", 6);
    out.clear();
    search_boards("hidden", 0, 0, out);
    EXPECT_TRUE(out.empty());
}

TEST(Search, YearInAnImagePathIsAnAttachmentMatch) {
    Scene s;
    CaseRecord& c = s.add("photos of the site");
    std::strcpy(s.body(c).text, "\n**img:00\n\n");
    attach(c, 0, kAttachImage, "5F3A9C21.jpg", "1\\img\\2023\\11\\05\\14_22_09_5F3A9C21.jpg");
    std::vector<SearchResult> out;
    search_boards("2023", 0, 0, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, kMatchAttachment);
}

TEST(Search, ScopeAndOrder) {
    Scene s;
    s.add("k1", kKindEvent, 0, 0, 0, 2);
    s.add("no", kKindEvent, 0, 0, 0, 0);
    s.add("k2", kKindEvent, 0, 0, 0, 0);
    s.add("k3", kKindEvent, 0, 0, 0, 5);
    s.add("k4", kKindEvent, 0, 0, 1, 0);  // another group
    SearchState st;
    st.query = "k";
    EXPECT_EQ(run_search(st, 0, 2), 1);
    st.scope = kScopeAllBoards;
    EXPECT_EQ(run_search(st, 0, 2), 3);
    std::vector<int> boards;
    for (const SearchResult& r : st.results) boards.push_back(r.board);
    EXPECT_EQ(boards, (std::vector<int>{0, 2, 5}));
    EXPECT_EQ(result_caption(st), "3 \xB8\xF6\xBD\xE1\xB9\xFB");

    // No match clears the list in either scope; an empty query runs nothing.
    st.first_visible = 2;
    st.query = "zzz";
    EXPECT_EQ(run_search(st, 0, 2), 0);
    EXPECT_TRUE(st.results.empty());
    EXPECT_EQ(result_caption(st), "0 \xB8\xF6\xBD\xE1\xB9\xFB");
    st.query = "k";
    run_search(st, 0, 2);
    st.query.clear();
    EXPECT_EQ(run_search(st, 0, 2), -1);
    EXPECT_EQ(st.results.size(), 3u);
}

std::vector<std::string> entries(const SearchHistory& h) {
    std::vector<std::string> out;
    for (int i = 0; i < h.count; ++i) out.push_back(h.entries[i]);
    return out;
}

TEST(Search, HistoryRules) {
    SearchHistory h;
    for (const char* q : {"a", "b", "c", "d", "e"}) history_record(h, q);
    using V = std::vector<std::string>;
    EXPECT_EQ(entries(h), (V{"e", "d", "c", "b", "a"}));
    history_record(h, "c");  // already held: nothing moves
    EXPECT_EQ(entries(h), (V{"e", "d", "c", "b", "a"}));
    history_record(h, "f");  // a sixth drops the oldest
    EXPECT_EQ(entries(h), (V{"f", "e", "d", "c", "b"}));

    // Entries hold 63 bytes, cut before a character that would not fit; a long
    // query repeated is recognised in its cut form.
    std::string long_query = std::string(62, 'q') + kZhongWen;
    history_record(h, long_query);
    EXPECT_EQ(entries(h)[0], std::string(62, 'q'));
    history_record(h, long_query);
    EXPECT_EQ(entries(h)[1], "f");

    // Search records the query it runs.
    Scene s;
    SearchState st;
    st.query = "x";
    run_search(st, 0, 0);
    EXPECT_EQ(entries(st.history), V{"x"});
}

TEST(Search, PasteIsCutWithoutSplittingCharacters) {
    struct Case {
        std::string text;
        size_t used;
        size_t inserted;
    } cases[] = {
        {std::string(300, 'p'), 0, 255},
        {std::string(254, 'p') + kZhongWen, 0, 254},  // 中 would end at byte 256
        {std::string(253, 'p') + kZhongWen, 0, 255},  // 中 ends at 255, 文 would not fit
        {std::string(300, 'p'), 1000, 23},            // the box holds 1,023 bytes
        {std::string(10, 'p'), 1023, 0},
        {std::string(kZhongWen), 1022, 0},
        {std::string("\xD6"), 0, 1},  // a lone lead byte is one byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(paste_length(c.text.data(), c.text.size(), c.used), c.inserted)
            << c.text.size() << " " << c.used;
}

TEST(SearchList, RowsThumbAndHover) {
    Scene s;
    for (int i = 0; i < 40; ++i) s.add("hit", kKindEvent, uint8_t(i % 4));
    SearchState st;
    st.query = "hit";
    ASSERT_EQ(run_search(st, 0, 0), 40);
    const ResultListView view{100, 50, 300, 0};  // ten rows of 30
    EXPECT_EQ(visible_result_rows(view), 10);
    // Thumb: 300 / (40 / 10) = 75, moving with the first visible row.
    EXPECT_EQ(result_thumb(st, view).height, 75);
    EXPECT_EQ(result_thumb(st, view).top, 0);
    st.first_visible = 20;
    EXPECT_EQ(result_thumb(st, view).top, 150);
    EXPECT_EQ(result_row_at(st, view, 100, 50), 20);
    EXPECT_EQ(result_row_at(st, view, 309, 349), 29);
    EXPECT_EQ(result_row_at(st, view, 310, 60), -1);  // the scroll bar is not a row
    st.first_visible = 35;
    EXPECT_EQ(result_row_at(st, view, 150, 50 + 5 * 30), -1);  // below the last result
    // A short list's thumb fills the bar.
    st.results.resize(3);
    st.first_visible = 0;
    EXPECT_EQ(result_thumb(st, view).height, 300);

    // The hovered row is drawn on the skin's highlight.
    install_skin_pictures();
    CaseIcons icons;
    load_case_icons(icons);
    gfx::IMAGE* canvas = gfx::new_image(400, 400);
    st.hovered = 1;
    draw_result_list(st, view, icons, canvas);
    EXPECT_EQ(gfx::get_pixel(300, 50 + 30 + 2, canvas) & 0xFFFFFF, 0x957E2Cu);
    EXPECT_NE(gfx::get_pixel(300, 50 + 2, canvas) & 0xFFFFFF, 0x957E2Cu);
    gfx::delete_image(canvas);
    free_case_icons(icons);
}

}  // namespace
}  // namespace nd
