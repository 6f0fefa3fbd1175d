// The content layout over arbitrary bytes: the input's first three bytes
// choose the text box and which attachment slots are in use; the rest is
// the content as it might stand in a damaged or foreign "_BODY" file, with
// or without its NUL.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "content/layout.h"
#include "content/previews.h"
#include "gfx/gfx.h"
#include "store/locks.h"
#include "tools/fuzz/entries.h"

namespace nd::fuzz {

namespace {

// Previews without files: images of even slots have one, odd ones none.
class Previews final : public content::PreviewSource {
public:
    int load_preview(const std::string& image_path, gfx::IMAGE** out) override {
        if (image_path.empty() || (image_path.back() - '0') % 2) return content::kPreviewNoImage;
        *out = gfx::new_image(40 + static_cast<int>(image_path.size() % 7) * 60, 30);
        return content::kPreviewOk;
    }
};

void check_layout(const content::Layout& out, int length) {
    fuzz_require(out.line_count >= 0 && out.line_count <= content::kMaxDisplayLines,
                 "the display line count");
    fuzz_require(out.end >= 0 && out.end <= length + 1, "the laid-out end");
    int at = 0;
    for (int i = 0; i < out.line_count; ++i) {
        const content::DisplayLine& l = out.lines[i];
        fuzz_require(l.start == at && l.length >= 0 && l.end() <= length,
                     "display lines follow each other inside the text");
        at = l.end();
        if (!l.is_text()) continue;
        fuzz_require(l.char_count >= 0 && l.char_count <= content::kMaxLineChars,
                     "characters of a line");
        fuzz_require(l.chars[l.char_count] == -1, "a line's character table ends in -1");
        for (int c = 0; c < l.char_count; ++c)
            fuzz_require(l.chars[c] >= 0 && l.chars[c] < l.length, "a character inside its line");
    }
}

}  // namespace

void content_layout_one(const uint8_t* data, size_t size) {
    if (size < 3) return;
    auto record = std::make_unique<CaseRecord>();
    auto body = std::make_unique<CaseBody>();
    std::memset(record.get(), 0, sizeof *record);
    std::memset(body.get(), 0, sizeof *body);
    static const int32_t kKinds[] = {kAttachFree, kAttachImage, kAttachFile, kAttachLink,
                                     kAttachLinkPending, 0x7777};
    for (int slot = 0; slot < kAttachmentSlots; ++slot) {
        Attachment& a = record->attachments[slot];
        a.kind = kKinds[(data[2] + slot) % 6];
        std::snprintf(a.name, sizeof a.name, "%08X.jpg", slot);
        std::snprintf(a.path, sizeof a.path, "1\\img\\%d", slot);
    }
    std::memcpy(body->text, data + 3, std::min(size - 3, sizeof body->text));

    content::Metrics metrics;
    metrics.box_width = data[0] * 4;
    metrics.box_height = data[1] * 4;
    content::HeldPreviews held;
    Previews source;
    auto out = std::make_unique<content::Layout>();
    std::lock_guard<std::mutex> hold(StorageLock);
    const content::Document doc{record.get(), body.get()};
    for (content::LayoutMode mode : {content::LayoutMode::kFull, content::LayoutMode::kNormal,
                                     content::LayoutMode::kReload}) {
        content::lay_out(doc, "/fuzz/ws/", metrics, held, source, mode, *out);
        const int length = static_cast<int>(strnlen(body->text, sizeof body->text));
        fuzz_require(length < static_cast<int>(sizeof body->text), "the text keeps its NUL");
        check_layout(*out, length);
        if (out->line_count > 0) {
            const int last = content::line_of_offset(*out, length);
            fuzz_require(last >= 0 && last < out->line_count, "the line of the end");
            fuzz_require(content::line_of_row(*out, out->rows + 5) < out->line_count,
                         "the line of a row");
        }
    }
}

}  // namespace nd::fuzz
