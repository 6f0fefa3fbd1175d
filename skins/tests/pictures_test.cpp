#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "gfx/gfx.h"
#include "skins/names.h"
#include "skins/pictures.h"
#include "skins/tests/listed_names.h"

namespace nd {
namespace {

std::set<std::string> listed_names() {
    std::set<std::string> names;
    for (int s = 0; s < kSkinCount; ++s) {
        for (const char* role : listed::kEverySkin)
            names.insert(std::string(kSkinPrefix[s]) + "_" + role);
        for (const listed::SomeSkins& some : listed::kSomeSkins)
            if (some.skins & (1u << s)) names.insert(std::string(kSkinPrefix[s]) + "_" + some.role);
    }
    for (const char* name : listed::kShared) names.insert(name);
    return names;
}

class SkinPictures : public ::testing::Test {
protected:
    void SetUp() override { install_skin_pictures(); }
};

TEST_F(SkinPictures, EveryListedNameIsInstalledAndNothingElse) {
    std::set<std::string> expected = listed_names();
    for (const std::string& name : expected)
        EXPECT_NE(gfx::find_resource("IMGS", name.c_str()), nullptr) << name;
    std::set<std::string> made;
    for (size_t i = 0; i < skin_picture_count(); ++i) made.insert(skin_pictures()[i].name);
    for (const std::string& name : made) EXPECT_TRUE(expected.count(name)) << "unlisted " << name;
    EXPECT_EQ(made.size(), skin_picture_count()) << "a name is made twice";
}

TEST_F(SkinPictures, TheProgramsIconIsTheProductMarkAt128Pixels) {
    const gfx::Resource* icon = gfx::first_resource("ICON");
    ASSERT_NE(icon, nullptr);
    gfx::IMAGE* image = gfx::new_image(1, 1);
    ASSERT_EQ(gfx::getimage_bytes(image, icon->data, icon->size), gfx::kOk);
    EXPECT_EQ(image->width, 128);
    EXPECT_EQ(image->height, 128);
    // Transparent corners round the mark; its middle is opaque.
    EXPECT_EQ(image->pixels[0] >> 24, 0u);
    EXPECT_EQ(image->pixels[64 * 128 + 20] >> 24, 0xFFu);
    gfx::delete_image(image);
}

// Every picture decodes through the resource path the program uses, at the
// size the generator's table gives it; BMP pictures come out opaque.
TEST_F(SkinPictures, EachDecodesAtItsTableSize) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    int bmp = 0;
    for (size_t i = 0; i < skin_picture_count(); ++i) {
        const SkinPicture& p = skin_pictures()[i];
        ASSERT_EQ(gfx::getimage(image, "IMGS", p.name, 0, 0), gfx::kOk) << p.name;
        EXPECT_EQ(image->width, p.width) << p.name;
        EXPECT_EQ(image->height, p.height) << p.name;
        static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
        if (p.size >= 8 && std::memcmp(p.data, kPng, 8) == 0) continue;
        ++bmp;
        EXPECT_EQ(p.data[0], 'B') << p.name;
        for (uint32_t px : image->pixels) ASSERT_EQ(px >> 24, 0xFFu) << p.name;
    }
    EXPECT_EQ(bmp, 135);
    gfx::delete_image(image);
}

// Sizes fixed by where the program places the pictures.
TEST_F(SkinPictures, SizesFitWhereTheyArePlaced) {
    struct Case {
        const char* name;
        int width, height;
    };
    const Case cases[] = {
        {"BLACK_TOP_CLOSE_0", 45, 29},     {"WHITE_TOP_MAX_5", 45, 29},
        {"STARS_TOP_MIN_2", 45, 29},       {"CAKE_AUTOMENU_MARGIN_3", 7, 7},
        {"STARS_OPTION_OPEN", 44, 20},     {"WHITE_OPTION_CLOSE", 44, 20},
        {"WHITE_NEWBOX_THEME_2", 100, 57}, {"BLACK_LEFT_PREVIEW_1", 255, 7},
        {"BLACK_UPDATE_YES_0", 100, 32},   {"WHITE_AUTOMENU_PIN", 20, 20},
        {"PICK_STATUS_2", 20, 20},         {"START_CLOSE_1", 45, 29},
    };
    for (const Case& c : cases) {
        const SkinPicture* p = find_skin_picture(c.name);
        ASSERT_NE(p, nullptr) << c.name;
        EXPECT_EQ(p->width, c.width) << c.name;
        EXPECT_EQ(p->height, c.height) << c.name;
    }
}

TEST_F(SkinPictures, MissingPictureLeavesThePlaceholder) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    EXPECT_NE(gfx::getimage(image, "IMGS", "BLACK_NO_SUCH_PICTURE", 0, 0), gfx::kOk);
    EXPECT_EQ(image->width, 1);
    EXPECT_EQ(image->height, 1);
    EXPECT_EQ(find_skin_picture("BLACK_NO_SUCH_PICTURE"), nullptr);
    EXPECT_EQ(find_skin_picture(""), nullptr);
    gfx::delete_image(image);
}

