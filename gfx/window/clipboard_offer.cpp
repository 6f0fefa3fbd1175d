#include "gfx/window/clipboard_offer.h"

#include <algorithm>
#include <cctype>

#include "base/gbk.h"
#include "gfx/picture.h"
#include "gfx/window/uri_list.h"

namespace gfx::clip {

namespace {

// Text targets in order of preference; text/plain without a charset is
// taken as UTF-8, which is what desktop programs put there.
struct TextTarget {
    const char* name;
    bool latin1;
};
constexpr TextTarget kTextTargets[] = {
    {"UTF8_STRING", false},
    {"text/plain;charset=utf-8", false},
    {"text/plain", false},
    {"STRING", true},
};
constexpr const char* kPictureTargets[] = {"image/png", "image/bmp", "image/jpeg"};
constexpr const char* kCopiedFilesTargets[] = {"x-special/gnome-copied-files",
                                               "x-special/mate-copied-files"};
constexpr const char* kUriListTarget = "text/uri-list";
// Another desktop marks a cut with "1" in a target of its own beside the list.
constexpr const char* kCutSelectionTarget = "application/x-kde-cutselection";

// "剪贴板中的图片无法读取" (the picture on the clipboard cannot be read)
constexpr const char* kBadPictureReason =
    "\xBC\xF4\xCC\xF9\xB0\xE5\xD6\xD0\xB5\xC4\xCD\xBC\xC6\xAC\xCE\xDE\xB7\xA8\xB6\xC1\xC8\xA1";

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The offered target matching `name` (MIME names compare without case and
// without spaces around the parameter), or nullptr.
const std::string* offered(const Offer& offer, std::string_view name) {
    std::string want = lower(name);
    for (const std::string& target : offer.targets) {
        std::string have = lower(target);
        have.erase(std::remove(have.begin(), have.end(), ' '), have.end());
        if (have == want) return &target;
    }
    return nullptr;
}

bool fetch(const Offer& offer, std::string_view name, std::string* bytes) {
    const std::string* target = offered(offer, name);
    return target && offer.fetch && offer.fetch(*target, bytes);
}

bool has_file_list(const Offer& offer) {
    if (offered(offer, kUriListTarget)) return true;
    for (const char* name : kCopiedFilesTargets) {
        if (offered(offer, name)) return true;
    }
    return false;
}

// The offered file list, or an empty one when there is none or it is
// offered for linking only.
ClipboardContent read_files(const Offer& offer) {
    ClipboardContent files;
    files.kind = kClipFiles;
    std::string bytes;
    bool have_effect = false;
    for (const char* name : kCopiedFilesTargets) {
        if (fetch(offer, name, &bytes)) {
            files.effect = parse_copied_files(bytes, &files.files, kClipMaxFiles);
            have_effect = true;
            break;
        }
    }
    if (files.files.empty() && fetch(offer, kUriListTarget, &bytes)) {
        files.files = parse_uri_list(bytes, kClipMaxFiles);
    }
    // Without a copied-files target a list counts as copied.
    if (!have_effect && fetch(offer, kCutSelectionTarget, &bytes) && bytes.substr(0, 1) == "1") {
        files.effect = FileEffect::kCut;
    }
    if (files.effect == FileEffect::kLink) files.files.clear();
    return files;
}

bool read_text(const Offer& offer, ClipboardContent* out) {
    for (const TextTarget& target : kTextTargets) {
        std::string bytes;
        if (!fetch(offer, target.name, &bytes)) continue;
        out->text = gbk_from_clipboard(bytes, target.latin1);
        if (out->text.empty()) return false;
        out->kind = kClipText;
        return true;
    }
    return false;
}

// A pasted picture ends up as a JPEG, which has no transparency. Transparent
// parts are usually black underneath and would turn black; web pages and
// editors show them over white, so the picture keeps that look.
void flatten_on_white(std::vector<uint32_t>* pixels) {
    for (uint32_t& pixel : *pixels) {
        uint32_t alpha = pixel >> 24;
        uint32_t out = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            uint32_t c = (pixel >> shift) & 0xFF;
            // c * a + 255 * (255 - a), divided by 255 with rounding.
            uint32_t mixed = (c * alpha + 255 * (255 - alpha) + 127) / 255;
            out |= mixed << shift;
        }
        pixel = out;
    }
}

// 1 read, 0 nothing offered, -1 offered but undecodable.
int read_picture(const Offer& offer, ClipboardContent* out) {
    int result = 0;
    for (const char* name : kPictureTargets) {
        std::string bytes;
        if (!fetch(offer, name, &bytes)) continue;
        result = -1;
        OwnedImage image(new_image());
        if (getimage_bytes(image.get(), reinterpret_cast<const uint8_t*>(bytes.data()),
                           bytes.size()) != kOk) {
            continue;
        }
        flatten_on_white(&image->pixels);
        out->image = std::move(image);
        out->kind = kClipBitmap;
        return 1;
    }
    return result;
}

// UTF-8 to ISO-8859-1; characters beyond it become '?'.
std::string latin1_of(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char lead = static_cast<unsigned char>(utf8[i]);
        size_t len = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 4;
        if (len == 2 && i + 1 < utf8.size() && lead <= 0xC3) {
            out.push_back(static_cast<char>(((lead & 0x1F) << 6) | (utf8[i + 1] & 0x3F)));
        } else {
            out.push_back(len == 1 ? static_cast<char>(lead) : '?');
        }
        i += len;
    }
    return out;
}

}  // namespace

