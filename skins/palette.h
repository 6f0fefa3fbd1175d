// The skin palette: one flat table of 0xAARRGGBB colours made of groups of
// four consecutive entries, one per skin in index order, so a colour is
// addressed as group base + skin index. Adding a group is one row in
// kPaletteGroups; the flat table and the overlap check follow from it.
#pragma once

#include <array>
#include <cstdint>

namespace nd {

struct PaletteGroup {
    int base;
    uint32_t colors[4];  // BLACK, CAKE, STARS, WHITE
};

// Group bases shared by several parts of the program.
constexpr int kPalPageBackground = 77;  // board and screen page
constexpr int kPalTopBar = 97;
constexpr int kPalOptionRule = 182;
constexpr int kPalOptionSelect = 217;
constexpr int kPalLinkText = 229;
constexpr int kPalPanelTitle = 381;
constexpr int kPalPanelBackground = 385;
constexpr int kPalPanelText = 397;
// The assessment report's status bar, one group per status (搁置, 良好,
// 严重, 警告): the light skin has brighter shades.
constexpr int kPalStatusBar = 401;  // status s at kPalStatusBar + 4 * s
// The timeline's mark above its selected entry.
constexpr int kPalTimelineMark = 417;

inline constexpr PaletteGroup kPaletteGroups[] = {
    {kPalPageBackground, {0xFF5A5C50, 0xFFFAF1ED, 0xFF2D393E, 0xFFF9FBFC}},
    {kPalTopBar, {0xFF161713, 0xFFE4D0C9, 0xFF0D1B22, 0xFFDEE0E0}},
    {kPalOptionRule, {0xFF7C7865, 0xFFBCBDBE, 0xFF405058, 0xFFBCBDBE}},
    {kPalOptionSelect, {0xFF957E2C, 0xFF000000, 0xFF448AB8, 0xFF0078D7}},
    {kPalLinkText, {0xFF7CBCEA, 0xFF7CBCEA, 0xFF7CBCEA, 0xFF0066B4}},
    {kPalPanelTitle, {0xFFD7D7CA, 0xFF010101, 0xFFFCFCFC, 0xFF010101}},
    {kPalPanelBackground, {0xFF1E1E1E, 0xFFF2E4DD, 0xFF0D1B22, 0xFFFCFCFC}},
    {kPalPanelText, {0xFFD7D7CA, 0xFF010101, 0xFFFCFCFC, 0xFF010101}},
    {kPalStatusBar + 0, {0xFF7F7F7F, 0xFF7F7F7F, 0xFF7F7F7F, 0xFFAEAEAE}},
    {kPalStatusBar + 4, {0xFF22B14C, 0xFF22B14C, 0xFF22B14C, 0xFF3FE06F}},
    {kPalStatusBar + 8, {0xFFB9001C, 0xFFB9001C, 0xFFB9001C, 0xFFC50F19}},
    {kPalStatusBar + 12, {0xFFC4BA00, 0xFFC4BA00, 0xFFC4BA00, 0xFFE8DC00}},
    // STARS has no value of its own in the design: its accent blue keeps
    // the mark apart from the strip's icons.
    {kPalTimelineMark, {0xFFC8C8C8, 0xFFC8C8C8, 0xFF7CBCEA, 0xFFC8C8C8}},
};

namespace palette_detail {

constexpr int table_size() {
    int size = 0;
    for (const PaletteGroup& g : kPaletteGroups) size = g.base + 4 > size ? g.base + 4 : size;
    return size;
}

// Entries that belong to no group stay 0. A group that overlaps another is a
// programming mistake and stops the build.
constexpr std::array<uint32_t, table_size()> build() {
    std::array<uint32_t, table_size()> table{};
    std::array<bool, table_size()> used{};
    for (const PaletteGroup& g : kPaletteGroups)
        for (int s = 0; s < 4; ++s) {
            if (used[size_t(g.base + s)]) throw "palette groups overlap";
            used[size_t(g.base + s)] = true;
            table[size_t(g.base + s)] = g.colors[s];
        }
    return table;
}

}  // namespace palette_detail

inline constexpr std::array<uint32_t, palette_detail::table_size()> kPalette =
    palette_detail::build();

// The colour of `group` for `skin` (0..3).
constexpr uint32_t palette_color(int group, int skin) {
    return kPalette[size_t(group + skin)];
}

}  // namespace nd
