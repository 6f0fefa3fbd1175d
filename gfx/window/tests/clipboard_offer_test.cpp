// The clipboard's rules on offers made up in the test: which target a read
// takes, how text, pictures and file lists come out, and what the program
// offers when it writes.
#include "gfx/window/clipboard_offer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <map>

#include "gfx/picture.h"
#include "gfx/window/uri_list.h"

namespace gfx::clip {
namespace {

std::string png_bytes(uint32_t colour, int width = 3, int height = 2) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height), colour);
    std::vector<uint8_t> png;
    EXPECT_EQ(detail::encode_png(pixels.data(), width, height, &png), kOk);
    return std::string(png.begin(), png.end());
}

std::string bmp_bytes(uint32_t colour) {
    std::vector<uint32_t> pixels(4, colour);
    std::vector<uint8_t> bmp;
    EXPECT_EQ(detail::encode_bmp24(pixels.data(), 2, 2, &bmp), kOk);
    return std::string(bmp.begin(), bmp.end());
}

std::string uri_lines(int count) {
    std::string list;
    for (int i = 0; i < count; ++i) list += "file:///tmp/f" + std::to_string(i) + "\r\n";
    return list;
}

// An owner that offers fixed bytes and notes what was asked of it. A target
// offered without bytes is one the owner refuses to convert.
struct FakeOwner {
    std::vector<std::pair<std::string, std::string>> entries;
    std::vector<std::string> refused = {};
    std::vector<std::string> fetched = {};

    Offer offer() {
        Offer o;
        for (auto& e : entries) o.targets.push_back(e.first);
        for (auto& r : refused) o.targets.push_back(r);
        o.fetch = [this](const std::string& target, std::string* bytes) {
            fetched.push_back(target);
            for (auto& e : entries) {
                if (e.first == target) {
                    *bytes = e.second;
                    return true;
                }
            }
            return false;
        };
        return o;
    }
};

const char kCopiedFiles[] = "x-special/gnome-copied-files";
const char kUriList[] = "text/uri-list";

TEST(ClipboardOffer, PreferenceTable) {
    const std::string red_png = png_bytes(0xFFFF0000);
    struct Case {
        const char* name;
        FakeOwner owner;
        ClipAccept accept;
        int kind;
        size_t files;
    };
    const ClipAccept any = ClipAccept::kAnything;
    const ClipAccept text_only = ClipAccept::kTextOnly;
    Case cases[] = {
        {"text and bitmap: text", {{{"image/png", red_png}, {"UTF8_STRING", "hi"}}}, any, 1, 0},
        {"bitmap only", {{{"image/png", red_png}}}, any, 2, 0},
        {"bitmap to a text box", {{{"image/png", red_png}}}, text_only, -1, 0},
        {"copied files", {{{kCopiedFiles, "copy\nfile:///a\nfile:///b"}}}, any, 15, 2},
        {"files offered for linking", {{{kCopiedFiles, "link\nfile:///a"}}}, any, -1, 0},
        {"link-only list beside text",
         {{{kCopiedFiles, "link\nfile:///a"}, {"UTF8_STRING", "/a"}}},
         any,
         1,
         0},
        // File managers spell the list as text too; the list wins, except
        // for a text box.
        {"file manager: list and its text",
         {{{"UTF8_STRING", "/a"}, {kUriList, "file:///a\r\n"}}},
         any,
         15,
         1},
        {"file manager to a text box",
         {{{"UTF8_STRING", "/a"}, {kUriList, "file:///a\r\n"}}},
         text_only,
         1,
         0},
        {"browser links are text",
         {{{"UTF8_STRING", "http://x/"}, {kUriList, "http://x/\r\n"}}},
         any,
         1,
         0},
        {"list and bitmap: bitmap", {{{kUriList, "file:///a"}, {"image/png", red_png}}}, any, 2, 0},
        {"40 files keep 30", {{{kUriList, uri_lines(40)}}}, any, 15, 30},
        {"undecodable picture", {{{"image/png", "not a picture"}}}, any, -3, 0},
        {"bad png, good bmp",
         {{{"image/png", "x"}, {"image/bmp", bmp_bytes(0xFF0000FF)}}},
         any,
         2,
         0},
        {"text of characters GBK lacks", {{{"UTF8_STRING", "\xF0\x9F\x98\x80"}}}, any, -1, 0},
        {"empty text falls to the picture",
         {{{"UTF8_STRING", ""}, {"image/jpeg", "broken"}, {"image/png", red_png}}},
         any,
         2,
         0},
        {"refused UTF-8, Latin-1 taken", {{{"STRING", "caf\xE9"}}, {"UTF8_STRING"}}, any, 1, 0},
        {"nothing offered", {}, any, -1, 0},
        {"unknown targets", {{{"application/x-thing", "?"}}}, any, -1, 0},
    };
    for (Case& c : cases) {
        ClipboardContent out = read_offer(c.owner.offer(), c.accept);
        EXPECT_EQ(out.kind, c.kind) << c.name;
        EXPECT_EQ(out.files.size(), c.files) << c.name;
        EXPECT_EQ(out.image != nullptr, c.kind == kClipBitmap) << c.name;
        EXPECT_EQ(out.reason.empty(), c.kind != kClipBadPicture) << c.name;
    }
}