std::string gbk_from_clipboard(const std::string& bytes, bool latin1) {
    std::string utf8;
    for (size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        char c = bytes[i];
        if (c == '\r') {
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
            c = '\n';
        }
        if (latin1) {
            nd::append_utf8(static_cast<unsigned char>(c), &utf8);
        } else {
            utf8.push_back(c);
        }
    }
    return nd::gbk_of(utf8);
}

ClipboardContent read_offer(const Offer& offer, ClipAccept accept) {
    ClipboardContent out;
    ClipboardContent files;
    // The file list is read first only to know whether the text beside it
    // is merely its spelling.
    if (accept == ClipAccept::kAnything && has_file_list(offer)) files = read_files(offer);
    bool text_spells_files = !files.files.empty();
    if ((accept == ClipAccept::kTextOnly || !text_spells_files) && read_text(offer, &out)) {
        return out;
    }
    out.text.clear();
    if (accept == ClipAccept::kTextOnly) return out;
    int picture = read_picture(offer, &out);
    if (picture > 0) return out;
    if (!files.files.empty()) return files;
    if (picture < 0) {
        out.kind = kClipBadPicture;
        out.reason = kBadPictureReason;
    }
    return out;
}

int classify_targets(const std::vector<std::string>& targets) {
    Offer offer{targets, nullptr};
    for (const TextTarget& target : kTextTargets) {
        if (offered(offer, target.name)) return kClipText;
    }
    for (const char* name : kPictureTargets) {
        if (offered(offer, name)) return kClipBitmap;
    }
    return has_file_list(offer) ? kClipFiles : kClipNothing;
}

const std::string* OwnedOffer::find(const std::string& target) const {
    for (const auto& entry : entries) {
        if (entry.first == target) return &entry.second;
    }
    return nullptr;
}

std::vector<std::string> OwnedOffer::targets() const {
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.first);
    return names;
}

OwnedOffer text_offer(const std::string& gbk) {
    std::string utf8;
    for (char c : nd::gbk_to_utf8(gbk)) {
        // The editor joins copied lines with CR LF; programs on this system
        // expect bare line feeds.
        if (c != '\r') utf8.push_back(c);
    }
    OwnedOffer offer;
    offer.entries.emplace_back("UTF8_STRING", utf8);
    offer.entries.emplace_back("text/plain;charset=utf-8", utf8);
    offer.entries.emplace_back("STRING", latin1_of(utf8));
    return offer;
}

OwnedOffer picture_offer(const std::vector<uint32_t>& pixels, int width, int height) {
    std::vector<uint32_t> opaque(pixels);
    // Drawn pixels carry alpha 0; other programs would read them as holes.
    for (uint32_t& pixel : opaque) pixel |= 0xFF000000u;
    std::vector<uint8_t> png;
    OwnedOffer offer;
    if (detail::encode_png(opaque.data(), width, height, &png) != kOk) return offer;
    offer.entries.emplace_back("image/png", std::string(png.begin(), png.end()));
    return offer;
}

Offer offer_of(const OwnedOffer& owned) {
    return Offer{owned.targets(), [&owned](const std::string& target, std::string* bytes) {
                     const std::string* found = owned.find(target);
                     if (found) *bytes = *found;
                     return found != nullptr;
                 }};
}

}  // namespace gfx::clip
