// Stored images, previews, the picture import and its guards.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "base/file_io.h"
#include "base/park_miller.h"
#include "content/images.h"
#include "content/import.h"
#include "content/picture_probe.h"
#include "content/tests/cmyk_jpeg.h"
#include "content/tests/content_fixture.h"

namespace nd::content {

namespace {

// Regular files under a folder, for "nothing was left" checks.
std::vector<std::string> files_under(const std::string& dir) {
    std::vector<std::string> out;
    if (!std::filesystem::exists(dir)) return out;
    for (auto& e : std::filesystem::recursive_directory_iterator(dir))
        if (e.is_regular_file()) out.push_back(e.path().string());
    return out;
}

// A picture file's bytes: a test image of w x h saved as PNG.
std::vector<uint8_t> png_bytes(const std::string& dir, int w, int h) {
    gfx::IMAGE* im = gfx::new_image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) im->pixels[size_t(y) * w + x] = 0xFF000000u | (x << 8) | y;
    std::string path = dir + "/made.png";
    EXPECT_EQ(gfx::save_png(im, path.c_str()), gfx::kOk);
    gfx::delete_image(im);
    std::string bytes = nd::testing::read_all(path);
    std::remove(path.c_str());
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// A GIF of 35 bytes whose screen and frame claim w x h: header, screen
// without a colour table, a frame with a two-colour local table, and a
// minimal LZW start.
std::vector<uint8_t> tiny_gif(int w, int h) {
    const uint8_t w0 = uint8_t(w), w1 = uint8_t(w >> 8), h0 = uint8_t(h), h1 = uint8_t(h >> 8);
    return {
        'G',  'I',  'F',  '8',  '9',  'a',               // signature
        w0,   w1,   h0,   h1,   0x00, 0,   0,            // screen, no colour table
        0x2C, 0,    0,    0,    0,    w0,  w1,  h0, h1,  // frame at 0, 0
        0x80, 0,    0,    0,    255,  255, 255,          // two-colour local table
        0x02, 0x02, 0x44, 0x01, 0x00,                    // LZW start: one data block
        0x3B,                                            // trailer
    };
}

class Images : public testing::ContentTest {
protected:
    ImportRequest request_for(const std::vector<uint8_t>& bytes) {
        ImportRequest r;
        r.bytes = bytes;
        r.from_clipboard = true;
        r.root = root;
        r.temp_dir = dir + "/";
        return r;
    }
};

TEST(ImageSizes, PreviewIsAtMost160Wide) {
    struct Case {
        int w, h, pw, ph;
    } cases[] = {
        {160, 90, 160, 90},   {161, 100, 160, 99}, {3000, 2000, 160, 106}, {1600, 1200, 160, 120},
        {320, 200, 160, 100}, {3000, 10, 160, 1},  {1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        PictureSize s = preview_size(c.w, c.h);
        EXPECT_EQ(s.width, c.pw) << c.w << "x" << c.h;
        EXPECT_EQ(s.height, c.ph) << c.w << "x" << c.h;
    }
}

TEST(ImageIds, GeneratorStepsFromKnownStates) {
    struct Step {
        int32_t from, to;
    } steps[] = {
        {1, 16807},
        {16807, 282475249},
        {282475249, 1622650073},
        {2147483646, 2147483647 - 16807},
        {127773, 2147480811},  // 127773 x 16807, just below 2^31 - 1
    };
    for (const Step& s : steps) EXPECT_EQ(park_miller_step(s.from), s.to) << s.from;
    // The step as the images' rule writes it: state x 16807 minus
    // floor(state / 127773) x (2^31 - 1) in 32-bit arithmetic, plus 2^31 - 1
    // when not positive. It is the same generator for every state.
    for (int32_t state : {1, 2, 127772, 127773, 127774, 1043618065, 2147483646}) {
        uint32_t wrapped = uint32_t(state) * 16807u - uint32_t(state / 127773) * 2147483647u;
        int32_t next = static_cast<int32_t>(wrapped);
        if (next <= 0) next += 2147483647;
        EXPECT_EQ(next, park_miller_step(state)) << state;
    }
}

TEST(ImageFiles, ClipboardBmpLayout) {
    gfx::IMAGE* im = gfx::new_image(2, 2);
    im->pixels = {0xFF010203, 0xFF040506, 0x80070809, 0xFF0A0B0C};
    std::vector<uint8_t> b = clipboard_bmp(*im);
    gfx::delete_image(im);
    ASSERT_EQ(b.size(), 54u + 16);
    const uint8_t header[54] = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
                                40,  0,   0, 0, 2, 0, 0, 0, 2, 0, 0,  0, 1, 0, 32, 0, 0, 0, 0, 0,
                                0,   0,   0, 0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 54),
              std::vector<uint8_t>(header, header + 54));
    // Rows bottom-up, each pixel blue, green, red, then the fourth byte.
    const uint8_t pixels[16] = {9, 8, 7, 0x80, 0x0C, 0x0B, 0x0A, 0xFF,
                                3, 2, 1, 0xFF, 6,    5,    4,    0xFF};
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 54, b.end()),
              std::vector<uint8_t>(pixels, pixels + 16));
}

