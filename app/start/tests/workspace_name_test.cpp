#include "app/start/workspace_name.h"

#include <gtest/gtest.h>

namespace nd::start {
namespace {

TEST(WorkspaceName, NewAppendsTheExtensionUnlessTheNameEndsInIt) {
    struct Case {
        const char* chosen;
        const char* expected;
    } cases[] = {
        {"/home/u/Team", "/home/u/Team.wk"},
        {"/home/u/Team.wk", "/home/u/Team.wk"},
        {"/home/u/a.b", "/home/u/a.b.wk"},
        {"/home/u/a.b.wk", "/home/u/a.b.wk"},
        {"/home/u/Team.WK", "/home/u/Team.WK.wk"},
        {"/home/my.dir/Team", "/home/my.dir/Team.wk"},
        {"Team", "Team.wk"},
    };
    for (const Case& c : cases) {
        std::string path;
        ASSERT_EQ(path_for_new_workspace(c.chosen, &path), 0) << c.chosen;
        EXPECT_EQ(path, c.expected) << c.chosen;
    }
}

TEST(WorkspaceName, NewRefusesAPathWithoutAFileName) {
    std::string path = "unchanged";
    EXPECT_EQ(path_for_new_workspace("/home/u/", &path), -1);
    EXPECT_EQ(path_for_new_workspace("", &path), -1);
    EXPECT_EQ(path_for_new_workspace("/home/u/.wk", &path), -1);
    EXPECT_EQ(path, "unchanged");
}

TEST(WorkspaceName, OpenTakesOnlyASingleDotWkExtension) {
    struct Case {
        const char* chosen;
        bool accepted;
    } cases[] = {
        {"/w/Team.wk", true},   {"/w/a.b.wk", false},   {"/w/Team", false}, {"/w/Team.wkx", false},
        {"/w.x/Team.wk", true}, {"/w/Team.wk/", false}, {"/w/.wk", false},
    };
    for (const Case& c : cases) EXPECT_EQ(acceptable_for_open(c.chosen), c.accepted) << c.chosen;
}

}  // namespace
}  // namespace nd::start
