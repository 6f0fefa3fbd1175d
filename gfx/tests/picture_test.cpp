// Loading pictures (PNG, JPEG, GIF, BMP, resources), saving them, and the
// refusal of damaged data. Fixtures are made here: encoded with the same
// libraries or written out byte by byte.
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "base/testing/temp_dir.h"
#include "gfx/blend.h"
#include "gfx/picture.h"
#include "gfx/tests/test_util.h"

namespace gfx {
namespace {

using test::make_image;

using nd::testing::TempDir;

std::vector<uint8_t> read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> png_of(const std::vector<uint32_t>& px, int w, int h) {
    std::vector<uint8_t> bytes;
    EXPECT_EQ(detail::encode_png(px.data(), w, h, &bytes), kOk);
    return bytes;
}

TEST(GfxPicture, SaveImageWritesExact24BitBmp) {
    TempDir dir;
    auto im = make_image(3, 1);
    im->pixels = {0x80112233, 0x00445566, 0xFF778899};
    ASSERT_EQ(save_image(im.get(), dir.file("a.bmp").c_str()), kOk);
    const std::vector<uint8_t> want = {'B', 'M', 66, 0, 0, 0,    // file size: 54 + one row of 12
                                       0, 0, 0, 0,               // reserved
                                       54, 0, 0, 0,              // pixel data offset
                                       40, 0, 0, 0,              // info header size
                                       3, 0, 0, 0, 1, 0, 0, 0,   // width, height
                                       1, 0, 24, 0,              // planes, bits
                                       0, 0, 0, 0, 12, 0, 0, 0,  // no compression, image size
                                       0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x33, 0x22,
                                       0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77,  // B, G, R; alpha
                                                                                  // dropped
                                       0, 0, 0};                                  // padding to 12
    EXPECT_EQ(read_all(dir.file("a.bmp")), want);
    EXPECT_EQ(save_image(im.get(), "/nonexistent-dir/a.bmp"), kPictureError);
}

TEST(GfxPicture, PngKeepsAlphaAndBlendsByIt) {
    TempDir dir;
    auto im = make_image(2, 2);
    im->pixels = {0x00FFFFFF, 0x80FF0000, 0xFF00FF00, 0x400000FF};
    ASSERT_EQ(save_png(im.get(), dir.file("a.png").c_str()), kOk);
    auto loaded = make_image();
    ASSERT_EQ(getimage(loaded.get(), dir.file("a.png").c_str()), kOk);
    EXPECT_EQ(loaded->width, 2);
    EXPECT_EQ(loaded->pixels, im->pixels);
    auto dst = make_image(2, 2);
    putimage_srcalpha(dst.get(), loaded.get(), 0, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dst->pixels[i],
                  detail::blend_pixel(0xFF000000, im->pixels[i], im->pixels[i] >> 24));
    }
    EXPECT_EQ(dst->pixels[0], 0xFF000000u) << "alpha 0 leaves the background";
}

TEST(GfxPicture, JpegRoundTripIsCloseAndOpaque) {
    TempDir dir;
    auto im = make_image(16, 8);
    std::fill(im->pixels.begin(), im->pixels.end(), 0x00C08040);
    ASSERT_EQ(save_jpeg(im.get(), dir.file("a.jpg").c_str(), 95), kOk);
    auto loaded = make_image();
    ASSERT_EQ(getimage(loaded.get(), dir.file("a.jpg").c_str()), kOk);
    ASSERT_EQ(loaded->width, 16);
    ASSERT_EQ(loaded->height, 8);
    for (uint32_t px : loaded->pixels) {
        EXPECT_EQ(px >> 24, 0xFFu);
        EXPECT_NEAR(static_cast<int>((px >> 16) & 0xFF), 0xC0, 3);
        EXPECT_NEAR(static_cast<int>((px >> 8) & 0xFF), 0x80, 3);
        EXPECT_NEAR(static_cast<int>(px & 0xFF), 0x40, 3);
    }
}

// A GIF of `h` rows of width 2 whose row y uses colour index y % 4; index 3
// is transparent.
std::vector<uint8_t> gif_of(int h, bool interlace) {
    struct Sink {
        static int write(GifFileType* gif, const GifByteType* buf, int n) {
            auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
            out->insert(out->end(), buf, buf + n);
            return n;
        }
    };
    std::vector<uint8_t> out;
    int err = 0;
    GifFileType* gif = EGifOpen(&out, Sink::write, &err);
    const GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifSetGifVersion(gif, true);
    EXPECT_EQ(EGifPutScreenDesc(gif, 2, h, 2, 0, map), GIF_OK);
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = 3;
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext), GIF_OK);
    EXPECT_EQ(EGifPutImageDesc(gif, 0, 0, 2, h, interlace, nullptr), GIF_OK);
    // Rows go out in stored order: for an interlaced frame, the passes.
    std::vector<int> order;
    if (interlace) {
        for (int s : {0, 4})
            for (int y = s; y < h; y += 8) order.push_back(y);
        for (int y = 2; y < h; y += 4) order.push_back(y);
        for (int y = 1; y < h; y += 2) order.push_back(y);
    } else {
        for (int y = 0; y < h; ++y) order.push_back(y);
    }
    for (int y : order) {
        GifPixelType row[2] = {static_cast<GifPixelType>(y % 4), static_cast<GifPixelType>(y % 4)};
        EXPECT_EQ(EGifPutLine(gif, row, 2), GIF_OK);
    }
    EXPECT_EQ(EGifCloseFile(gif, &err), GIF_OK);
    GifFreeMapObject(map);
    return out;
}

