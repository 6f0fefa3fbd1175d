// The start page's flows against real settings files and workspaces in a
// temporary program directory.
#include "app/start/session.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <fstream>
#include <thread>

#include "app/start/texts.h"
#include "base/gbk.h"
#include "base/testing/temp_dir.h"
#include "session/workspace.h"
#include "store/paths.h"
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

// Waits (bounded) until the loader has finished and the page has moved on
// from loading: to the list, the notice, or the open workspace (1).
int settle(StartSession* s) {
    int rc = 0;
    for (int i = 0; i < 400 && (rc = poll_loading(s)) == 0 && s->state.mode == Mode::kLoading;
         ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return rc;
}

std::string utf8_lines(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += gbk_to_utf8(l) + "\n";
    return all;
}

// What opening mended is shown once, before the workspace is handed over.
TEST_F(Session, WhatOpeningMendedIsShownOnceBeforeTheWorkspaceOpens) {
    take_chosen_path(&s_, EntryPurpose::kNew, "Team");
    ASSERT_EQ(finish_load(), 1);
    const Board* first = find_board(0, 0);
    std::string board = make_path(dir_ + "/Team/", first->key.type, first->key, 0);
    clear_tables();
    std::string bytes;
    {
        std::ifstream in(board, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(board, std::ios::binary | std::ios::trunc) << bytes.substr(0, 500);

    ASSERT_EQ(open_recent(&s_, 0), 0);
    EXPECT_EQ(settle(&s_), 0);
    ASSERT_EQ(s_.state.mode, Mode::kNotice);
    EXPECT_EQ(utf8_lines(s_.state.notice),
              "白板「分类1」的文件不完整，已按可读的部分修复，原文件保存为 " + board + ".bad。\n");
    EXPECT_EQ(start_key(&s_.state, {13, gfx::kKeyChar, 0}), Action{ActionKind::kDismissNotice});
    dismiss_notice(&s_);
    EXPECT_TRUE(s_.state.notice.empty());
    EXPECT_EQ(finish_load(), 1);
    EXPECT_TRUE(take_open_notes().empty());
}

// A damaged settings record is reset to the defaults, password and all: the
// user is told, and where the old record was kept.
TEST_F(Session, ADamagedSettingsRecordIsToldAndWhereItWent) {
    take_chosen_path(&s_, EntryPurpose::kNew, "Team");
    ASSERT_EQ(finish_load(), 1);
    clear_tables();
    std::ofstream(dir_ + "/Team.wk", std::ios::binary | std::ios::trunc) << std::string(2232, 'z');
    ASSERT_EQ(open_recent(&s_, 0), 0);
    EXPECT_EQ(settle(&s_), 0);
    ASSERT_EQ(s_.state.mode, Mode::kNotice);
    ASSERT_EQ(s_.state.notice.size(), 1u);
    EXPECT_EQ(gbk_to_utf8(s_.state.notice[0]),
              "工作区设置文件已损坏，已恢复为默认设置（包括密码）；原文件保存为 " + dir_ +
                  "/Team.wk.bad。");
    dismiss_notice(&s_);
    EXPECT_EQ(finish_load(), 1);
}

// Opening clears what crashed saves left (only what is older than this
// program) and keeps the day's snapshot, before the workspace is read.
TEST_F(Session, OpeningClearsStaleTemporaryFilesAndTakesTheDaysSnapshot) {
    take_chosen_path(&s_, EntryPurpose::kNew, "Team");
    ASSERT_EQ(finish_load(), 1);
    clear_tables();
    const std::string root = dir_ + "/Team/";
    const std::string stale[] = {root + "0/frame/root.frame.tmp4242_7", dir_ + "/Team.wk.tmp4242",
                                 root + "1/case/x.case.tmp4242_9"};
    const std::string fresh = root + "0/frame/root.frame.tmp4243_1";
    const time_t now = time(nullptr);
    for (const std::string& p : stale) {
        std::ofstream(p) << "half a save";
        struct timespec t[2] = {{now - 3600, 0}, {now - 3600, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, p.c_str(), t, 0), 0) << p;
    }
    std::ofstream(fresh) << "a save under way";
    struct timespec later[2] = {{now + 3600, 0}, {now + 3600, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, fresh.c_str(), later, 0), 0);
    std::ofstream(dir_ + "/Other.wk.tmp4242") << "not ours";

    ASSERT_EQ(open_recent(&s_, 0), 0);
    ASSERT_EQ(finish_load(), 1);
    for (const std::string& p : stale) EXPECT_FALSE(exists(p)) << p;
    EXPECT_TRUE(exists(fresh));
    EXPECT_TRUE(exists(dir_ + "/Other.wk.tmp4242"));

    char today[16];
    struct tm lt;
    localtime_r(&now, &lt);
    std::strftime(today, sizeof today, "%Y-%m-%d", &lt);
    const std::string day = dir_ + "/Team.snapshots/" + today;
    EXPECT_TRUE(exists(day + "/0/frame/root.frame"));
    EXPECT_FALSE(exists(day + "/0/frame/root.frame.tmp4243_1"));
}

}  // namespace
}  // namespace nd::start
