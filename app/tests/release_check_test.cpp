#include "app/release_check.h"

#include <gtest/gtest.h>

#include "app/workspace_entry.h"
#include "update/net.h"
#include "update/tests/loopback_server.h"

namespace nd {
namespace {

// The release server the team runs, offering one version, asked the way the
// program asks it.
TEST(ReleaseCheck, OnlyANewer6xFromTheControlServerSetsTheFlag) {
    struct Case {
        Version offered;
        bool flag;
    };
    const Case cases[] = {
        {{6, 0, 0}, false},
        {{6, 0, 1}, true},
        {{7, 0, 0}, false},
        {{5, 9, 9}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(version_text(c.offered));
        ReleaseServer server;
        ReleaseServerOptions options;
        options.fixed_version = true;
        options.version = c.offered;
        std::string reason;
        ASSERT_EQ(testing::start_on_loopback(server, options, &reason), 0) << reason;

        ReleaseNews news;
        App app;
        EXPECT_EQ(check_newest_release({"127.0.0.1", server.control_port()}, 2, QueryTimeouts{},
                                       news, app),
                  kQueryOk);
        EXPECT_EQ(news.update_available(), c.flag);
        // The announcement the frame rate of a workspace opened later follows.
        EXPECT_EQ(app.UpdateAnnounced.load(), c.flag);
        EXPECT_EQ(quiet_countdown_start(app), c.flag ? kQuietAfterUpdate : 0);
        const Version shown = c.flag ? c.offered : Version{6, 0, 0};
        EXPECT_EQ(news.newest(), (ReleaseNumbers{shown.major, shown.minor, shown.patch}));
    }
}

TEST(ReleaseCheck, AMissingServerIsNoNews) {
    int unused_port = 0;
    close_socket(tcp_listen("127.0.0.1", 0, &unused_port));
    ReleaseNews news;
    App app;
    EXPECT_EQ(check_newest_release({"127.0.0.1", unused_port}, 2, QueryTimeouts{}, news, app),
              kQueryUnreachable);
    EXPECT_FALSE(news.update_available());
    EXPECT_FALSE(app.UpdateAnnounced.load());
}

}  // namespace
}  // namespace nd