TEST(GfxPicture, GifFirstFrameWithTransparencyAndInterlace) {
    const uint32_t want_by_index[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x00000000};
    for (bool interlace : {false, true}) {
        const std::vector<uint8_t> bytes = gif_of(11, interlace);
        auto im = make_image();
        ASSERT_EQ(getimage_bytes(im.get(), bytes.data(), bytes.size()), kOk) << interlace;
        ASSERT_EQ(im->width, 2);
        ASSERT_EQ(im->height, 11);
        for (int y = 0; y < 11; ++y) {
            EXPECT_EQ(im->pixels[y * 2 + 1], want_by_index[y % 4])
                << "row " << y << " interlace " << interlace;
        }
    }
}

// 2 x 2, 8 bits with a 2-entry palette, rows bottom-up and padded to 4 bytes.
const uint8_t kBmp8[] = {
    'B',  'M',  70,   0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0,  // pixel data at 14 + 40 + 8
    40,   0,    0,    0,                                 // info header size
    2,    0,    0,    0, 2, 0, 0, 0,                     // width 2, height 2 (bottom-up)
    1,    0,    8,    0,                                 // planes, 8 bits
    0,    0,    0,    0, 8, 0, 0, 0,                     // no compression, image size
    0,    0,    0,    0, 0, 0, 0, 0,                     // resolution
    2,    0,    0,    0, 0, 0, 0, 0,                     // two palette entries
    0x10, 0x20, 0x30, 0,                                 // palette 0: B, G, R, reserved
    0xAA, 0xBB, 0xCC, 0,                                 // palette 1
    1,    0,    0,    0,                                 // bottom row: 1, 0, padding
    0,    7,    0,    0,                                 // top row: 0, index 7 (past the palette)
};
static_assert(sizeof(kBmp8) == 70);

// 2 x 1, 32 bits, top-down (height -1); the fourth byte is unused.
const uint8_t kBmp32TopDown[] = {
    'B', 'M', 62, 0, 0,    0,    0,    0,    0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
    2,   0,   0,  0, 0xFF, 0xFF, 0xFF, 0xFF,  // width 2, height -1
    1,   0,   32, 0, 0,    0,    0,    0,    8, 0, 0,  0, 0, 0, 0,  0, 0, 0,
    0,   0,   0,  0, 0,    0,    0,    0,    0, 0, 1,  2, 3, 0, 4,  5, 6, 0x77,
};
static_assert(sizeof(kBmp32TopDown) == 62);

