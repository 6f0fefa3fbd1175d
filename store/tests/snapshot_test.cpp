// Daily snapshots: taken once a day as hard links, the last seven kept, and
// a restore that brings a deleted category back whole.
#include "store/snapshots.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <mutex>

#include "base/file_io.h"
#include "base/file_tree.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tests/workspace_fixture.h"

namespace nd {
namespace {

using testing::read_all;
using testing::snapshot;

class Snapshots : public testing::WorkspaceTest {
protected:
    // A workspace with the category "doomed" holding two Cases with content.
    void SetUp() override {
        testing::WorkspaceTest::SetUp();
        ASSERT_EQ(load_workspace(), kLoadNew);
        ASSERT_EQ(add_board("doomed", nullptr, 0, -1).board, 1);
        for (const char* t : {"one", "two"})
            testing::add_case_with_text(t, 0, 1, std::string("all about ") + t + "\n");
        clear_tables();
    }
    std::string today() {
        time_t now = std::time(nullptr);
        struct tm lt;
        localtime_r(&now, &lt);
        char buf[16];
        std::strftime(buf, sizeof buf, "%Y-%m-%d", &lt);
        return buf;
    }
    ino_t inode(const std::string& path) {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return st.st_ino;
    }
};

TEST_F(Snapshots, TakenOnceADayAsLinksAndTheLastSevenKept) {
    std::string reason;
    ASSERT_EQ(take_daily_snapshot(root, &reason), kSnapshotTaken) << reason;
    const std::string day = snapshots_dir(root) + today() + "/";
    EXPECT_EQ(snapshots_dir(root), dir + "/ws.snapshots/");
    EXPECT_EQ(inode(day + "0/frame/root.frame"), inode(root + "0/frame/root.frame"));
    EXPECT_EQ(take_daily_snapshot(root, &reason), kSnapshotHadOne);

    // A save replaces the file; the snapshot keeps what it had.
    const std::string before = read_all(root + "0/frame/root.frame");
    ASSERT_EQ(load_workspace(), kLoadOk);  // the second opening rewrites root.frame
    EXPECT_NE(read_all(root + "0/frame/root.frame"), before);
    EXPECT_EQ(read_all(day + "0/frame/root.frame"), before);

    for (const char* old : {"2020-01-01", "2020-01-02", "2020-01-03", "2020-01-04", "2020-01-05",
                            "2020-01-06", "2020-01-07", "2020-01-08"})
        ASSERT_EQ(take_snapshot(root, old, &reason), 0) << reason;
    ASSERT_TRUE(remove_tree(day));
    ASSERT_EQ(take_daily_snapshot(root, &reason), kSnapshotTaken) << reason;
    std::vector<SnapshotInfo> kept = list_snapshots(root);
    ASSERT_EQ(kept.size(), 7u);
    EXPECT_EQ(kept.front().name, "2020-01-03");
    EXPECT_EQ(kept.back().name, today());
    for (const SnapshotInfo& s : kept) EXPECT_EQ(s.cases, 2) << s.name;
}

// One click deleted a category and its Cases; the snapshot brings every Case
// back byte for byte, and what the workspace held just before is kept too.
TEST_F(Snapshots, RestoreBringsADeletedCategoryBack) {
    const std::string whole = snapshot(root);
    std::string reason;
    ASSERT_EQ(take_daily_snapshot(root, &reason), kSnapshotTaken) << reason;
    ASSERT_EQ(load_workspace(), kLoadOk);
    ASSERT_EQ(delete_board(0, 1), 0);
    ASSERT_EQ(add_board("in its place", nullptr, 0, -1).board, 1);
    const std::string after_delete = snapshot(root);
    clear_tables();

    std::string kept;
    ASSERT_EQ(restore_snapshot(root, today(), &kept, &reason), 0) << reason;
    EXPECT_TRUE(snapshot(root) == whole);
    ASSERT_EQ(load_workspace(), kLoadOk);
    ASSERT_NE(find_board(0, 1), nullptr);
    EXPECT_STREQ(find_board(0, 1)->name, "doomed");
    EXPECT_STREQ(find_case_body(0, 1, 1)->text, "all about two\n");
    clear_tables();

    // The state before the restore is a snapshot of its own, and restores.
    ASSERT_EQ(kept.compare(0, 11, today() + "-"), 0) << kept;
    ASSERT_EQ(restore_snapshot(root, kept, nullptr, &reason), 0) << reason;
    EXPECT_TRUE(snapshot(root) == after_delete);
    EXPECT_NE(restore_snapshot(root, "1999-01-01", nullptr, &reason), 0);
    EXPECT_NE(reason.find("no snapshot 1999-01-01"), std::string::npos) << reason;
}

}  // namespace
}  // namespace nd
