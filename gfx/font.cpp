// Face names through fontconfig, faces and glyphs through FreeType.
//
// A named face that is installed is used as it is. Otherwise the names the
// programs use map to installed faces: the CJK sans ("微软雅黑", "黑体") to
// WenQuanYi Micro Hei or any Chinese sans, the CJK serif ("宋体", "SimSun")
// to AR PL UMing or any Chinese serif, "Consolas" to a monospace and
// "Tahoma" to a sans. Characters the chosen face lacks come from a Chinese
// sans face. Record names are GBK; they are converted to UTF-8 before they
// meet fontconfig, so the names below are UTF-8 literals.
#include "gfx/font.h"

#include <fontconfig/fontconfig.h>
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <strings.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "base/gbk.h"

namespace gfx::detail {
namespace {

// Heights and widths beyond this many pixels are taken as this many; the
// programs use 12 to 90.
constexpr int kMaxPixels = 1024;
// Glyphs beyond the ASCII range kept per face before the cache starts over.
constexpr size_t kMaxCachedGlyphs = 8192;

struct Match {
    std::string file;
    int index = 0;
};

// Asks fontconfig for `family`; when `exact` is set the match must carry that
// family name (in any of its languages), so a substitute is not taken for
// the face itself.
bool find_face(const char* family, bool exact, bool chinese, bool bold, bool italic, Match* out) {
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    if (chinese) FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* m = FcFontMatch(nullptr, pat, &result);
    FcPatternDestroy(pat);
    if (m == nullptr) return false;
    bool ok = true;
    if (exact) {
        ok = false;
        FcChar8* name = nullptr;
        for (int i = 0; FcPatternGetString(m, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
            if (strcasecmp(reinterpret_cast<const char*>(name), family) == 0) ok = true;
        }
    }
    FcChar8* file = nullptr;
    if (ok && FcPatternGetString(m, FC_FILE, 0, &file) == FcResultMatch) {
        out->file = reinterpret_cast<const char*>(file);
        int index = 0;
        FcPatternGetInteger(m, FC_INDEX, 0, &index);
        out->index = index;
    } else {
        ok = false;
    }
    FcPatternDestroy(m);
    return ok;
}

struct Candidate {
    const char* family;
    bool exact;
    bool chinese;
};

bool name_in(const std::string& name, std::initializer_list<const char*> names) {
    for (const char* n : names) {
        if (strcasecmp(name.c_str(), n) == 0) return true;
    }
    return false;
}

std::vector<Candidate> candidates_for(const std::string& name) {
    if (name_in(name, {"微软雅黑", "Microsoft YaHei", "黑体", "SimHei"})) {
        return {{"WenQuanYi Micro Hei", true, true}, {"sans-serif", false, true}};
    }
    if (name_in(name, {"宋体", "SimSun", "新宋体", "NSimSun"})) {
        return {{"AR PL UMing CN", true, true}, {"serif", false, true}};
    }
    if (name_in(name, {"Consolas"})) return {{"monospace", false, false}};
    if (name_in(name, {"Tahoma"})) return {{"sans-serif", false, false}};
    return {{"sans-serif", false, true}};
}

// The shear that stands in for a missing italic: x += 0.2 y. FreeType
// takes it by a pointer to non-const.
FT_Matrix g_shear{0x10000, 0x3333, 0, 0x10000};

class Fonts {
public:
    Fonts() {
        if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
        FcInit();
    }
    ~Fonts() {
        faces_.clear();
        glyph_sets_.clear();
        // Sizes go with their faces.
        for (auto& f : files_) FT_Done_Face(f.second);
        if (library_ != nullptr) FT_Done_FreeType(library_);
    }

    FontFace* get(const FontRecord& rec) {
        const std::string key(reinterpret_cast<const char*>(&rec), sizeof rec);
        auto it = faces_.find(key);
        if (it != faces_.end()) return it->second.get();
        std::unique_ptr<FontFace> face = make(rec);
        FontFace* raw = face.get();
        faces_.emplace(key, std::move(face));
        return raw;
    }

private:
    // One FT_Face per face file (and index inside a collection).
    FT_Face open(const Match& m) {
        const std::string key = m.file + '\0' + std::to_string(m.index);
        auto it = files_.find(key);
        if (it != files_.end()) return it->second;
        FT_Face f = nullptr;
        if (library_ == nullptr || FT_New_Face(library_, m.file.c_str(), m.index, &f) != 0) {
            return nullptr;
        }
        files_.emplace(key, f);
        return f;
    }

    // One FT_Size per face and pixel size.
    FT_Size sized(FT_Face f, FT_F26Dot6 w26, FT_F26Dot6 em26) {
        const std::string key = std::to_string(reinterpret_cast<uintptr_t>(f)) + ':' +
                                std::to_string(w26) + ':' + std::to_string(em26);
        auto it = sizes_.find(key);
        if (it != sizes_.end()) return it->second;
        FT_Size size = nullptr;
        if (FT_New_Size(f, &size) != 0) return nullptr;
        FT_Activate_Size(size);
        FT_Set_Char_Size(f, w26, em26, 72, 72);
        sizes_.emplace(key, size);
        return size;
    }

    GlyphSet* glyph_set(const FontFace& face) {
        const std::string key = std::to_string(reinterpret_cast<uintptr_t>(face.primary_size)) +
                                ':' + std::to_string(reinterpret_cast<uintptr_t>(face.fallback_size)) +
                                ':' + std::to_string(face.synth_bold) + std::to_string(face.slant);
        std::unique_ptr<GlyphSet>& set = glyph_sets_[key];
        if (!set) set = std::make_unique<GlyphSet>();
        return set.get();
    }

    std::unique_ptr<FontFace> make(const FontRecord& rec) {
        const std::string name = nd::gbk_to_utf8(nd::field_text(rec.face, sizeof rec.face));
        const bool bold = rec.weight >= 600, italic = rec.italic != 0;
        Match m;
        bool found = !name.empty() && find_face(name.c_str(), true, false, bold, italic, &m);
        for (const Candidate& c : candidates_for(name)) {
            if (found) break;
            found = find_face(c.family, c.exact, c.chinese, bold, italic, &m);
        }
        Match fb;
        const bool have_fb = find_face("WenQuanYi Micro Hei", true, true, bold, italic, &fb) ||
                             find_face("sans-serif", false, true, bold, italic, &fb);
        if (!found && !have_fb) return nullptr;
        if (!found) m = fb;

        auto face = std::make_unique<FontFace>();
        face->record = rec;
        face->primary = open(m);
        if (face->primary == nullptr) return nullptr;
        if (have_fb && (fb.file != m.file || fb.index != m.index)) face->fallback = open(fb);
        // The face file itself says whether it is bold or italic; fontconfig
        // reports the weight it was asked for when it plans to embolden.
        const FT_Long style = face->primary->style_flags;
        face->synth_bold = bold && (style & FT_STYLE_FLAG_BOLD) == 0;
        face->underline = rec.underline != 0;
        face->strike_out = rec.strike_out != 0;
        face->slant = italic && (style & FT_STYLE_FLAG_ITALIC) == 0;
        if (!size(face.get(), rec)) return nullptr;
        face->glyphs = glyph_set(*face);
        return face;
    }

    // Cell metrics from the face's OS/2 "win" ascent and descent, which
    // bound every glyph and so make the cell a positive height asks for;
    // else from its typographic ascent and descent.
    bool size(FontFace* face, const FontRecord& rec) {
        FT_Face f = face->primary;
        double asc = f->ascender, desc = -f->descender;
        if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2))) {
            if (os2->usWinAscent + os2->usWinDescent > 0) {
                asc = os2->usWinAscent;
                desc = os2->usWinDescent;
            }
        }
        if (asc + desc <= 0) {
            asc = 0.8 * f->units_per_EM;
            desc = 0.2 * f->units_per_EM;
        }
        const double upem = f->units_per_EM > 0 ? f->units_per_EM : asc + desc;
        double em;
        int height = rec.height == 0 ? 16 : std::clamp(rec.height, -kMaxPixels, kMaxPixels);
        if (height > 0) {
            // Positive: the cell is exactly this tall.
            em = height * upem / (asc + desc);
            face->ascent = static_cast<int>(std::lround(height * asc / (asc + desc)));
            face->descent = height - face->ascent;
        } else {
            // Negative: the character (em) height; the cell adds the leading.
            em = -height;
            face->ascent = static_cast<int>(std::lround(em * asc / upem));
            face->descent = static_cast<int>(std::lround(em * desc / upem));
        }
        face->cell = face->ascent + face->descent;
        // A width asks for an average character of that many pixels; CJK
        // faces average half an em over their single-byte characters, so the
        // em is twice the width and every byte advances by the width.
        const int width = std::abs(std::clamp(rec.width, -kMaxPixels, kMaxPixels));
        const FT_F26Dot6 em26 = static_cast<FT_F26Dot6>(std::lround(em * 64));
        const FT_F26Dot6 w26 = width > 0 ? FT_F26Dot6{2 * width * 64} : em26;
        face->fixed_advance = width;
        face->primary_size = sized(face->primary, w26, em26);
        if (face->primary_size == nullptr) return false;
        if (face->fallback != nullptr) {
            face->fallback_size = sized(face->fallback, w26, em26);
            if (face->fallback_size == nullptr) face->fallback = nullptr;
        }
        face->rule_thickness = std::max(1, static_cast<int>(std::lround(em / 16)));
        face->underline_offset = std::max(1, face->descent / 2);
        face->strike_offset = static_cast<int>(std::lround(face->ascent * 0.35));
        return true;
    }

