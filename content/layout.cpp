#include "content/layout.h"

#include <cstring>

#include "base/gbk.h"

namespace nd::content {

namespace {

// Room a character needs before it is placed: a single-byte character and
// the line feed need 7 pixels, a two-byte character 14.
constexpr int kNarrowRoom = 7;
constexpr int kWideRoom = 14;

// "图片消失", the first eight bytes of "图片消失了", GBK.
constexpr char kVanished[] = "\xCD\xBC\xC6\xAC\xCF\xFB\xCA\xA7";

void reset_line(DisplayLine& line, int start) {
    line.kind = kLineText;
    line.start = start;
    line.length = 0;
    line.slot = -1;
    line.char_count = 0;
    line.chars[0] = -1;
    line.width = line.height = 0;
    line.shown_width = line.shown_height = 0;
    line.rows = 1;
}

// Cuts one text line from `pos`. Control bytes other than the line feed
// become spaces in the text itself. Returns the offset after the line.
int cut_text_line(char* text, int length, int pos, const Metrics& m, DisplayLine& line) {
    int remaining = m.box_width;
    int bytes = 0;
    while (pos + bytes < length && line.char_count < kMaxLineChars) {
        unsigned char c = static_cast<unsigned char>(text[pos + bytes]);
        if (c == '\n') {
            if (remaining < kNarrowRoom) break;
            line.chars[line.char_count++] = static_cast<int16_t>(bytes++);
            break;
        }
        if (c < 0x20) {
            text[pos + bytes] = ' ';
            c = ' ';
        }
        // A lead byte whose partner is not a trail byte (a line feed, the
        // end) is shown as a byte of its own, so a pair never swallows a
        // line feed or runs past the text.
        bool pair = gbk_lead_byte(c) && pos + bytes + 1 < length &&
                    gbk_trail_byte(static_cast<unsigned char>(text[pos + bytes + 1]));
        int size = pair ? 2 : 1;
        if (remaining < (pair ? kWideRoom : kNarrowRoom) || bytes + size > kMaxLineBytes) break;
        line.chars[line.char_count++] = static_cast<int16_t>(bytes);
        bytes += size;
        remaining -= size * m.cell_width;
    }
    // A box too narrow for even one character still advances a character per
    // line, so the layout always ends.
    if (bytes == 0 && pos < length) {
        bool pair = gbk_lead_byte(static_cast<unsigned char>(text[pos])) && pos + 1 < length &&
                    gbk_trail_byte(static_cast<unsigned char>(text[pos + 1]));
        line.chars[line.char_count++] = 0;
        bytes = pair ? 2 : 1;
    }
    line.chars[line.char_count] = -1;
    line.length = bytes;
    line.width = bytes * m.cell_width;
    line.height = m.row_height;
    return pos + bytes;
}

// Overwrites a vanished image's marker, up to its line feed, with "图片消失"
// (cut to whole characters, padded with spaces for a short marker).
void overwrite_marker(char* text, int at, int marker_length) {
    int room = marker_length - 1;
    int n = room >= 8 ? 8 : (room / 2) * 2;
    std::memcpy(text + at, kVanished, static_cast<size_t>(n));
    for (int i = n; i < room; ++i) text[at + i] = ' ';
}

// Sets up an image line. Returns false when the image is gone and the
// marker was overwritten, after which the layout starts again.
bool image_line(Document doc, const std::string& root, const Metrics& m, HeldPreviews& previews,
                PreviewSource& source, DisplayLine& line) {
    const Attachment& a = doc.record->attachments[line.slot];
    const gfx::IMAGE* image = nullptr;
    int status = kPreviewNoImage;
    if (a.kind == kAttachImage && a.path[0] != '\0')
        status = previews.get(line.slot, a.path, root, source, &image);
    if (status == kPreviewNoImage) {
        overwrite_marker(doc.body->text, line.start, line.length);
        // Only an image slot is freed: a marker that names a slot of another
        // kind must not take that attachment with it.
        if (a.kind == kAttachImage) {
            previews.release(line.slot);
            free_slot(*doc.record, line.slot);
        }
        return false;
    }
    line.kind = kAttachImage;
    if (status != kPreviewOk || !image) {
        // The file is there but no preview can be made: one row, no picture.
        line.height = line.shown_height = m.row_height;
        line.rows = 1;
        return true;
    }
    line.width = image->width;
    line.height = image->height;
    // A preview taller than the box is reduced by a whole factor that makes
    // it fit, so every picture can be seen whole.
    int k = 1;
    if (m.box_height > 0 && image->height > m.box_height)
        k = (image->height + m.box_height - 1) / m.box_height;
    line.shown_width = image->width / k;
    line.shown_height = image->height / k;
    line.rows = line.shown_height / (m.row_height > 0 ? m.row_height : 1) + 1;
    return true;
}

// One pass of the layout; false when an image vanished and the text changed.
bool lay_out_once(Document doc, const std::string& root, const Metrics& m, HeldPreviews& previews,
                  PreviewSource& source, Layout& out) {
    char* text = doc.body->text;
    const int length = out.length;
    int pos = 0, row = 0;
    out.line_count = 0;
    while (pos < length && out.line_count < kMaxDisplayLines) {
        DisplayLine& line = out.lines[out.line_count];
        reset_line(line, pos);
        line.first_row = row;
        int prefix_kind = 0, marker_length = 0;
        int slot = (pos == 0 || text[pos - 1] == '\n')
                       ? parse_marker(text + pos, length - pos, &prefix_kind, &marker_length)
                       : -1;
        if (slot >= 0) {
            line.slot = slot;
            line.length = marker_length;
            const Attachment& a = doc.record->attachments[slot];
            int name_length = static_cast<int>(strnlen(a.name, sizeof a.name));
            if (prefix_kind == kAttachImage) {
                if (!image_line(doc, root, m, previews, source, line)) return false;
            } else if (prefix_kind == kAttachFile) {
                line.kind = kAttachFile;
                line.width = line.shown_width = name_length * m.cell_width;
            } else {
                line.kind = a.kind == kAttachLinkPending ? kAttachLinkPending : kAttachLink;
                int shown = line.kind == kAttachLinkPending ? 11 : name_length;
                line.width = line.shown_width = shown * m.cell_width;
            }
            if (line.kind != kAttachImage) line.height = line.shown_height = m.row_height;
            pos += marker_length;
        } else {
            pos = cut_text_line(text, length, pos, m, line);
        }
        row += line.rows;
        ++out.line_count;
    }
    out.rows = row;
    out.end = pos;
    return true;
}

}  // namespace

void lay_out(Document doc, const std::string& root, const Metrics& metrics, HeldPreviews& previews,
             PreviewSource& source, LayoutMode mode, Layout& out) {
    if (mode != LayoutMode::kNormal) previews.release_all();
    out.length = normalise_end(*doc.body);
    // Every pass that fails has turned one marker into text, so this ends.
    while (!lay_out_once(doc, root, metrics, previews, source, out)) {
    }
}

namespace {

// The last line whose `field` is at most `value` (the first line when none
// is): lines are in text and row order, so a binary search finds it.
int last_line_at_or_before(const Layout& layout, int DisplayLine::*field, int value) {
    if (layout.line_count == 0) return -1;
    int lo = 0, hi = layout.line_count - 1;
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (layout.lines[mid].*field <= value)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

}  // namespace

int line_of_offset(const Layout& layout, int offset) {
    return last_line_at_or_before(layout, &DisplayLine::start, offset);
}

int line_of_row(const Layout& layout, int row) {
    return last_line_at_or_before(layout, &DisplayLine::first_row, row);
}

}  // namespace nd::content