TEST(PictureProbe, HeadersGiveTheClaimedSize) {
    std::vector<uint8_t> bmp(54, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    bmp[14] = 40;
    bmp[18] = 0x20;  // 32 wide
    bmp[22] = 0xF0;  // -16 high: top-down
    for (int i = 23; i < 26; ++i) bmp[i] = 0xFF;
    const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00,               // APP0
                            0xFF, 0xC2, 0x00, 0x0B, 0x08, 0x01, 0x2C, 0x02, 0x58, 0x01};  // SOF2
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        int status;
        uint32_t w, h;
    } cases[] = {
        {"gif", tiny_gif(8192, 8192), 0, 8192, 8192},
        {"bmp", bmp, 0, 32, 16},
        {"jpeg", std::vector<uint8_t>(jpeg, jpeg + sizeof jpeg), 0, 600, 300},
        {"jpeg cut short", std::vector<uint8_t>(jpeg, jpeg + 12), -1, 0, 0},
        {"unknown", {'h', 'e', 'l', 'l', 'o'}, -1, 0, 0},
    };
    for (const Case& c : cases) {
        PictureHeader h;
        EXPECT_EQ(probe_picture(c.bytes.data(), c.bytes.size(), &h), c.status) << c.name;
        EXPECT_EQ(h.width, c.w) << c.name;
        EXPECT_EQ(h.height, c.h) << c.name;
    }
    // The 35-byte GIF claiming 8192 x 8192 is refused before any decoding;
    // a smaller claim from so few bytes cannot be real.
    EXPECT_EQ(tiny_gif(8192, 8192).size(), 35u);
    EXPECT_EQ(check_picture({PictureFormat::kGif, 8192, 8192}, 35), kPictureTooLarge);
    EXPECT_EQ(check_picture({PictureFormat::kGif, 4000, 4000}, 35), kPictureImplausible);
    EXPECT_EQ(check_picture({PictureFormat::kJpeg, 8000, 6000}, 4 << 20), kPictureFits);
    EXPECT_EQ(check_picture({PictureFormat::kPng, 1000, 1000}, 50), kPictureFits);
    EXPECT_EQ(check_picture({PictureFormat::kPng, 0, 10}, 50), kPictureEmpty);
}

TEST_F(Images, StoredPictureIsAJpegWithItsPreviewUnderTheDatedFolder) {
    std::string src = dir + "/drop.png";
    std::vector<uint8_t> png = png_bytes(dir, 320, 200);
    nd::testing::write_raw(src, std::string(png.begin(), png.end()));
    ImportRequest r;
    r.file_path = src;
    r.root = root;
    seed_random(16807);  // the next value is 282475249 = 0x10D63AF1
    ImportResult res = store_picture(r);
    ASSERT_EQ(res.status, kImportOk) << res.reason;
    EXPECT_EQ(res.name, "10D63AF1.jpg");  // a file's name shows the whole value
    EXPECT_EQ(res.stored_path.substr(0, 6), "1\\img\\");
    EXPECT_EQ(res.stored_path.substr(res.stored_path.size() - 13), "_00003AF1.jpg");
    EXPECT_EQ(res.stored_path.find('/'), std::string::npos);
    EXPECT_EQ(stored_to_disk(root, res.stored_path), res.disk_path);
    gfx::IMAGE* im = gfx::new_image(1, 1);
    ASSERT_EQ(gfx::getimage(im, res.disk_path.c_str()), gfx::kOk);
    EXPECT_EQ(im->width, 320);
    std::string bytes = nd::testing::read_all(res.disk_path);
    EXPECT_EQ(bytes.substr(0, 3), "\xFF\xD8\xFF");  // JPEG whatever the source
    ASSERT_EQ(gfx::getimage(im, preview_path(res.disk_path).c_str()), gfx::kOk);
    EXPECT_EQ(im->width, 160);
    EXPECT_EQ(im->height, 100);
    gfx::delete_image(im);
    EXPECT_EQ(files_under(root + "1/img").size(), 2u);

    // A clipboard picture is named by the low 16 bits, and keeps "screen.s12".
    seed_random(1);  // the next value is 16807 = 0x41A7
    res = store_picture(request_for(png));
    ASSERT_EQ(res.status, kImportOk);
    EXPECT_EQ(res.name, "000041A7.jpg");
    // The same picture twice in one second gets another id.
    EXPECT_NE(res.disk_path, store_picture(request_for(png)).disk_path);
    std::string s12 = nd::testing::read_all(dir + "/screen.s12");
    ASSERT_EQ(s12.size(), 54u + 320 * 200 * 4);
    EXPECT_EQ(s12[28], 32);

    // Copying a stored picture out keeps it as "%08x.bmp" in the temporary
    // folder, named from the generator, and offers it to the clipboard.
    seed_random(1);
    EXPECT_EQ(copy_image_to_clipboard(res.disk_path, dir + "/", clipboard), 1);
    EXPECT_EQ(clipboard.pictures_written, 1);
    EXPECT_EQ(nd::testing::read_all(dir + "/000041a7.bmp").substr(0, 2), "BM");
    EXPECT_EQ(copy_image_to_clipboard(dir + "/none.jpg", dir + "/", clipboard), 0);
}

