// GIF through giflib's record reader: only the first frame is read, placed on
// the logical screen, with the transparent colour (if any) as alpha 0 and
// everything else opaque. Sizes are checked before anything is allocated.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "gfx/gfx.h"
#include "gfx/picture.h"

namespace gfx::detail {
namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int read_bytes(GifFileType* gif, GifByteType* buf, int n) {
    Reader* r = static_cast<Reader*>(gif->UserData);
    const size_t take = std::min(static_cast<size_t>(std::max(n, 0)), r->size - r->pos);
    std::memcpy(buf, r->data + r->pos, take);
    r->pos += take;
    return static_cast<int>(take);
}

// Reads extension blocks, keeping the transparent index of a graphics
// control block.
bool read_extension(GifFileType* gif, int* transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
    while (block != nullptr) {
        if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4) {
            GraphicsControlBlock gcb;
            if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
                *transparent = gcb.TransparentColor;
            }
        }
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    }
    return true;
}

// The frame's rows in stored order; interlaced frames store every 8th row
// from 0, every 8th from 4, every 4th from 2, then every 2nd from 1.
bool read_frame(GifFileType* gif, int transparent, Picture* out) {
    if (DGifGetImageDesc(gif) != GIF_OK) return false;
    const GifImageDesc& d = gif->Image;
    const ColorMapObject* map = d.ColorMap != nullptr ? d.ColorMap : gif->SColorMap;
    if (map == nullptr || d.Width <= 0 || d.Height <= 0 || d.Left < 0 || d.Top < 0) return false;
    // A logical screen smaller than the frame grows to hold it.
    const int64_t w = std::max<int64_t>(gif->SWidth, int64_t{d.Left} + d.Width);
    const int64_t h = std::max<int64_t>(gif->SHeight, int64_t{d.Top} + d.Height);
    if (!picture_size_ok(w, h)) return false;
    out->width = static_cast<int>(w);
    out->height = static_cast<int>(h);
    out->pixels.assign(static_cast<size_t>(w * h), 0);
    std::vector<GifByteType> line(d.Width);
    static const int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int p = 0; p < passes; ++p) {
        const int start = d.Interlace ? kStart[p] : 0, step = d.Interlace ? kStep[p] : 1;
        for (int y = start; y < d.Height; y += step) {
            if (DGifGetLine(gif, line.data(), d.Width) != GIF_OK) return false;
            uint32_t* dst = &out->pixels[static_cast<size_t>(d.Top + y) * w + d.Left];
            for (int x = 0; x < d.Width; ++x) {
                const int index = line[x];
                if (index == transparent) continue;
                if (index >= map->ColorCount) {
                    dst[x] = 0xFF000000u;
                    continue;
                }
                const GifColorType& c = map->Colors[index];
                dst[x] = 0xFF000000u | (uint32_t{c.Red} << 16) | (uint32_t{c.Green} << 8) | c.Blue;
            }
        }
    }
    return true;
}

}  // namespace

int decode_gif(const uint8_t* data, size_t size, Picture* out) {
    Reader reader{data, size, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, read_bytes, &error);
    if (gif == nullptr) return kPictureError;
    int transparent = NO_TRANSPARENT_COLOR;
    bool ok = false;
    // Records up to the first image; a bounded loop, since every record
    // consumes input and the input ends.
    for (GifRecordType type = UNDEFINED_RECORD_TYPE; type != TERMINATE_RECORD_TYPE;) {
        if (DGifGetRecordType(gif, &type) != GIF_OK) break;
        if (type == IMAGE_DESC_RECORD_TYPE) {
            ok = read_frame(gif, transparent, out);
            break;
        }
        if (type == EXTENSION_RECORD_TYPE && !read_extension(gif, &transparent)) break;
    }
    DGifCloseFile(gif, &error);
    return ok ? kOk : kPictureError;
}

}  // namespace gfx::detail
