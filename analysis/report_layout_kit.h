// Shared pieces of the report's page layouts. Internal to the layout files.
#pragma once

#include <string>

#include "analysis/report_layout.h"

namespace nd::report_kit {

// Page margins and sizes of text, in pixels.
inline constexpr int kLeft = 30;
inline constexpr int kHeadlineY = 20;
inline constexpr int kHeadlineSize = 20;
inline constexpr int kBodySize = 14;
inline constexpr int kSmallSize = 13;
inline constexpr int kIconSize = 12;

// Bubble colours by status.
inline constexpr uint32_t kBubbleColour[4] = {0xFF7F7F7F, 0xFF22B14C, 0xFFB9001C, 0xFFC4BA00};
inline constexpr uint32_t kLeaderColour = 0xFF6E6E6E;
inline constexpr uint32_t kTightColour = 0xFF00A2E8;

// printf into a std::string (GBK patterns and arguments).
std::string printf_text(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

class PageBuilder {
public:
    PageBuilder(PageLayout& out, TextMeasure text_measure) : m_out(out), m_measure(text_measure) {}

    int measure(const std::string& text, int size) const { return m_measure(text.c_str(), size); }

    void text(int x, int y, int size, Ink ink, std::string text, uint32_t argb = 0);
    void fill(int x0, int y0, int x1, int y1, Ink ink, uint32_t argb = 0);
    void pixel(int x, int y, uint32_t argb);
    void line(int x0, int y0, int x1, int y1, int thickness, int style, Ink ink, uint32_t argb = 0);
    void disc(int cx, int cy, int radius, uint32_t argb);
    void circle(int cx, int cy, int radius, Ink ink);
    void icon(int x, int y, CaseIcon icon);
    // A clickable name at (x, y) in `size`; returns the x where it ends.
    int name(int x, int y, int size, const LocationRef& at, const std::string& text);
    void headline(const std::string& text);

private:
    PageLayout& m_out;
    TextMeasure m_measure;
};

struct NameRef {
    LocationRef at;
    const CaseRecord* record;
};
std::vector<NameRef> member_refs(const Report& r, const std::vector<int>& members);

// Lays out names from (x, y) in `size`, wrapping at `right`: each name is
// its icon and its title, joined with "%s, " and the last written with
// "%s". Returns the y of the line after the last one used.
int name_list(PageBuilder& b, const std::vector<NameRef>& names, int x, int y, int right, int size,
              int line_height);

void layout_basics(const Report& r, PageBuilder& b, PageLayout& out);
void layout_chart(const Report& r, int page, PageBuilder& b, PageLayout& out);
void layout_resources(const Report& r, PageBuilder& b, PageLayout& out);
void layout_relations(const Report& r, PageBuilder& b, PageLayout& out);

}  // namespace nd::report_kit