TEST_F(Images, UndecodablePicturesLeaveNothingInTheImageFolder) {
    std::vector<uint8_t> png = png_bytes(dir, 40, 40);
    std::vector<uint8_t> damaged_png = png;
    for (size_t i = 40; i < damaged_png.size(); ++i) damaged_png[i] ^= 0x5A;
    std::vector<uint8_t> cut_gif = tiny_gif(64, 64);
    cut_gif.resize(cut_gif.size() - 4);
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        int status;
    } cases[] = {
        {"not a picture",
         {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'},
         kImportNotPicture},
        {"png with its data garbled", damaged_png, kImportDamaged},
        {"35-byte gif claiming 8192 x 8192", tiny_gif(8192, 8192), kImportTooLarge},
        {"35-byte gif claiming 4000 x 4000", tiny_gif(4000, 4000), kImportDamaged},
        {"gif cut short", cut_gif, kImportDamaged},
        {"empty", {}, kImportNotPicture},
    };
    for (const Case& c : cases) {
        ImportResult r = store_picture(request_for(c.bytes));
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_FALSE(r.reason.empty()) << c.name;
    }
    ImportRequest missing;
    missing.file_path = dir + "/no-such.png";
    missing.root = root;
    EXPECT_EQ(store_picture(missing).status, kImportUnreadable);
    EXPECT_TRUE(files_under(root + "1/img").empty());
}

TEST_F(Images, APreviewThatCannotBeWrittenTakesItsImageAlong) {
    // The preview's name is taken by a folder for the stamps of the next
    // seconds, so its write fails after the image was stored.
    std::vector<uint8_t> png = png_bytes(dir, 40, 40);
    time_t now = time(nullptr);
    for (int d = 0; d < 3; ++d) {
        seed_random(16807);
        RecordKey key = make_key_at(kTypeImage, now + d);
        key.serial = static_cast<uint16_t>(park_miller_step(16807) & 0xFFFF);
        make_dirs(root, key);
        ASSERT_TRUE(make_dir(preview_path(make_path(root, kTypeImage, key, 0))));
    }
    seed_random(16807);
    ImportResult r = store_picture(request_for(png));
    EXPECT_EQ(r.status, kImportNotStored);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_TRUE(files_under(root + "1/img").empty());
}

TEST_F(Images, CmykJpegIsReadAsRgb) {
    // Four-ink JPEGs (as print tools and cameras write them, with the Adobe
    // marker and inverted inks) decode to RGB: 16 x 16 blocks of red,
    // green, white and mid grey.
    const uint8_t inks[4][4] = {
        {255, 0, 0, 255}, {0, 255, 0, 255}, {255, 255, 255, 255}, {255, 255, 255, 128}};
    const uint32_t rgb[4] = {0xFF0000, 0x00FF00, 0xFFFFFF, 0x808080};
    std::vector<uint8_t> pixels(32 * 32 * 4);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            std::memcpy(&pixels[(y * 32 + x) * 4], inks[(y / 16) * 2 + x / 16], 4);
    std::vector<uint8_t> jpeg = testing_cmyk_jpeg(pixels.data(), 32, 32);
    gfx::IMAGE* im = gfx::new_image(1, 1);
    ASSERT_EQ(gfx::getimage_bytes(im, jpeg.data(), jpeg.size()), gfx::kOk);
    ASSERT_EQ(im->width, 32);
    for (int b = 0; b < 4; ++b) {
        uint32_t p = im->pixels[size_t((b / 2) * 16 + 8) * 32 + (b % 2) * 16 + 8];
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_NEAR(int((p >> shift) & 0xFF), int((rgb[b] >> shift) & 0xFF), 6) << b;
    }
    gfx::delete_image(im);
}

