// The contact-sheet command, run as the real nodrel-tool.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/testing/temp_dir.h"
#include "gfx/gfx.h"
#include "skins/palette.h"

extern char** environ;

namespace nd {
namespace {

int run_tool(std::vector<std::string> args) {
    args.insert(args.begin(), ND_TOOL_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, ND_TOOL_PATH, nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

class ContactSheet : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.empty()); }
    nd::testing::TempDir temp_{"nd_sheet"};
    const std::string& dir_ = temp_.path();
};

TEST_F(ContactSheet, DrawsTheSkinOnItsPageColour) {
    std::string out = dir_ + "/white.png";
    ASSERT_EQ(run_tool({"contact-sheet", "white", out}), 0);
    gfx::IMAGE* sheet = gfx::new_image(1, 1);
    ASSERT_EQ(gfx::getimage(sheet, out.c_str()), gfx::kOk);
    EXPECT_EQ(sheet->width, 1600);
    EXPECT_GT(sheet->height, 1000);
    EXPECT_EQ(gfx::get_pixel(1, 1, sheet), palette_color(kPalPageBackground, 3));
    // Something besides the page colour was drawn.
    size_t drawn = 0;
    for (uint32_t px : sheet->pixels) drawn += px != palette_color(kPalPageBackground, 3);
    EXPECT_GT(drawn, sheet->pixels.size() / 20);
    gfx::delete_image(sheet);
}

TEST_F(ContactSheet, BadArgumentsAndUnwritableOutput) {
    std::string out = dir_ + "/x.png";
    EXPECT_EQ(run_tool({"contact-sheet", "PURPLE", out}), 2);
    EXPECT_EQ(run_tool({"contact-sheet", "BLACK"}), 2);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(run_tool({"contact-sheet", "2", dir_ + "/no/such/dir/x.png"}), 1);
}

}  // namespace
}  // namespace nd
