#include "board/main_view.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/testing/temp_dir.h"
#include "session/workspace.h"
#include "settings/settings.h"

namespace nd {
namespace {

namespace fs = std::filesystem;

// Leaving the view puts the workspace's view fields back to their resting
// values in the .wk file, whatever the session left in them.
TEST(MainViewExit, ResetsTheViewFieldsOfTheWorkspaceAndSavesThem) {
    nd::testing::TempDir dir("nd_main_view");
    ASSERT_FALSE(dir.path().empty());
    const std::string wk = dir / "View.wk";
    std::string reason;
    WorkspaceSettings& ws = open_workspace_settings();
    ASSERT_GE(load_workspace_settings(ws, wk, &reason), 0) << reason;
    ws.record.value28 = 11;
    ws.record.value32 = 12;
    ws.record.value36 = 13;
    ws.record.value40 = 14;
    ws.record.last_board = 2;
    ASSERT_EQ(save_workspace_settings(ws), 0);

    App app;
    board_view_steps().destroy(create_main_view(app), app);
    close_workspace_settings(ws);

    WorkspaceRecord stored{};
    ASSERT_EQ(read_sealed(wk, &stored, sizeof stored), 0);
    EXPECT_EQ(stored.value28, 0);
    EXPECT_EQ(stored.value32, 6);
    EXPECT_EQ(stored.value36, 0);
    EXPECT_EQ(stored.value40, 0);
    // The board the view showed: the one it was opened on.
    EXPECT_EQ(stored.last_board, 2);
}

}  // namespace
}  // namespace nd