TEST(ClipboardOffer, TextBoxesNeverFetchPictures) {
    FakeOwner owner{{{"image/png", png_bytes(0xFF00FF00)}, {kUriList, "file:///a"}}};
    EXPECT_EQ(read_offer(owner.offer(), ClipAccept::kTextOnly).kind, kClipNothing);
    EXPECT_TRUE(owner.fetched.empty());
}

TEST(ClipboardOffer, QueryNamesTheBestKindOffered) {
    EXPECT_EQ(classify_targets({"TARGETS", "image/png", "UTF8_STRING"}), kClipText);
    EXPECT_EQ(classify_targets({"text/plain; charset=UTF-8"}), kClipText);
    EXPECT_EQ(classify_targets({"TARGETS", "image/bmp", kUriList}), kClipBitmap);
    EXPECT_EQ(classify_targets({kCopiedFiles}), kClipFiles);
    EXPECT_EQ(classify_targets({"TARGETS", "TIMESTAMP"}), kClipNothing);
}

TEST(ClipboardOffer, CutAndCopyOfFileLists) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> entries;
        FileEffect effect;
    };
    const Case cases[] = {
        {{{kCopiedFiles, "cut\nfile:///a"}}, FileEffect::kCut},
        {{{kCopiedFiles, "copy\nfile:///a"}, {kUriList, "file:///a"}}, FileEffect::kCopy},
        {{{"x-special/mate-copied-files", "cut\nfile:///a"}}, FileEffect::kCut},
        {{{kUriList, "file:///a"}}, FileEffect::kCopy},
        {{{kUriList, "file:///a"}, {"application/x-kde-cutselection", "1"}}, FileEffect::kCut},
    };
    for (const Case& c : cases) {
        FakeOwner owner{c.entries};
        ClipboardContent out = read_offer(owner.offer(), ClipAccept::kAnything);
        ASSERT_EQ(out.kind, kClipFiles);
        EXPECT_EQ(out.effect, c.effect) << c.entries[0].second;
        EXPECT_EQ(out.files, std::vector<std::string>{"/a"});
    }
}

TEST(ClipboardOffer, PastedPicturesAreOpaqueOnWhite) {
    std::vector<uint32_t> pixels = {0xFF102030, 0x00000000, 0x80000000, 0x00FF0000};
    std::vector<uint8_t> png;
    ASSERT_EQ(detail::encode_png(pixels.data(), 2, 2, &png), kOk);
    FakeOwner owner{{{"image/png", std::string(png.begin(), png.end())}}};
    ClipboardContent out = read_offer(owner.offer(), ClipAccept::kAnything);
    ASSERT_EQ(out.kind, kClipBitmap);
    ASSERT_EQ(out.image->width, 2);
    EXPECT_EQ(out.image->pixels[0], 0xFF102030u);
    EXPECT_EQ(out.image->pixels[1], 0xFFFFFFFFu);
    EXPECT_EQ(out.image->pixels[2], 0xFF7F7F7Fu);  // half black on white
    EXPECT_EQ(out.image->pixels[3], 0xFFFFFFFFu);
}

