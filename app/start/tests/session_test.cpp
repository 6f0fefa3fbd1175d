// The start page's flows against real settings files and workspaces in a
// temporary program directory.
#include "app/start/session.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "app/start/texts.h"
#include "base/testing/temp_dir.h"
#include "store/tables.h"

namespace nd::start {
namespace {

bool exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

class Session : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir_.empty());
        ASSERT_EQ(load_recent(recent_, dir_ + "/table.cfg"), 0);
        s_.recent = &recent_;
        s_.workspaces_dir = dir_;
        refresh_rows(&s_);
    }
    void TearDown() override {
        finish_load();
        clear_tables();
    }
    // Waits for the loader (bounded) and gives back what poll_loading says;
    // a finished load's lock is let go so the next step can take it.
    int finish_load() {
        if (!s_.job) return -1;
        int rc = 0;
        for (int i = 0; i < 400 && (rc = poll_loading(&s_)) == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        if (rc == 1) close_workspace_settings(s_.job->settings);
        s_.job.reset();
        return rc;
    }
    // A workspace file made and let go, as if opened once before.
    std::string make_wk(const std::string& name) {
        WorkspaceSettings ws;
        std::string path = dir_ + "/" + name;
        EXPECT_GE(load_workspace_settings(ws, path, nullptr), 0);
        close_workspace_settings(ws);
        return path;
    }
    std::string name_at(int i) { return recent_.table.entries[i].name; }
    std::string path_at(int i) { return recent_.table.entries[i].path; }

    nd::testing::TempDir temp_{"nd_start"};
    const std::string& dir_ = temp_.path();
    RecentList recent_;
    StartSession s_;
};

TEST_F(Session, NewTeamMakesTheFileTheTreeAndASavedEntry) {
    take_chosen_path(&s_, EntryPurpose::kNew, "Team");
    ASSERT_EQ(s_.state.mode, Mode::kLoading);
    ASSERT_EQ(finish_load(), 1);
    EXPECT_TRUE(exists(dir_ + "/Team.wk"));
    EXPECT_TRUE(exists(dir_ + "/Team/0/frame/root.frame"));
    EXPECT_EQ(Tables.groups.count, 1u);

    RecentList on_disk;
    ASSERT_EQ(load_recent(on_disk, dir_ + "/table.cfg"), 0);
    ASSERT_EQ(on_disk.table.count, 1);
    EXPECT_STREQ(on_disk.table.entries[0].name, "Team");
    EXPECT_EQ(std::string(on_disk.table.entries[0].path), dir_ + "/Team.wk");

    // The second opening completes the default groups.
    clear_tables();
    ASSERT_EQ(open_recent(&s_, 0), 0);
    ASSERT_EQ(finish_load(), 1);
    EXPECT_EQ(Tables.groups.count, 3u);
    EXPECT_EQ(recent_.table.count, 1);
}

TEST_F(Session, ExtensionRulesOnNewAndOpen) {
    make_wk("a.b.wk");
    take_chosen_path(&s_, EntryPurpose::kOpen, dir_ + "/a.b.wk");
    EXPECT_EQ(recent_.table.count, 0);
    EXPECT_EQ(s_.state.mode, Mode::kList);
    EXPECT_FALSE(s_.job);

    take_chosen_path(&s_, EntryPurpose::kNew, dir_ + "/a.b");
    ASSERT_EQ(finish_load(), 1);
    ASSERT_EQ(recent_.table.count, 1);
    EXPECT_EQ(path_at(0), dir_ + "/a.b.wk");
    EXPECT_EQ(name_at(0), "a.b");
}