    FT_Library library_ = nullptr;
    std::map<std::string, FT_Face> files_;
    std::map<std::string, FT_Size> sizes_;
    std::map<std::string, std::unique_ptr<GlyphSet>> glyph_sets_;
    std::map<std::string, std::unique_ptr<FontFace>> faces_;
};

Fonts& fonts() {
    static Fonts instance;
    return instance;
}

void render(FontFace* face, uint32_t code, Glyph* g) {
    // Control characters take no room and draw nothing.
    if (code < 0x20) return;
    FT_Face f = face->primary;
    FT_Size size = face->primary_size;
    FT_UInt index = FT_Get_Char_Index(f, code);
    if (index == 0 && face->fallback != nullptr) {
        const FT_UInt fb = FT_Get_Char_Index(face->fallback, code);
        if (fb != 0) f = face->fallback, size = face->fallback_size, index = fb;
    }
    // Faces are shared between sizes and slants: both are set for each load.
    FT_Activate_Size(size);
    FT_Set_Transform(f, face->slant ? &g_shear : nullptr, nullptr);
    if (FT_Load_Glyph(f, index, FT_LOAD_DEFAULT) != 0) return;
    FT_GlyphSlot slot = f->glyph;
    // Emboldening widens the glyph; the pen moves on by as much, so bold
    // text does not crowd. The width is measured here rather than trusted
    // to the slot's advance, which not every FreeType release updates, and
    // fixed-pitch text adds it to its fixed advance too.
    const FT_Pos advance = slot->advance.x;
    FT_Pos extra = 0;
    if (face->synth_bold) {
        const FT_Pos before = slot->metrics.horiAdvance;
        FT_GlyphSlot_Embolden(slot);
        extra = slot->metrics.horiAdvance - before;
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return;
    }
    g->advance = static_cast<int>((advance + extra + 32) >> 6);
    g->bold_extra = static_cast<int>((extra + 32) >> 6);
    const FT_Bitmap& bm = slot->bitmap;
    g->left = slot->bitmap_left;
    g->top = slot->bitmap_top;
    g->width = static_cast<int>(bm.width);
    g->height = static_cast<int>(bm.rows);
    g->coverage.assign(static_cast<size_t>(g->width) * g->height, 0);
    for (int y = 0; y < g->height; ++y) {
        const uint8_t* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
        for (int x = 0; x < g->width; ++x) {
            uint8_t c = 0;
            if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
                c = row[x];
            } else if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                c = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
            }
            g->coverage[static_cast<size_t>(y) * g->width + x] = c;
        }
    }
}

}  // namespace

FontFace* face_for(const FontRecord& record) {
    FontRecord r = record;
    // Bytes after the name's terminator are not part of the font.
    r.face[sizeof r.face - 1] = '\0';
    const size_t n = std::strlen(r.face);
    std::memset(r.face + n, 0, sizeof r.face - n);
    return fonts().get(r);
}

const Glyph& glyph_of(FontFace* face, uint32_t code) {
    GlyphSet& set = *face->glyphs;
    if (code < 128) {
        if (!set.ascii_ready[code]) {
            render(face, code, &set.ascii[code]);
            set.ascii_ready[code] = true;
        }
        return set.ascii[code];
    }
    auto it = set.others.find(code);
    if (it != set.others.end()) return it->second;
    // Text that walks through the whole character set at a large size would
    // otherwise keep every glyph; callers hold a glyph only while drawing it.
    if (set.others.size() >= kMaxCachedGlyphs) set.others.clear();
    Glyph& g = set.others[code];
    render(face, code, &g);
    return g;
}

}  // namespace gfx::detail
