#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/testing/temp_dir.h"

namespace nd {
namespace {

namespace fs = std::filesystem;

TEST(Startup, OnlyTheFirstArgumentCounts) {
    struct Case {
        std::vector<const char*> args;
        int32_t test_mode;
    };
    const Case cases[] = {
        {{"nodrel"}, 0},
        {{"nodrel", "-test"}, 1},
        {{"nodrel", "-local"}, 0},
        {{"nodrel", "-x"}, 0},
        {{"nodrel", "-TEST"}, 0},
        {{"nodrel", "-local", "-test"}, 0},
        {{"nodrel", "-test", "-local"}, 1},
    };
    for (const Case& c : cases) {
        App app;
        app.ActiveFps = 60;
        std::vector<char*> argv;
        for (const char* a : c.args) argv.push_back(const_cast<char*>(a));
        read_command_line(app, static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(app.TestMode, c.test_mode) << c.args.back();
        EXPECT_EQ(app.ActiveFps, c.test_mode ? 30 : 60) << c.args.back();
    }
}

// Runs the body with a fresh directory as the current directory and TMPDIR.
class InFreshDir : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.path().empty());
        m_dir = m_temp.path();
        m_old_cwd = fs::current_path();
        fs::current_path(m_dir);
        const char* tmp = std::getenv("TMPDIR");
        m_old_tmp = tmp ? tmp : "";
        m_had_tmp = tmp != nullptr;
        fs::create_directory(m_dir / "tmp");
        setenv("TMPDIR", (m_dir / "tmp").c_str(), 1);
    }
    void TearDown() override {
        fs::current_path(m_old_cwd);
        if (m_had_tmp) {
            setenv("TMPDIR", m_old_tmp.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }
    nd::testing::TempDir m_temp{"nd_startup"};
    fs::path m_dir;
    fs::path m_old_cwd;
    std::string m_old_tmp;
    bool m_had_tmp = false;
};

TEST_F(InFreshDir, StartUpFixesPathsAndMakesDirectories) {
    App app;
    std::string reason;
    char arg0[] = "nodrel";
    char* argv[] = {arg0, nullptr};
    ASSERT_EQ(start_up(app, 1, argv, &reason), 0) << reason;
    const std::string dir = fs::canonical(m_dir).string();
    EXPECT_EQ(std::string(app.ProgramDir), dir);
    EXPECT_EQ(std::string(app.WorkspacesDir), dir + "/workspace");
    EXPECT_EQ(std::string(app.TableCfgPath), dir + "/table.cfg");
    EXPECT_EQ(std::string(app.ConfigCfgPath), dir + "/config.cfg");
    EXPECT_TRUE(fs::is_directory(app.WorkspacesDir));
    const std::string temp = (m_dir / "tmp").string() + "/{0319-0407-0119-0418-dc85ec87209e}/";
    EXPECT_EQ(app.TempDir, temp);
    EXPECT_EQ(app.ScratchPath, temp + "{0407-0319-nd20101120e9}");
    EXPECT_TRUE(fs::is_directory(temp));
    EXPECT_EQ(app.MaxBoardsPerGroup, 80);
    EXPECT_EQ(app.MaxCasesPerBoard, 80);
    EXPECT_EQ(app.MaxLinksPerCase, 70);

    // A second start finds everything in place.
    App again;
    ASSERT_EQ(start_up(again, 1, argv, &reason), 0) << reason;
}

TEST_F(InFreshDir, UnusableTemporaryDirectoryFallsBackToTmp) {
    setenv("TMPDIR", (m_dir / "no" / "such").c_str(), 1);
    App app;
    std::string reason;
    ASSERT_EQ(prepare_temp_dir(app, &reason), 0) << reason;
    EXPECT_EQ(app.TempDir, "/tmp/{0319-0407-0119-0418-dc85ec87209e}/");
}

TEST_F(InFreshDir, ProgramDirectoryTooLongIsRefused) {
    // Deep enough that "<dir>/workspace" cannot fit the 260-byte path fields.
    fs::path deep = m_dir;
    while (deep.string().size() < 300) deep /= "abcdefghijklmnopqrstuvwxyz";
    fs::create_directories(deep);
    fs::current_path(deep);
    App app;
    std::string reason;
    EXPECT_EQ(fix_paths(app, &reason), -1);
    EXPECT_FALSE(reason.empty());
}

}  // namespace
}  // namespace nd
