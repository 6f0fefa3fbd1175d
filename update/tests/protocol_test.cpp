#include "update/protocol.h"

#include <gtest/gtest.h>

#include <cstring>

#include "update/products.h"

namespace nd {
namespace {

TEST(VersionRule, InstallsOnlyNewerReleasesOfTheSameMajor) {
    const struct {
        Version installed, offered;
        bool update;
    } cases[] = {
        {{1, 2, 3}, {1, 2, 4}, true},
        {{1, 2, 3}, {1, 2, 3}, false},
        {{1, 2, 3}, {1, 1, 9}, false},
        {{1, 2, 3}, {2, 0, 0}, false},  // a higher major is never installed
        {{1, 2, 3}, {1, 3, 0}, true},
        {{1, 2, 3}, {0, 9, 9}, false},
        // Major numbers this large wrap a 32-bit version number.
        {{5000, 0, 0}, {5000, 0, 1}, true},
        {{5000, 0, 1}, {4295, 0, 0}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(offers_update(c.installed, c.offered), c.update)
            << version_text(c.installed) << " -> " << version_text(c.offered);
}

TEST(ReleaseSize, BoundedBeforeAnyAllocation) {
    EXPECT_EQ(release_size(2, 50), 250);
    EXPECT_EQ(release_size(0, 7), 7);
    EXPECT_EQ(release_size(static_cast<uint32_t>(kMaxReleaseBytes / 100), 0),
              static_cast<int64_t>(kMaxReleaseBytes / 100 * 100));
    EXPECT_EQ(release_size(static_cast<uint32_t>(kMaxReleaseBytes / 100), 99), -1);
    EXPECT_EQ(release_size(0xFFFFFFFFu, 0xFFFFFFFFu), -1);
}

TEST(HelloRecord, CarriesKindProgramProductAndFlag) {
    const HelloRecord h = make_hello(2, 0x5A);
    EXPECT_EQ(hello_installed_version(h), Version{});
    uint8_t bytes[164];
    std::memcpy(bytes, &h, sizeof bytes);
    for (int i = 0; i < 164; ++i) {
        SCOPED_TRACE(i);
        if (i == 100)
            EXPECT_EQ(bytes[i], 2);
        else if (i >= 108 && i < 115)
            EXPECT_EQ(bytes[i], static_cast<uint8_t>("update"[i - 108]));
        else if (i == 156)
            EXPECT_EQ(bytes[i], 2);
        else if (i == 157)
            EXPECT_EQ(bytes[i], 0x5A);
        else
            EXPECT_EQ(bytes[i], 0);
    }
}

TEST(VersionReply, LittleEndianFields) {
    uint8_t bytes[kVersionReplySize];
    encode_version_reply({1, 2, 0x01020304}, 99, bytes);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[8], 0x04);
    EXPECT_EQ(bytes[11], 0x01);
    EXPECT_EQ(bytes[12], 99);
    EXPECT_EQ(decode_version_reply(bytes), (Version{1, 2, 0x01020304}));
}

TEST(ProductTable, RowsAndDownloadPaths) {
    const ProductRow* nodrel = find_product(2);
    ASSERT_NE(nodrel, nullptr);
    EXPECT_STREQ(nodrel->program_name, "nodrel");
    EXPECT_STREQ(nodrel->backup_name, "prev");
    EXPECT_EQ(download_path(*nodrel, {3, 1, 2}), "tw/3/1.2.BIN");
    EXPECT_EQ(download_path(*find_product(0), {3, 1, 2}), "tw/3/1.2.BIN");
    EXPECT_EQ(download_path(*find_product(10), {1, 0, 7}), "dunmere/1/0.7.BIN");
    for (int type : {5, 8, 9, 11, 255}) EXPECT_EQ(find_product(type), nullptr) << type;
}

}  // namespace
}  // namespace nd
