// A workspace whose settings record names a skin starts in a skin the
// options page offers, through the real settings loader.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "base/testing/temp_dir.h"
#include "settings/settings.h"
#include "skins/skin.h"

namespace nd {
namespace {

TEST(StoredSkin, SettingsRecordStartsInAnOfferedSkin) {
    nd::testing::TempDir temp("nd_skins");
    const std::string& dir = temp.path();
    ASSERT_FALSE(dir.empty());
    struct Case {
        uint8_t stored, starts;
    };
    const Case cases[] = {{0, 0}, {1, 2}, {2, 2}, {3, 3}, {9, 0}};
    for (const Case& c : cases) {
        std::string path = dir + "/w" + std::to_string(c.stored) + ".wk";
        WorkspaceRecord record;
        default_workspace_settings(record);
        record.skin = c.stored;
        ASSERT_EQ(write_sealed(path, &record, sizeof record), 0);
        WorkspaceSettings ws;
        std::string reason;
        ASSERT_EQ(load_workspace_settings(ws, path, &reason), kWkLoaded) << reason;
        set_current_skin(skin_from_stored(ws.record.skin));
        EXPECT_EQ(current_skin(), c.starts) << int(c.stored);
        close_workspace_settings(ws);
        std::remove(path.c_str());
    }
    set_current_skin(kSkinBlack);
}

}  // namespace
}  // namespace nd
