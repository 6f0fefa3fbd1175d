#include "session/release.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace nd {
namespace {

TEST(ReleaseNews, OffersOnlyANewerReleaseOfTheOwnMajorVersion) {
    ASSERT_EQ(own_version(), (ReleaseNumbers{6, 0, 0}));
    struct Case {
        ReleaseNumbers newest;
        bool offered;
    };
    const Case cases[] = {
        {{6, 0, 0}, false},  // already the newest
        {{6, 0, 1}, true},
        {{6, 1, 0}, true},
        {{7, 0, 0}, false},  // a newer major is never offered
        {{5, 9, 9}, false},
        // Its single number (6,010,000) is above 6,000,000, but the major
        // number is not 6.
        {{5, 101, 0}, false},
        {{0, 0, 0}, false},  // what a server without releases answers
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.newest.major << "." << c.newest.minor << "." << c.newest.patch);
        EXPECT_EQ(release_offered(c.newest), c.offered);
        ReleaseNews news;
        news.offer(c.newest);
        EXPECT_EQ(news.update_available(), c.offered);
        EXPECT_EQ(news.newest(), c.offered ? c.newest : own_version());
    }
}

TEST(ReleaseNews, TheFlagNeverGoesBackAndTheNumbersOnlyRise) {
    ReleaseNews news;
    news.offer({6, 0, 2});
    const ReleaseNumbers later[] = {{6, 0, 0}, {6, 0, 1}, {7, 0, 0}, {5, 9, 9}};
    for (const ReleaseNumbers& v : later) {
        news.offer(v);
        EXPECT_TRUE(news.update_available());
        EXPECT_EQ(news.newest(), (ReleaseNumbers{6, 0, 2}));
    }
    news.offer({6, 1, 0});
    EXPECT_EQ(news.newest(), (ReleaseNumbers{6, 1, 0}));
}

// A reader that sees the flag must never see numbers that did not earn it,
// however the writer's offers and the reader's looks interleave.
TEST(ReleaseNews, AReaderThatSeesTheFlagSeesOfferedNumbers) {
    for (int round = 0; round < 200; ++round) {
        ReleaseNews news;
        std::atomic<bool> go{false};
        std::thread writer([&] {
            while (!go) {
            }
            for (uint32_t patch = 1; patch <= 50; ++patch) news.offer({6, patch % 3, patch});
        });
        go = true;
        for (int look = 0; look < 200; ++look) {
            if (news.update_available()) {
                ASSERT_TRUE(release_offered(news.newest()));
            }
        }
        writer.join();
        EXPECT_EQ(news.newest(), (ReleaseNumbers{6, 2, 50}));
    }
}

TEST(ReleaseNews, TheUpdateButtonActsOnlyWhileAnUpdateIsOffered) {
    App app;
    ReleaseNews news;
    EXPECT_FALSE(accept_update(app, news));
    EXPECT_EQ(app.RunState.load(), kRunning);
    news.offer({6, 0, 1});
    EXPECT_TRUE(accept_update(app, news));
    EXPECT_EQ(app.RunState.load(), kQuitAndUpdate);
}

TEST(ReleaseNews, TheProgramsRecordStartsWithNothingOffered) {
    EXPECT_FALSE(release_news().update_available());
    EXPECT_EQ(release_news().newest(), own_version());
}

}  // namespace
}  // namespace nd
