#include "app/shutdown.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/restart.h"
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
    EXPECT_EQ(shut_down(app, {}), 0);
    EXPECT_FALSE(gfx::window_alive());
    EXPECT_EQ(marker(), "0");
}

// What the updater does to the program file, and whether the program comes
// back. The exit runs in a child process, since a program that comes back
// takes the place of the process it ran in.
TEST_F(Updater, TheProgramComesBackOnlyWhenTheUpdaterReplacedIt) {
    // The new program records its process, arguments, directory and whether
    // descriptor 42 of the old process reached it.
    const std::string new_program =
        "#!/bin/sh\n"
        "fd=closed; [ -e /proc/$$/fd/42 ] && fd=open\n"
        "echo \"$$ $* $(pwd) $fd\" > came_back\n"
        "exit 7\n";
    struct Case {
        const char* name;
        // The updater's script after "#!/bin/sh\n"; it runs in the program
        // directory.
        std::string updater;
        bool comes_back;
    };
    const Case cases[] = {
        {"a new program is renamed into place",
         "printf '%s' '" + new_program +
             "' > nodrel.new && chmod 755 nodrel.new && "
             "mv nodrel.new nodrel\n",
         true},
        {"the updater found nothing newer", "exit 0\n", false},
        {"the new program cannot run", "rm nodrel && echo garbage > nodrel\n", false},
        {"no updater", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        std::ofstream(m_dir / "nodrel") << "#!/bin/sh\nexit 5\n";
        fs::permissions(m_dir / "nodrel", fs::perms::owner_all);
        if (!c.updater.empty()) {
            std::ofstream(m_dir / "update") << "#!/bin/sh\n" << c.updater;
            fs::permissions(m_dir / "update", fs::perms::owner_all);
        }
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // A descriptor the program holds without close-on-exec.
            const int fd = open(m_dir.c_str(), O_RDONLY | O_DIRECTORY);
            if (fd < 0 || dup2(fd, 42) != 42 || chdir(m_dir.c_str()) != 0) _exit(100);
            App app;
            std::strcpy(app.ProgramDir, m_dir.c_str());
            app.RunState = kQuitAndUpdate;
            _exit(shut_down(app, {"-test", "two"}) == 0 ? 3 : 4);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (c.comes_back) {
            EXPECT_EQ(WEXITSTATUS(status), 7);
            std::ifstream in(m_dir / "came_back");
            std::string line;
            std::getline(in, line);
            EXPECT_EQ(line, std::to_string(child) + " -test two " + m_dir.string() + " closed");
        } else {
            EXPECT_EQ(WEXITSTATUS(status), 3);
            EXPECT_FALSE(fs::exists(m_dir / "came_back"));
        }
    }
}

TEST(ProgramIdentity, AnyChangeOfTheFileCounts) {
    FileIdentity before;
    before.exists = true;
    before.device = 1;
    before.inode = 2;
    before.size = 3;
    before.modified = {4, 5};
    struct Case {
        const char* name;
        void (*change)(FileIdentity&);
        bool replaced;
    };
    const Case cases[] = {
        {"unchanged", [](FileIdentity&) {}, false},
        {"gone", [](FileIdentity& f) { f.exists = false; }, false},
        {"other device", [](FileIdentity& f) { f.device = 9; }, true},
        {"other inode", [](FileIdentity& f) { f.inode = 9; }, true},
        {"other size", [](FileIdentity& f) { f.size = 9; }, true},
        {"other second", [](FileIdentity& f) { f.modified.tv_sec = 9; }, true},
        {"other nanosecond", [](FileIdentity& f) { f.modified.tv_nsec = 9; }, true},
    };
    for (const Case& c : cases) {
        FileIdentity after = before;
        c.change(after);
        EXPECT_EQ(program_replaced(before, after), c.replaced) << c.name;
    }
    // A program file that appears where there was none is a new program.
    EXPECT_TRUE(program_replaced(FileIdentity{}, before));
}

TEST_F(Updater, PlainQuitDoesNotStartIt) {
    write_updater();
    App app;
    std::strcpy(app.ProgramDir, m_dir.c_str());
    app.RunState = kQuit;
    EXPECT_EQ(shut_down(app, {}), 0);
    EXPECT_FALSE(fs::exists(m_dir / "ran"));
}

}  // namespace
}  // namespace nd
