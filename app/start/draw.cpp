#include "app/start/draw.h"

#include <cstdio>

#include "app/start/texts.h"
#include "base/gbk.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "ui/dialog_frame.h"
#include "ui/text_field.h"

namespace nd::start {

namespace {

// 微软雅黑, the face of all start page text.
constexpr char kFace[] = "\xce\xa2\xc8\xed\xd1\xc5\xba\xda";

// The recent names are a light grey, so the list sits on a dark pane in
// every skin; the light skins get a slate of their own. [skin]
constexpr gfx::Color kListPane[4] = {0xFF2B2D26, 0xFF4A3F3B, 0xFF1B2A31, 0xFF3B4248};
constexpr gfx::Color kListPaneHover[4] = {0xFF3C3F35, 0xFF5E514C, 0xFF27404B, 0xFF4D565E};
constexpr gfx::Color kFailureText = 0xFFE0605A;
// A help link without an address is drawn in a neutral grey that reads on
// both the dark and the light skins.
constexpr gfx::Color kUnsetLink = 0xFF8A8F93;

void text(gfx::IMAGE* canvas, int x, int y, int size, gfx::Color color, const char* s) {
    gfx::set_font(size, 0, kFace, canvas);
    gfx::set_color(color, canvas);
    gfx::text_out(x, y, s, canvas);
}

void fill(gfx::IMAGE* canvas, const Rect& r, gfx::Color color) {
    gfx::set_fill_color(color, canvas);
    gfx::fill_bar(r.x, r.y, r.x + r.w, r.y + r.h, canvas);
}

// A picture centred on `r`, or the stand-in when the picture is missing.
template <typename StandIn>
void picture_or(gfx::IMAGE* canvas, const gfx::IMAGE* image, const Rect& r, StandIn stand_in) {
    if (!picture_loaded(image)) {
        stand_in();
        return;
    }
    gfx::putimage_srcalpha(canvas, const_cast<gfx::IMAGE*>(image), r.x + (r.w - image->width) / 2,
                           r.y + (r.h - image->height) / 2);
}

// A button's picture for its look (normal and hover), or a plain stand-in.
void draw_text_button(gfx::IMAGE* canvas, gfx::IMAGE* const (&images)[2], const ui::Button& b,
                      const char* label, int skin) {
    if (ui::draw_button_picture(canvas, b, images, 2)) return;
    const Rect& r = b.rect;
    const bool lit = ui::button_look(b) > 0;
    gfx::Color base = palette_color(kPalOptionSelect, skin);
    fill(canvas, r, lit ? (base & 0x00FFFFFF) | 0xFF000000 : base);
    int w = (gfx::set_font(20, 0, kFace, canvas), gfx::text_width(label, canvas));
    text(canvas, r.x + (r.w - w) / 2, r.y + (r.h - 20) / 2 - 2, 20, 0xFFFFFFFF, label);
}

void draw_window_buttons(gfx::IMAGE* canvas, const StartPictures& p, const StartState& s,
                         int skin) {
    gfx::Color ink = palette_color(kPalPanelTitle, skin);
    if (!ui::draw_button_picture(canvas, s.close, p.close, 3)) {
        const Rect& r = layout::kClose;
        if (ui::button_look(s.close)) fill(canvas, r, 0xFFE81123);
        gfx::set_color(ink, canvas);
        gfx::draw_line(r.x + 17, r.y + 9, r.x + 28, r.y + 20, canvas);
        gfx::draw_line(r.x + 28, r.y + 9, r.x + 17, r.y + 20, canvas);
    }
    if (!ui::draw_button_picture(canvas, s.minimise, p.minimise, 3)) {
        const Rect& r = layout::kMinimise;
        if (ui::button_look(s.minimise)) fill(canvas, r, palette_color(kPalOptionRule, skin));
        gfx::set_color(ink, canvas);
        gfx::draw_line(r.x + 17, r.y + 15, r.x + 28, r.y + 15, canvas);
    }
}

void draw_row(gfx::IMAGE* canvas, const StartPictures& p, const StartView& v, int index, int slot,
              int skin) {
    const StartState& s = *v.state;
    const RowFlags& flags = (*v.rows)[index];
    Rect r = ui::list_row_rect(s.list, slot);
    const bool hovered = s.list.hover == index;
    bool hot = hovered || s.list.selected == index;
    if (hot) {
        picture_or(canvas, p.row, r, [&] { fill(canvas, r, kListPaneHover[skin]); });
    }
    Rect mark{r.x + layout::kRowMarkDx, r.y + layout::kRowMarkDy, 16, 16};
    // The hovered row points at its name from the left and offers the
    // opening arrow on the right; an entry's own mark takes the left place.
    if (hovered) {
        if (!flags.in_use && !flags.locked) picture_or(canvas, p.row_icons[0], mark, [] {});
        Rect arrow{r.x + layout::kRowIconDx, r.y + layout::kRowIconDy, layout::kRowIconSize,
                   layout::kRowIconSize};
        picture_or(canvas, p.row_icons[1], arrow, [] {});
    }
    if (flags.in_use) {
        picture_or(canvas, p.in_use, mark, [&] { fill(canvas, mark, kFailureText); });
    } else if (flags.locked) {
        picture_or(canvas, p.lock, mark, [&] { fill(canvas, mark, 0xFFC3C3C3); });
    }
    // A long name is cut where the row's own marks begin.
    int name_right = r.x + layout::kRowIconDx - 8;
    if (flags.in_use) {
        gfx::set_font(14, 0, kFace, canvas);
        int w = gfx::text_width(start_text::kInUseMark, canvas);
        name_right -= w + 8;
        text(canvas, name_right + 8, r.y + 15, 14, kFailureText, start_text::kInUseMark);
    }
    gfx::set_viewport(r.x, r.y, name_right, r.y + r.h, 1, canvas);
    text(canvas, layout::kRowTextDx, layout::kRowTextDy, layout::kRowTextSize,
         layout::kRowTextColor, (*v.names)[index].c_str());
    gfx::set_viewport(0, 0, canvas->width, canvas->height, 1, canvas);
}

void draw_list(gfx::IMAGE* canvas, const StartPictures& p, const StartView& v, int skin) {
    const ui::ListView& list = v.state->list;
    fill(canvas, list.pane, kListPane[skin]);
    int count = static_cast<int>(v.rows->size());
    for (int slot = 0; slot < ui::list_visible_rows(list); ++slot) {
        int index = list.first_visible + slot;
        if (index >= count) break;
        draw_row(canvas, p, v, index, slot, skin);
    }
    // The thumb shows which part of the list the rows show.
    ui::draw_scroll_bar(canvas, list,
                        {palette_color(kPalOptionRule, skin), palette_color(kPalPanelText, skin)});
}

void draw_entry(gfx::IMAGE* canvas, const StartPictures& p, const StartState& s, int skin) {
    ui::DialogFrame frame;
    ui::dialog_frame_place(&frame, layout::kEntryBox);
    frame.title = s.entry.purpose == EntryPurpose::kNew ? start_text::kNewDialogTitle
                                                        : start_text::kOpenDialogTitle;
    frame.title_x = layout::kEntryPromptX - layout::kEntryBox.x;
    frame.title_y = layout::kEntryPromptY - layout::kEntryBox.y;
    frame.title_size = layout::kEntryPromptSize;
    frame.has_close = false;
    ui::draw_dialog_frame(canvas, frame, skin);
    text(canvas, layout::kEntryPromptX + 160, layout::kEntryPromptY, layout::kEntryPromptSize,
         palette_color(kPalPanelText, skin), start_text::kEntryPrompt);
    // Long paths show their end, where the file name is and the caret stays.
    ui::TextFieldLook look;
    look.box = layout::kEntryField;
    look.face = kFace;
    look.size = layout::kEntryTextSize;
    look.border = palette_color(kPalOptionRule, skin);
    ui::draw_text_field(canvas, s.entry.field, look, true);
    draw_text_button(canvas, p.ok, s.entry_ok, start_text::kOk, skin);
    draw_text_button(canvas, p.no, s.entry_cancel, start_text::kCancel, skin);
}

// The notice's rows: each line wrapped at the box width, never inside a
// character. When they do not all fit, whole lines are shown and the last
// row says how many more there are.
std::vector<std::string> notice_rows(gfx::IMAGE* canvas, const std::vector<std::string>& lines) {
    gfx::set_font(layout::kNoticeTextSize, 0, kFace, canvas);
    std::vector<std::string> rows;
    size_t whole_lines = 0, rows_of_whole = 0;
    for (const std::string& line : lines) {
        size_t start = 0;
        while (start < line.size()) {
            size_t end = start, len = 0;
            while ((len = gbk_char_length(line, end)) != 0) {
                std::string piece = line.substr(start, end + len - start);
                if (end > start &&
                    gfx::text_width(piece.c_str(), canvas) > layout::kNoticeTextWidth)
                    break;
                end += len;
            }
            rows.push_back(line.substr(start, end - start));
            start = end;
        }
        if (rows.size() <= static_cast<size_t>(layout::kNoticeLines) - 1) {
            ++whole_lines;
            rows_of_whole = rows.size();
        }
    }
    if (rows.size() <= static_cast<size_t>(layout::kNoticeLines)) return rows;
    rows.resize(rows_of_whole);
    rows.push_back(std::string(start_text::kMoreNotesBefore) +
                   std::to_string(lines.size() - whole_lines) + start_text::kMoreNotesAfter);
    return rows;
}

void draw_notice(gfx::IMAGE* canvas, const StartPictures& p, const StartState& s, int skin) {
    ui::DialogFrame frame;
    ui::dialog_frame_place(&frame, layout::kNoticeBox);
    frame.title = start_text::kNoticeTitle;
    frame.title_x = layout::kNoticeTitleX - layout::kNoticeBox.x;
    frame.title_y = layout::kNoticeTitleY - layout::kNoticeBox.y;
    frame.title_size = layout::kNoticeTitleSize;
    frame.has_close = false;
    ui::draw_dialog_frame(canvas, frame, skin);
    int y = layout::kNoticeTextY;
    for (const std::string& row : notice_rows(canvas, s.notice)) {
        text(canvas, layout::kNoticeTextX, y, layout::kNoticeTextSize,
             palette_color(kPalPanelText, skin), row.c_str());
        y += layout::kNoticeLinePitch;
    }
    draw_text_button(canvas, p.ok, s.notice_ok, start_text::kOk, skin);
}

}  // namespace

void draw_start_page(gfx::IMAGE* canvas, const StartPictures& p, const StartView& v, int skin) {
    const StartState& s = *v.state;
    gfx::set_bk_mode(gfx::kTransparent, canvas);
    gfx::set_viewport(0, 0, canvas->width, canvas->height, 1, canvas);
    fill(canvas, {0, 0, canvas->width, canvas->height}, palette_color(kPalPageBackground, skin));
    fill(canvas, {0, 0, canvas->width, layout::kClose.h}, palette_color(kPalTopBar, skin));
    draw_window_buttons(canvas, p, s, skin);

    if (picture_loaded(p.logo)) {
        gfx::putimage_srcalpha(canvas, p.logo, layout::kLogoX, layout::kLogoY);
    }
    text(canvas, layout::kTitleX, layout::kTitleY, layout::kTitleSize,
         palette_color(kPalPanelTitle, skin), start_text::kTitle);
    text(canvas, layout::kHeaderX, layout::kHeaderY, layout::kHeaderSize,
         palette_color(kPalPanelText, skin), start_text::kRecentHeader);
    draw_list(canvas, p, v, skin);

    draw_text_button(canvas, p.new_button, s.new_button, start_text::kNewButton, skin);
    draw_text_button(canvas, p.open_button, s.open_button, start_text::kOpenButton, skin);
    const char* links[2] = {start_text::kHelpUsage, start_text::kHelpInterface};
    for (int k = 0; k < layout::kHelpLinks; ++k) {
        const Rect& r = layout::kHelp[k];
        gfx::Color ink =
            v.has_link[k] ? palette_color(kPalLinkText, skin) : palette_color(kPalOptionRule, skin);
        text(canvas, r.x, r.y + 2, layout::kHelpSize, ink, links[k]);
        if (v.has_link[k] && s.help[k].hover) {
            int w = gfx::text_width(links[k], canvas);
            gfx::draw_line(r.x, r.y + r.h - 3, r.x + w, r.y + r.h - 3, canvas);
        }
    }
    if (picture_loaded(p.feature)) {
        gfx::putimage_srcalpha(canvas, p.feature, layout::kFeatureX, layout::kFeatureY);
    }

    if (s.mode == Mode::kLoading) {
        char line[600];
        std::snprintf(line, sizeof line, "%.1f%%   %s", v.progress, v.label.c_str());
        text(canvas, layout::kLoadingX, layout::kLoadingY, layout::kLoadingSize,
             palette_color(kPalPanelText, skin), line);
    } else if (selected_in_use(s, *v.rows)) {
        text(canvas, layout::kMessageX, layout::kMessageY, layout::kMessageSize, kFailureText,
             start_text::kInUseMessage);
    } else if (!s.message.empty()) {
        text(canvas, layout::kMessageX, layout::kMessageY, layout::kMessageSize, kFailureText,
             s.message.c_str());
        text(canvas, layout::kMessageX, layout::kDetailY, layout::kDetailSize,
             palette_color(kPalPanelText, skin), s.detail.c_str());
    }
    if (s.mode == Mode::kEntry) draw_entry(canvas, p, s, skin);
    if (s.mode == Mode::kNotice) draw_notice(canvas, p, s, skin);
}

}  // namespace nd::start