TEST_F(Images, ImportRunsOnTheWorkerAndCancelLeavesNothing) {
    std::vector<uint8_t> png = png_bytes(dir, 64, 48);
    auto job = start_import(request_for(png));
    for (int i = 0; i < 2000 && !import_finished(*job); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_TRUE(import_finished(*job));
    ImportResult r = take_import_result(*job);
    ASSERT_EQ(r.status, kImportOk);
    EXPECT_TRUE(file_exists(r.disk_path));
    EXPECT_EQ(take_import_result(*job).status, kImportCancelled);  // given once
    discard_import(r);

    auto dropped = start_import(request_for(png));
    cancel_import(*dropped);
    for (int i = 0; i < 2000 && !import_finished(*dropped); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_TRUE(import_finished(*dropped));
    EXPECT_TRUE(files_under(root + "1/img").empty());
}

TEST_F(Images, PastedPictureBecomesAnImageAttachment) {
    env.previews = nullptr;  // the previews on disk
    clipboard.picture = png_bytes(dir, 320, 200);
    open("hello\n");
    editor_key(editor, kKeyEnd, kModCtrl);
    editor_key(editor, kKeyPaste);
    finish_imports();
    const Attachment& a = record().attachments[0];
    ASSERT_EQ(a.kind, kAttachImage);
    EXPECT_EQ(text(), "hello\n**img:00\n\n\n\n");
    std::string disk = stored_to_disk(root, a.path);
    EXPECT_TRUE(file_exists(disk));
    EXPECT_TRUE(file_exists(preview_path(disk)));
    const DisplayLine& line = editor.layout.lines[1];
    EXPECT_EQ(line.kind, kAttachImage);
    EXPECT_EQ(line.shown_width, 160);
    EXPECT_EQ(line.shown_height, 100);
    ASSERT_NE(editor.previews.image(0), nullptr);

    // Backspace after the marker frees the slot and the held preview; the
    // files stay on disk.
    caret_to(15);
    editor_key(editor, kKeyBackspace);
    EXPECT_EQ(record().attachments[0].kind, kAttachFree);
    EXPECT_EQ(editor.previews.image(0), nullptr);
    EXPECT_TRUE(file_exists(disk));
    EXPECT_TRUE(file_exists(preview_path(disk)));

    // A picture that does not decode is not inserted, and the user is told.
    clipboard.picture = tiny_gif(8192, 8192);
    editor_key(editor, kKeyPaste);
    finish_imports();
    EXPECT_EQ(text(), "hello\n\n\n\n");
    EXPECT_FALSE(editor.message.empty());
}

TEST_F(Images, DroppedFilesKeepTheirOrderAroundAPicture) {
    env.previews = nullptr;
    std::vector<uint8_t> png = png_bytes(dir, 40, 30);
    // The picture comes through a pipe, so its import cannot finish before
    // the test has looked: the file after it must wait for it.
    const std::string shot = dir + "/shot.PNG";
    ASSERT_EQ(mkfifo(shot.c_str(), 0600), 0);
    open("");
    editor_insert_files(editor, {dir + "/a.txt", shot, dir + "/b.txt"});
    EXPECT_EQ(text(), "**fle:00\n\n\n\n");
    editor_poll(editor);
    EXPECT_EQ(text(), "**fle:00\n\n\n\n") << "the file after the picture did not wait";
    {
        // Opens once the import worker reads the pipe.
        std::ofstream pipe(shot, std::ios::binary);
        pipe.write(reinterpret_cast<const char*>(png.data()),
                   static_cast<std::streamsize>(png.size()));
    }
    finish_imports();
    EXPECT_EQ(text(), "**fle:00\n**img:01\n**fle:02\n\n\n\n");
    EXPECT_EQ(record().attachments[1].kind, kAttachImage);
    EXPECT_STREQ(record().attachments[2].name, "b.txt");
}

}  // namespace
}  // namespace nd::content