template <size_t N>
void expect_all_installed(const NameTable<N>& table) {
    for (int s = 0; s < kSkinCount; ++s)
        for (size_t i = 0; i < N; ++i)
            EXPECT_NE(find_skin_picture(table.at(s, int(i))), nullptr) << table.at(s, int(i));
}

TEST_F(SkinPictures, EveryNameTableEntryIsAPicture) {
    expect_all_installed(kAboutNames);
    expect_all_installed(kActNames);
    expect_all_installed(kArrowNames);
    expect_all_installed(kAskNames);
    expect_all_installed(kAssessNames);
    expect_all_installed(kAutomenuNames);
    expect_all_installed(kCaseNames);
    expect_all_installed(kLeftNames);
    expect_all_installed(kListNames);
    expect_all_installed(kNewboxNames);
    expect_all_installed(kOptionNames);
    expect_all_installed(kRenboxNames);
    expect_all_installed(kReplyNames);
    expect_all_installed(kResizeNames);
    expect_all_installed(kRightNames);
    expect_all_installed(kRulerNames);
    expect_all_installed(kSearchNames);
    expect_all_installed(kSlotNames);
    expect_all_installed(kTopNames);
    expect_all_installed(kToolNames);
    expect_all_installed(kUpdateNames);
    expect_all_installed(kAboutLogoNames);
    expect_all_installed(kMenuIconNames);
    expect_all_installed(kMapNames);
    expect_all_installed(kThemeTileNames);
    expect_all_installed(kToolRemoveNames);
    expect_all_installed(kPeerNames);
    expect_all_installed(kRightLine2Names);
    expect_all_installed(kToolPlateNames);
}

TEST(SkinNameTables, RowsAndBorrowedEntries) {
    // Entries are fixed 32-byte slots, skin-major.
    static_assert(sizeof(kUpdateNames) == kSkinCount * pic::kUpdateCount * 32);
    EXPECT_STREQ(kUpdateNames.at(kSkinBlack, pic::UPDATE_YES_0), "BLACK_UPDATE_YES_0");
    EXPECT_STREQ(kUpdateNames.at(kSkinWhite, pic::UPDATE_NO_1), "WHITE_UPDATE_NO_1");
    EXPECT_STREQ(kTopNames.at(kSkinCake, pic::TOP_CLOSE_2), "CAKE_TOP_CLOSE_2");
    // CAKE has no menu icons of its own: its row names the BLACK pictures.
    for (int i = 0; i < pic::kMenuIconCount; ++i)
        EXPECT_STREQ(kMenuIconNames.at(kSkinCake, i), kMenuIconNames.at(kSkinBlack, i));
    EXPECT_STREQ(kMenuIconNames.at(kSkinCake, pic::AUTOMENU_ASSESS), "BLACK_AUTOMENU_ASSESS");
    EXPECT_STREQ(kMenuIconNames.at(kSkinStars, pic::AUTOMENU_PIN), "STARS_AUTOMENU_PIN");
    EXPECT_STREQ(kMapNames.at(kSkinStars, pic::MAP_POS), "BLACK_MAP_POS");
}

}  // namespace
}  // namespace nd