TEST(GfxPicture, BmpPalettedAndTopDown) {
    auto im = make_image();
    ASSERT_EQ(getimage_bytes(im.get(), kBmp8, sizeof kBmp8), kOk);
    EXPECT_EQ(im->pixels, (std::vector<uint32_t>{0xFF302010, 0xFF000000, 0xFFCCBBAA, 0xFF302010}));
    ASSERT_EQ(getimage_bytes(im.get(), kBmp32TopDown, sizeof kBmp32TopDown), kOk);
    EXPECT_EQ(im->pixels, (std::vector<uint32_t>{0xFF030201, 0xFF060504}));
    // Our own 24-bit writer read back.
    TempDir dir;
    auto src = make_image(5, 3);
    for (int i = 0; i < 15; ++i) src->pixels[i] = 0xFF000000u | (i * 0x0A0B0C);
    ASSERT_EQ(save_image(src.get(), dir.file("b.bmp").c_str()), kOk);
    ASSERT_EQ(getimage(im.get(), dir.file("b.bmp").c_str()), kOk);
    EXPECT_EQ(im->pixels, src->pixels);
}

TEST(GfxPicture, DamagedDataIsRefusedAndImageKept) {
    const std::vector<uint8_t> png = png_of({0xFF123456, 0xFF654321}, 2, 1);
    std::vector<uint8_t> gif = gif_of(4, false);
    std::vector<uint8_t> bmp_huge(kBmp8, kBmp8 + sizeof kBmp8);
    bmp_huge[18] = 0xFF, bmp_huge[19] = 0xFF, bmp_huge[20] = 0xFF, bmp_huge[21] = 0x7F;
    std::vector<uint8_t> bmp_far_data(kBmp8, kBmp8 + sizeof kBmp8);
    bmp_far_data[10] = 0xF0;
    std::vector<uint8_t> bmp_rle(kBmp8, kBmp8 + sizeof kBmp8);
    bmp_rle[30] = 1;
    std::vector<uint8_t> bmp_big_palette(kBmp8, kBmp8 + sizeof kBmp8);
    bmp_big_palette[46] = 0xFF, bmp_big_palette[47] = 0xFF;
    std::vector<uint8_t> gif_huge = gif;
    gif_huge[6] = 0xFF, gif_huge[7] = 0xFF, gif_huge[8] = 0xFF, gif_huge[9] = 0xFF;
    const uint8_t jpeg_head[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'};
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"garbage", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"png signature only", std::vector<uint8_t>(png.begin(), png.begin() + 8)},
        {"png cut in half", std::vector<uint8_t>(png.begin(), png.begin() + png.size() / 2)},
        {"jpeg header only", std::vector<uint8_t>(std::begin(jpeg_head), std::end(jpeg_head))},
        {"gif cut short", std::vector<uint8_t>(gif.begin(), gif.begin() + 20)},
        {"gif huge screen", gif_huge},
        {"bmp cut short", std::vector<uint8_t>(kBmp8, kBmp8 + 60)},
        {"bmp huge width", bmp_huge},
        {"bmp data past end", bmp_far_data},
        {"bmp run-length", bmp_rle},
        {"bmp palette past end", bmp_big_palette},
    };
    for (const Case& c : cases) {
        auto im = make_image(3, 2);
        im->pixels[0] = 0x12345678;
        EXPECT_EQ(getimage_bytes(im.get(), c.bytes.data(), c.bytes.size()), kPictureError)
            << c.name;
        EXPECT_EQ(im->width, 3) << c.name;
        EXPECT_EQ(im->pixels[0], 0x12345678u) << c.name;
    }
    auto im = make_image();
    EXPECT_EQ(getimage(im.get(), "/nonexistent/picture.png"), kPictureError);
}

