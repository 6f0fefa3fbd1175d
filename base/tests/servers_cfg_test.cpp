#include "base/servers_cfg.h"

#include <gtest/gtest.h>

namespace nd {
namespace {

TEST(ServersCfg, ReadsAddressesAndKeepsDefaultsForTheRest) {
    ServersConfig cfg;
    std::string reason;
    EXPECT_EQ(parse_servers_cfg("# team servers\n"
                                "control = 127.0.0.5   # the team's own\n"
                                "  update=releases.example.org:8021  \r\n"
                                "\n"
                                "notes = http://notes.example.org/a?b=c\n"
                                "mirror = ignored\n",
                                &cfg, &reason),
              0);
    EXPECT_EQ(cfg.control.host, "127.0.0.5");
    EXPECT_EQ(cfg.control.port, 9910);
    EXPECT_EQ(cfg.update.host, "releases.example.org");
    EXPECT_EQ(cfg.update.port, 8021);
    EXPECT_EQ(cfg.notes, "http://notes.example.org/a?b=c");
    EXPECT_EQ(cfg.assets, "");
}

TEST(ServersCfg, BadLinesAreSkippedAndNamed) {
    const struct {
        const char* text;
    } cases[] = {{"control = host:0\n"},   {"control = host:70000\n"}, {"control = :9910\n"},
                 {"control = host:12x\n"}, {"just some words\n"},      {"control = a b\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ServersConfig cfg;
        std::string reason;
        EXPECT_EQ(parse_servers_cfg(c.text, &cfg, &reason), -1);
        EXPECT_EQ(cfg.control.host, ServersConfig{}.control.host);
        EXPECT_NE(reason.find("line 1"), std::string::npos) << reason;
    }
}

TEST(ServersCfg, MissingFileLeavesDefaults) {
    ServersConfig cfg;
    std::string reason;
    EXPECT_EQ(load_servers_cfg("/nonexistent/servers.cfg", &cfg, &reason), 0);
    EXPECT_EQ(cfg.update.port, 9921);
}

}  // namespace
}  // namespace nd
