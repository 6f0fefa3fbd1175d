#include "app/start/help_links.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(open_link(""), -1);
    EXPECT_EQ(open_link("-x"), -1);
}

TEST(HelpLinks, AMissingFileGivesNoLinks) {
    HelpLinks links = load_help_links("/nonexistent/servers.cfg");
    EXPECT_EQ(links.address[0], "");
    EXPECT_EQ(links.address[1], "");
}

}  // namespace
}  // namespace nd::start