// Damaged copies of every fixture: bytes flipped and tails cut. Each load
// must end in 0 with a consistent image or in -12 with the image kept.
TEST(GfxPicture, MutatedFixturesNeverBreakTheImage) {
    TempDir dir;
    auto jpg = make_image(9, 7);
    for (size_t i = 0; i < jpg->pixels.size(); ++i)
        jpg->pixels[i] = 0xFF000000u | (i * 2654435761u);
    ASSERT_EQ(save_jpeg(jpg.get(), dir.file("m.jpg").c_str(), 80), kOk);
    const std::vector<std::vector<uint8_t>> fixtures = {
        png_of(jpg->pixels, 9, 7), read_all(dir.file("m.jpg")), gif_of(9, true),
        std::vector<uint8_t>(kBmp8, kBmp8 + sizeof kBmp8),
        std::vector<uint8_t>(kBmp32TopDown, kBmp32TopDown + sizeof kBmp32TopDown)};
    std::mt19937 rng(99);
    for (const auto& fixture : fixtures) {
        for (int round = 0; round < 300; ++round) {
            std::vector<uint8_t> bytes = fixture;
            const int flips = 1 + static_cast<int>(rng() % 4);
            for (int f = 0; f < flips; ++f)
                bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
            if (round % 3 == 0) bytes.resize(rng() % bytes.size());
            auto im = make_image(2, 2);
            const int status = getimage_bytes(im.get(), bytes.data(), bytes.size());
            ASSERT_TRUE(status == kOk || status == kPictureError);
            ASSERT_EQ(im->pixels.size(), static_cast<size_t>(im->width) * im->height);
            if (status == kPictureError) {
                ASSERT_EQ(im->width, 2);
            }
        }
    }
}

TEST(GfxPicture, ResourcesByName) {
    static const std::vector<uint8_t> dot = png_of({0x80FF0000}, 1, 1);
    static const Resource table[] = {{"IMGS", "TEST_DOT", dot.data(), dot.size()},
                                     {"IMGS", "TEST_BMP", kBmp8, sizeof kBmp8}};
    set_resource_table(table, 2);
    auto im = make_image(4, 4);
    ASSERT_EQ(getimage(im.get(), "IMGS", "TEST_DOT"), kOk);
    EXPECT_EQ(im->width, 1);
    EXPECT_EQ(im->pixels[0], 0x80FF0000u);
    ASSERT_EQ(getimage(im.get(), "IMGS", "TEST_BMP", 4, 0), kOk);
    EXPECT_EQ(im->width, 4) << "zoomed, keeping the shape";
    EXPECT_EQ(im->height, 4);
    EXPECT_EQ(getimage(im.get(), "IMGS", "NO_SUCH_PICTURE"), kPictureError);
    EXPECT_EQ(getimage(im.get(), "ICON", "TEST_DOT"), kPictureError);
    EXPECT_EQ(im->width, 4);
}

TEST(GfxPicture, TheFirstResourceOfAType) {
    static const std::vector<uint8_t> dot = png_of({0x80FF0000}, 1, 1);
    static const Resource older[] = {{"ICON", "OLD", dot.data(), dot.size()}};
    static const Resource newer[] = {{"IMGS", "A", dot.data(), dot.size()},
                                     {"ICON", "FIRST", dot.data(), dot.size()},
                                     {"ICON", "SECOND", dot.data(), dot.size()}};
    set_resource_table(older, 1);
    set_resource_table(newer, 3);
    ASSERT_NE(first_resource("ICON"), nullptr);
    EXPECT_STREQ(first_resource("ICON")->name, "FIRST") << "the table registered last counts";
    EXPECT_EQ(first_resource("CURSOR"), nullptr);
    set_resource_table(newer, 1);  // the same table, cut down to its picture
    EXPECT_STREQ(first_resource("ICON")->name, "OLD");
}

TEST(GfxFatalDeathTest, MessagesAndExitStatus) {
    EXPECT_EXIT(getimage(static_cast<IMAGE*>(nullptr), "x.png"), ::testing::ExitedWithCode(245),
                "GFX INTERNAL ERROR: Fatal Error: pass NULL to `gfx::getimage`");
    IMAGE bogus;  // never made by new_image: no valid mark
    EXPECT_EXIT(putimage_alphablend(nullptr, &bogus, 0, 0, 255), ::testing::ExitedWithCode(245),
                "GFX ERROR message: Fatal error: read/write at 0x[0-9A-F]{16}\\. At function "
                "'IMAGE::putimage_alphablend'");
    EXPECT_EXIT(resize(&bogus, 2, 2), ::testing::ExitedWithCode(245), "'IMAGE::resize'");
}

}  // namespace
}  // namespace gfx
