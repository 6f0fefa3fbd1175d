#include "app/start/help_links.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/testing/temp_dir.h"
#include "base/web_address.h"

namespace nd::start {
namespace {

TEST(HelpLinks, ReadsTheTwoAddressesAndSkipsEverythingElse) {
    HelpLinks links = parse_help_links(
        "# addresses of the servers\n"
        "control = 127.0.0.1:9910\n"
        "  help =  https://docs.nodrel.test/usage   # usage reference\r\n"
        "guide=http://docs.nodrel.test/ui\n"
        "notes = https://docs.nodrel.test/notes\n");
    EXPECT_EQ(links.address[0], "https://docs.nodrel.test/usage");
    EXPECT_EQ(links.address[1], "http://docs.nodrel.test/ui");
}

TEST(HelpLinks, RefusesValuesThatAreNotPlainWebAddresses) {
    const char* bad[] = {
        "help = file:///etc/passwd\n",  "help = --help\n", "help = https://x.test/a b\n",
        "help = https://x.test/\x01\n", "help\n",
    };
    for (const char* text : bad) EXPECT_EQ(parse_help_links(text).address[0], "") << text;
    EXPECT_EQ(open_web_address(""), -1);
    EXPECT_EQ(open_web_address("-x"), -1);
}

TEST(HelpLinks, AMissingFileGivesNoLinks) {
    HelpLinks links = load_help_links("/nonexistent/servers.cfg");
    EXPECT_EQ(links.address[0], "");
    EXPECT_EQ(links.address[1], "");
}

TEST(HelpLinks, OpenHandsTheAddressToXdgOpenAsOneArgument) {
    nd::testing::TempDir temp("nd_links");
    const std::string& dir = temp.path();
    ASSERT_FALSE(dir.empty());
    std::string opener = dir + "/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > " << dir << "/got\n";
    chmod(opener.c_str(), 0755);
    std::string saved_path = getenv("PATH") ? getenv("PATH") : "";
    setenv("PATH", dir.c_str(), 1);
    EXPECT_EQ(open_web_address("https://docs.nodrel.test/a?b=1&c=$HOME;x"), 0);
    setenv("PATH", saved_path.c_str(), 1);

    std::string got;
    for (int i = 0; i < 200 && got.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::stringstream in;
        in << std::ifstream(dir + "/got").rdbuf();
        got = in.str();
    }
    EXPECT_EQ(got, "1|https://docs.nodrel.test/a?b=1&c=$HOME;x");
}

}  // namespace
}  // namespace nd::start
