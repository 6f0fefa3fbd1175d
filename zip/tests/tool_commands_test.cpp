// nodrel-tool pack and unpack, run as a user runs them.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/testing/temp_dir.h"

extern char** environ;

namespace {

int run_tool(std::vector<std::string> args) {
    args.insert(args.begin(), ND_TOOL_BIN);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return -1;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class ToolCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir.empty()); }
    std::string file(const char* name) { return temp.file(name); }
    nd::testing::TempDir temp{"nd_zip_tool"};
    const std::string& dir = temp.path();
};

TEST_F(ToolCommands, PackAndUnpackRoundTripAtAnyBlockSize) {
    std::string program;
    for (int i = 0; i < 200000; ++i) program += static_cast<char>(i % 251 < 120 ? 'a' + i % 7 : i);
    std::ofstream(file("nodrel"), std::ios::binary) << program;
    for (const char* block : {"65536", "1000", "1"}) {
        SCOPED_TRACE(block);
        ASSERT_EQ(run_tool({"pack", file("nodrel"), file("r.BIN"), "--block", block}), 0);
        ASSERT_EQ(run_tool({"unpack", file("r.BIN"), file("back")}), 0);
        EXPECT_EQ(read_all(file("back")), program);
    }
}

TEST_F(ToolCommands, BadArgumentsAndDamagedInputs) {
    std::ofstream(file("in"), std::ios::binary) << "some bytes";
    std::ofstream(file("keep"), std::ios::binary) << "existing output";
    // A coded-looking block whose first token copies from an empty window.
    std::ofstream(file("bad.BIN"), std::ios::binary) << std::string("\x10\x00\x02\x00\x80\x00", 6);
    const struct {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"pack", file("in")}, 2},
        {{"pack", file("in"), file("o"), "--block", "0"}, 2},
        {{"pack", file("in"), file("o"), "--block", "65537"}, 2},
        {{"unpack", file("in")}, 2},
        {{"pack", file("missing"), file("o")}, 1},
        {{"unpack", file("missing"), file("o")}, 1},
        {{"unpack", file("in"), file("keep")}, 1},
        {{"unpack", file("bad.BIN"), file("keep")}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 2 ? c.args.back() : ""));
        EXPECT_EQ(run_tool(c.args), c.status);
    }
    // A failed unpack never touches an existing output.
    EXPECT_EQ(read_all(file("keep")), "existing output");
}

}  // namespace
