#include "analysis/report_layout.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "analysis/report_layout_kit.h"
#include "analysis/report_texts.h"
#include "gfx/gfx.h"

namespace nd {

namespace report_kit {

std::string printf_text(const char* pattern, ...) {
    va_list args, again;
    va_start(args, pattern);
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, pattern, args);
    va_end(args);
    std::string out(n > 0 ? size_t(n) : 0, '\0');
    if (n > 0) std::vsnprintf(out.data(), out.size() + 1, pattern, again);
    va_end(again);
    return out;
}

void PageBuilder::text(int x, int y, int size, Ink ink, std::string text, uint32_t argb) {
    m_out.items.push_back(
        {ItemKind::kText, x, y, 0, 0, size, 0, ink, argb, CaseIcon::kShelved, std::move(text)});
}

void PageBuilder::fill(int x0, int y0, int x1, int y1, Ink ink, uint32_t argb) {
    m_out.items.push_back({ItemKind::kFill, x0, y0, x1, y1, 0, 0, ink, argb, {}, {}});
}

void PageBuilder::pixel(int x, int y, uint32_t argb) {
    m_out.items.push_back({ItemKind::kPixel, x, y, 0, 0, 0, 0, Ink::kFixed, argb, {}, {}});
}

void PageBuilder::line(int x0, int y0, int x1, int y1, int thickness, int style, Ink ink,
                       uint32_t argb) {
    m_out.items.push_back(
        {ItemKind::kLine, x0, y0, x1, y1, thickness, uint8_t(style), ink, argb, {}, {}});
}

void PageBuilder::disc(int cx, int cy, int radius, uint32_t argb) {
    m_out.items.push_back({ItemKind::kDisc, cx, cy, radius, 0, 0, 0, Ink::kFixed, argb, {}, {}});
}

void PageBuilder::circle(int cx, int cy, int radius, Ink ink) {
    m_out.items.push_back({ItemKind::kCircle, cx, cy, radius, 0, 1, 0, ink, 0, {}, {}});
}

void PageBuilder::icon(int x, int y, CaseIcon icon) {
    m_out.items.push_back({ItemKind::kIcon, x, y, 0, 0, 0, 0, Ink::kFixed, 0, icon, {}});
}

int PageBuilder::name(int x, int y, int size, const LocationRef& at, const std::string& text) {
    int w = measure(text, size);
    this->text(x, y, size, Ink::kText, text);
    m_out.names.push_back({x, y, w, size + 2, at});
    return x + w;
}

void PageBuilder::headline(const std::string& text) {
    this->text(kLeft, kHeadlineY, kHeadlineSize, Ink::kTitle, text);
}

std::vector<NameRef> member_refs(const Report& r, const std::vector<int>& members) {
    std::vector<NameRef> out;
    for (int m : members) out.push_back({r.members[size_t(m)].at, r.members[size_t(m)].record});
    return out;
}

int name_list(PageBuilder& b, const std::vector<NameRef>& names, int x, int y, int right, int size,
              int line_height) {
    int cx = x;
    for (size_t i = 0; i < names.size(); ++i) {
        std::string title = case_title(*names[i].record);
        bool last = i + 1 == names.size();
        std::string joined =
            printf_text(last ? report_text::kNameLast : report_text::kNameJoin, title.c_str());
        int w = kIconSize + 3 + b.measure(joined, size);
        if (cx > x && cx + w > right) {
            cx = x;
            y += line_height;
        }
        b.icon(cx, y + (size + 2 - kIconSize) / 2, case_icon(*names[i].record));
        int end = b.name(cx + kIconSize + 3, y, size, names[i].at, title);
        if (!last) b.text(end, y, size, Ink::kText, joined.substr(title.size()));
        cx += w;
    }
    return y + line_height;
}

}  // namespace report_kit

int measure_report_text(const char* gbk, int size) {
    static gfx::IMAGE* scratch = gfx::new_image(1, 1);
    gfx::set_font(size, 0, report_text::kFace, scratch);
    return gfx::text_width(gbk, scratch);
}

void layout_report_page(const Report& r, int page, int width, PageLayout& out,
                        TextMeasure measure) {
    out = PageLayout{};
    out.page = page;
    out.width = width;
    if (r.members.empty() || page < 1 || page > kReportPages) return;
    report_kit::PageBuilder b(out, measure);
    if (page == 1)
        report_kit::layout_basics(r, b, out);
    else if (page <= 5)
        report_kit::layout_chart(r, page, b, out);
    else if (page == 6)
        report_kit::layout_resources(r, b, out);
    else
        report_kit::layout_relations(r, b, out);
}

int report_bubble_at(const PageLayout& layout, int x, int y) {
    for (int i = int(layout.bubbles.size()) - 1; i >= 0; --i) {
        const PageBubble& bub = layout.bubbles[size_t(i)];
        int64_t dx = x - bub.cx, dy = y - bub.cy;
        if (dx * dx + dy * dy < int64_t(bub.radius) * bub.radius) return i;
    }
    return -1;
}

int report_name_at(const PageLayout& layout, int x, int y) {
    for (size_t i = 0; i < layout.names.size(); ++i) {
        const PageName& n = layout.names[i];
        if (x >= n.x && x < n.x + n.w && y >= n.y && y < n.y + n.h) return int(i);
    }
    return -1;
}

std::string bubble_hover_text(const Report& r, const PageBubble& bubble) {
    const ReportMember& m = r.members[size_t(bubble.member)];
    return report_kit::printf_text(report_text::kBubbleHover, case_title(*m.record).c_str(),
                                   m.actual());
}

}  // namespace nd
