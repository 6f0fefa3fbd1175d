#include "app/shutdown.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/testing/temp_dir.h"
#include "gfx/window/window.h"

namespace nd {
namespace {

namespace fs = std::filesystem;

class Updater : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.path().empty());
        m_dir = m_temp.path();
    }

    // A stand-in updater that records its arguments only after a pause, so
    // the marker exists on return only if the caller waited for it.
    void write_updater() {
        std::ofstream script(m_dir / "update");
        script << "#!/bin/sh\nsleep 0.3\necho \"$#\" > \"$(dirname \"$0\")/ran\"\n";
        script.close();
        fs::permissions(m_dir / "update", fs::perms::owner_all);
    }
    std::string marker() {
        std::ifstream in(m_dir / "ran");
        std::string s;
        std::getline(in, s);
        return s;
    }
    nd::testing::TempDir m_temp{"nd_updater"};
    fs::path m_dir;
};

TEST_F(Updater, RunsWithNoArgumentsAndIsWaitedFor) {
    write_updater();
    EXPECT_EQ(run_updater(m_dir.c_str()), 0);
    EXPECT_EQ(marker(), "0");
}

TEST_F(Updater, MissingUpdaterIsReportedToTheCallerOnly) {
    EXPECT_EQ(run_updater(m_dir.c_str()), -1);
}

TEST_F(Updater, QuitAndUpdateStartsItAfterTheWindowClosed) {
    write_updater();
    gfx::force_headless(true);
    ASSERT_EQ(gfx::open_window(8, 8, 0x19), 0);
    App app;
    std::strcpy(app.ProgramDir, m_dir.c_str());
    app.RunState = kQuitAndUpdate;
    EXPECT_EQ(shut_down(app), 0);
    EXPECT_FALSE(gfx::window_alive());
    EXPECT_EQ(marker(), "0");
}

TEST_F(Updater, PlainQuitDoesNotStartIt) {
    write_updater();
    App app;
    std::strcpy(app.ProgramDir, m_dir.c_str());
    app.RunState = kQuit;
    EXPECT_EQ(shut_down(app), 0);
    EXPECT_FALSE(fs::exists(m_dir / "ran"));
}

}  // namespace
}  // namespace nd
