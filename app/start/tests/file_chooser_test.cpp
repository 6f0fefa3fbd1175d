#include "app/start/file_chooser.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/testing/temp_dir.h"

namespace nd::start {
namespace {

TEST(FileChooser, NewAsksToSaveWithOverwriteConfirmation) {
    std::vector<std::string> args = chooser_arguments(EntryPurpose::kNew, "/p/workspace");
    std::vector<std::string> expected = {
        "--file-selection",
        "--save",
        "--confirm-overwrite",
        "--title=新建「工作区」...",
        "--file-filter=「工作区」文件(*.wk) | *.wk",
        "--filename=/p/workspace/",
    };
    EXPECT_EQ(args, expected);
}

TEST(FileChooser, OpenAsksForAnExistingFile) {
    std::vector<std::string> args = chooser_arguments(EntryPurpose::kOpen, "/p/workspace/");
    std::vector<std::string> expected = {
        "--file-selection",
        "--title=读取「工作区」...",
        "--file-filter=「工作区」文件(*.wk) | *.wk",
        "--filename=/p/workspace/",
    };
    EXPECT_EQ(args, expected);
}

class FakeChooser : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.empty()); }
    // A stand-in chooser that records its arguments one a line.
    std::string script(const std::string& body) {
        std::string path = dir_ + "/chooser";
        std::ofstream(path) << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > " << dir_
                            << "/args\n"
                            << body << "\n";
        chmod(path.c_str(), 0755);
        return path;
    }
    ChooserState run(const std::string& program, std::string* path) {
        ChooserRun run;
        EXPECT_EQ(chooser_start(&run, program, {"--title=a b", "*.wk"}), 0);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        ChooserState state = ChooserState::kPending;
        while ((state = chooser_poll(&run, path)) == ChooserState::kPending &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return state;
    }
    nd::testing::TempDir temp_{"nd_chooser"};
    const std::string& dir_ = temp_.path();
};

TEST_F(FakeChooser, ReportsTheChosenPathAndPassesArgumentsUnsplit) {
    std::string path;
    EXPECT_EQ(run(script("echo '/w/新 Team'; sleep 0.1"), &path), ChooserState::kChosen);
    EXPECT_EQ(path, "/w/新 Team");
    std::stringstream args;
    args << std::ifstream(dir_ + "/args").rdbuf();
    EXPECT_EQ(args.str(), "--title=a b\n*.wk\n");
}

TEST_F(FakeChooser, CancelAndFailuresChooseNothing) {
    struct Case {
        const char* body;
    } cases[] = {
        {"exit 1"},                   // the user cancelled
        {"echo /w/Team.wk; exit 5"},  // the program failed after printing
        {"exit 0"},                   // it ended without a path
        {"kill -9 $$"},               // it died
    };
    for (const Case& c : cases) {
        std::string path = "untouched";
        EXPECT_EQ(run(script(c.body), &path), ChooserState::kCancelled) << c.body;
        EXPECT_EQ(path, "untouched") << c.body;
    }
}

TEST_F(FakeChooser, AMissingProgramCannotStart) {
    ChooserRun run;
    EXPECT_EQ(chooser_start(&run, dir_ + "/missing", {}), -1);
    std::string path;
    EXPECT_EQ(chooser_poll(&run, &path), ChooserState::kCancelled);
}

TEST_F(FakeChooser, EnvironmentNamesTheProgram) {
    setenv("ND_FILE_CHOOSER", "/opt/pick", 1);
    EXPECT_EQ(chooser_program(), "/opt/pick");
    unsetenv("ND_FILE_CHOOSER");
    // Without the override the program comes from PATH, or there is none.
    std::string saved_path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", dir_.c_str(), 1);
    EXPECT_EQ(chooser_program(), "");
    std::string zenity = dir_ + "/zenity";
    std::ofstream(zenity) << "#!/bin/sh\n";
    chmod(zenity.c_str(), 0755);
    EXPECT_EQ(chooser_program(), zenity);
    setenv("PATH", saved_path.c_str(), 1);
}

}  // namespace
}  // namespace nd::start