TEST(ClipboardOffer, IncomingTextBecomesGbkWithLineFeeds) {
    struct Case {
        std::string bytes;
        bool latin1;
        std::string gbk;
    };
    const Case cases[] = {
        {"a\r\nb\rc\nd", false, "a\nb\nc\nd"},
        {"\xE4\xB8\xAD\xE6\x96\x87", false, "\xD6\xD0\xCE\xC4"},  // 中文
        {std::string("ab\0cd", 5), false, "ab"},                  // a NUL ends the text
        {"x\xF0\x9F\x98\x80y", false, "xy"},                      // no GBK form: dropped
        {"caf\xE9", true, "caf\xA8\xA6"},                         // é from ISO-8859-1
        {"\r\n", false, "\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(gbk_from_clipboard(c.bytes, c.latin1), c.gbk);
}

TEST(ClipboardOffer, WrittenTextIsUtf8WithLineFeeds) {
    // 中文 then CR LF then "caf" and é, as the editor copies them.
    OwnedOffer offer = text_offer("\xD6\xD0\xCE\xC4\r\ncaf\xA8\xA6");
    EXPECT_EQ(offer.targets(),
              (std::vector<std::string>{"UTF8_STRING", "text/plain;charset=utf-8", "STRING"}));
    EXPECT_EQ(*offer.find("UTF8_STRING"), "\xE4\xB8\xAD\xE6\x96\x87\ncaf\xC3\xA9");
    EXPECT_EQ(*offer.find("text/plain;charset=utf-8"), *offer.find("UTF8_STRING"));
    EXPECT_EQ(*offer.find("STRING"), "??\ncaf\xE9");
}

TEST(ClipboardOffer, WrittenPictureIsAnOpaquePng) {
    // Drawn pixels carry alpha 0; another program must not see holes.
    std::vector<uint32_t> pixels = {0x00FF0000, 0xFF00FF00, 0x12345678};
    OwnedOffer offer = picture_offer(pixels, 3, 1);
    ASSERT_NE(offer.find("image/png"), nullptr);
    const std::string& png = *offer.find("image/png");
    detail::Picture back;
    ASSERT_EQ(detail::decode_png(reinterpret_cast<const uint8_t*>(png.data()), png.size(), &back),
              kOk);
    EXPECT_EQ(back.pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF345678}));
    // Reading our own offer gives the picture back.
    ClipboardContent out = read_offer(offer_of(offer), ClipAccept::kAnything);
    ASSERT_EQ(out.kind, kClipBitmap);
    EXPECT_EQ(out.image->pixels, back.pixels);
}

TEST(UriList, FileUrisToLocalPaths) {
    char host[HOST_NAME_MAX + 1] = {};
    ASSERT_EQ(gethostname(host, sizeof(host) - 1), 0);
    struct Case {
        std::string uri;
        const char* path;  // nullptr: refused
    };
    const Case cases[] = {
        {"file:///home/u/a%20b.txt", "/home/u/a b.txt"},
        {"file://localhost/tmp/x", "/tmp/x"},
        {"FILE://LocalHost/tmp/x", "/tmp/x"},
        {"file://" + std::string(host) + "/tmp/x", "/tmp/x"},
        {"file:/tmp/single-slash", "/tmp/single-slash"},
        {"file:///tmp/%E4%B8%AD.png", "/tmp/\xE4\xB8\xAD.png"},  // UTF-8 bytes kept as they are
        {"file:///tmp/a%2fb", "/tmp/a/b"},
        {"file:///tmp/q?x=1#frag", "/tmp/q"},
        {"file://elsewhere.example/tmp/x", nullptr},
        {"http://localhost/tmp/x", nullptr},
        {"file:///tmp/bad%2", nullptr},
        {"file:///tmp/bad%zz", nullptr},
        {"file:///tmp/nul%00x", nullptr},
        {std::string("file:///etc/passwd\0.png", 23), nullptr},  // a raw NUL as well
        {"file://localhost", nullptr},
        {"file:relative/x", nullptr},
    };
    for (const Case& c : cases) {
        std::string path;
        bool ok = file_uri_to_path(c.uri, &path);
        EXPECT_EQ(ok, c.path != nullptr) << c.uri;
        if (ok && c.path) {
            EXPECT_EQ(path, c.path) << c.uri;
        }
    }
}

TEST(UriList, ListsSkipCommentsAndOtherSchemes) {
    std::string list =
        "# a comment\r\n"
        "file:///a\r\n"
        "https://example.org/\r\n"
        "\r\n"
        "file:///b%23\n"
        "file://other/c\r\n"
        "file:///d";
    EXPECT_EQ(parse_uri_list(list, 30), (std::vector<std::string>{"/a", "/b#", "/d"}));
    EXPECT_EQ(parse_uri_list(list, 2), (std::vector<std::string>{"/a", "/b#"}));
    EXPECT_TRUE(parse_uri_list("", 30).empty());
}

TEST(UriList, CopiedFilesSayCopyCutOrLink) {
    std::vector<std::string> paths;
    EXPECT_EQ(parse_copied_files("cut\nfile:///a\nfile:///b", &paths, 30), FileEffect::kCut);
    EXPECT_EQ(paths, (std::vector<std::string>{"/a", "/b"}));
    EXPECT_EQ(parse_copied_files("copy\r\nfile:///a\r\n", &paths, 30), FileEffect::kCopy);
    EXPECT_EQ(paths, std::vector<std::string>{"/a"});
    EXPECT_EQ(parse_copied_files("link\nfile:///a", &paths, 30), FileEffect::kLink);
    EXPECT_EQ(parse_copied_files("copy", &paths, 30), FileEffect::kCopy);
    EXPECT_TRUE(paths.empty());
    EXPECT_EQ(parse_copied_files("", &paths, 30), FileEffect::kLink);
}

}  // namespace
}  // namespace gfx::clip