TEST_F(Session, OpeningAListedWorkspaceMovesItUpWithoutASecondEntry) {
    for (const char* name : {"w1.wk", "w2.wk", "w3.wk", "w4.wk", "w5.wk"}) {
        std::string path = make_wk(name);
        ASSERT_GE(add_recent(recent_, path.c_str(), name), 0);
    }
    refresh_rows(&s_);
    take_chosen_path(&s_, EntryPurpose::kOpen, dir_ + "/w5.wk");
    ASSERT_EQ(finish_load(), 1);
    ASSERT_EQ(recent_.table.count, 5);
    const char* order[] = {"w5", "w1", "w2", "w3", "w4"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(name_at(i), order[i]) << i;
    EXPECT_EQ(s_.state.list.selected, 0);
}

TEST_F(Session, ANewWorkspaceReplacesTheTwentiethOfAFullList) {
    for (int i = 0; i < 20; ++i) {
        std::string name = "w";
        name += std::to_string(i);
        name += ".wk";
        ASSERT_GE(add_recent(recent_, (dir_ + "/" + name).c_str(), name.c_str()), 0);
    }
    refresh_rows(&s_);
    take_chosen_path(&s_, EntryPurpose::kNew, dir_ + "/Fresh");
    ASSERT_EQ(finish_load(), 1);
    ASSERT_EQ(recent_.table.count, 20);
    EXPECT_EQ(name_at(0), "Fresh");
    EXPECT_EQ(name_at(1), "w0");
    EXPECT_EQ(name_at(19), "w18");
}

TEST_F(Session, AWorkspaceHeldElsewhereIsNotOpened) {
    std::string path = make_wk("Team.wk");
    WorkspaceSettings other;  // another program's hold on it
    ASSERT_GE(load_workspace_settings(other, path, nullptr), 0);
    ASSERT_GE(add_recent(recent_, path.c_str(), "Team.wk"), 0);

    // Marked in use at start: choosing it only selects it.
    refresh_recent_flags(recent_);
    refresh_rows(&s_);
    ASSERT_TRUE(s_.rows[0].in_use);
    take_chosen_path(&s_, EntryPurpose::kOpen, path);
    EXPECT_FALSE(s_.job);
    EXPECT_EQ(s_.state.list.selected, 0);
    EXPECT_TRUE(selected_in_use(s_.state, s_.rows));

    // Taken after the start: the loader finds the lock and the page returns
    // to the list with the in-use message.
    recent_.table.entries[0].in_use = 0;
    refresh_rows(&s_);
    ASSERT_EQ(open_recent(&s_, 0), 0);
    EXPECT_EQ(finish_load(), -1);
    EXPECT_EQ(s_.state.mode, Mode::kList);
    EXPECT_EQ(s_.state.message, start_text::kInUseMessage);
    EXPECT_TRUE(s_.rows[0].in_use);
    close_workspace_settings(other);
}

TEST_F(Session, AFailedLoadNamesTheFileAndLetsTheWorkspaceGo) {
    std::string path = make_wk("Broken.wk");
    for (const char* sub : {"/Broken", "/Broken/0", "/Broken/0/frame"}) {
        ASSERT_EQ(mkdir((dir_ + sub).c_str(), 0777), 0);
    }
    std::ofstream(dir_ + "/Broken/0/frame/root.frame") << "not a group table";
    ASSERT_GE(add_recent(recent_, path.c_str(), "Broken.wk"), 0);
    refresh_rows(&s_);
    ASSERT_EQ(open_recent(&s_, 0), 0);
    EXPECT_EQ(finish_load(), -1);
    EXPECT_EQ(s_.state.mode, Mode::kList);
    EXPECT_FALSE(s_.state.message.empty());
    EXPECT_NE(s_.state.detail.find("Broken"), std::string::npos) << s_.state.detail;
    EXPECT_EQ(workspace_in_use(path), 0);
    // Nothing was made over the damaged file.
    std::ifstream in(dir_ + "/Broken/0/frame/root.frame");
    std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, "not a group table");
}

TEST_F(Session, OpenRefusesAPathThatDoesNotExistAndNewRefusesOneTooLong) {
    take_chosen_path(&s_, EntryPurpose::kOpen, dir_ + "/Missing.wk");
    EXPECT_FALSE(s_.job);
    EXPECT_EQ(recent_.table.count, 0);
    EXPECT_EQ(s_.state.message, start_text::kOpenFailed);
    EXPECT_FALSE(exists(dir_ + "/Missing.wk"));

    take_chosen_path(&s_, EntryPurpose::kNew, dir_ + "/" + std::string(300, 'x'));
    EXPECT_FALSE(s_.job);
    EXPECT_EQ(recent_.table.count, 0);
    EXPECT_EQ(s_.state.message, start_text::kPathTooLong);
}

}  // namespace
}  // namespace nd::start
