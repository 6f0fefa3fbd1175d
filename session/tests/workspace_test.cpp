#include "session/workspace.h"

#include <gtest/gtest.h>

#include "base/testing/temp_dir.h"

namespace nd {
namespace {

// What the views store through the session reaches the .wk file, and the
// session holds the workspace's lock until it lets go.
TEST(OpenWorkspace, StoresReachTheFileAndTheLockIsHeldUntilReleased) {
    testing::TempDir dir("nd_session");
    ASSERT_FALSE(dir.path().empty());
    const std::string wk = dir / "W.wk";
    WorkspaceSettings loaded;
    std::string reason;
    ASSERT_EQ(load_workspace_settings(loaded, wk, &reason), kWkCreated) << reason;
    adopt_open_workspace(loaded, true);
    EXPECT_EQ(loaded.file, -1) << "the lock moved to the session";
    EXPECT_TRUE(workspace_created_this_run());
    EXPECT_EQ(workspace_in_use(wk), 1);

    ASSERT_EQ(store_window_size(1200, 700), 0);
    store_workspace_skin(3);
    // 31 bytes fit the field; the pair at bytes 30-31 does not.
    const std::string password = std::string(30, 'p') + "\xD6\xD0";
    ASSERT_EQ(store_workspace_password(password.c_str()), 0);
    int width = 0, height = 0;
    ASSERT_TRUE(stored_window_size(&width, &height));
    EXPECT_EQ(width, 1200);
    EXPECT_EQ(height, 700);

    WorkspaceRecord on_disk{};
    ASSERT_EQ(read_sealed(wk, &on_disk, sizeof on_disk), 0);
    EXPECT_EQ(on_disk.width, 1200);
    EXPECT_EQ(on_disk.height, 700);
    EXPECT_EQ(on_disk.skin, 3);
    EXPECT_EQ(std::string(on_disk.password), std::string(30, 'p'));

    release_open_workspace();
    EXPECT_EQ(workspace_in_use(wk), 0);
    EXPECT_EQ(save_open_workspace(), -1) << "without the lock nothing is written";
}

}  // namespace
}  // namespace nd
