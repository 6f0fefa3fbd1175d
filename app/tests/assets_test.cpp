#include "app/assets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "app/tests/asset_host.h"
#include "base/testing/temp_dir.h"
#include "update/net.h"
#include "update/tests/test_files.h"

namespace nd {
namespace {

namespace fs = std::filesystem;

std::string read_text(const fs::path& path) {
    const std::vector<uint8_t> bytes = testing::read_file(path);
    return {bytes.begin(), bytes.end()};
}

void write_text(const fs::path& path, const std::string& text) {
    testing::write_file(path, testing::text_bytes(text));
}

// Every file below `dir`, as paths relative to it.
std::vector<std::string> files_below(const fs::path& dir) {
    std::vector<std::string> out;
    if (!fs::exists(dir)) return out;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (!e.is_directory()) out.push_back(fs::relative(e.path(), dir).string());
    std::sort(out.begin(), out.end());
    return out;
}

class AssetDownload : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_temp.path().empty());
        m_root = fs::path(m_temp.path()) / "host";
        m_program = fs::path(m_temp.path()) / "program";
        m_scratch = fs::path(m_temp.path()) / "scratch";
        fs::create_directories(m_program);
        fs::create_directories(m_scratch);
        write_text(m_root / "assets/taci", "taci from the host");
        write_text(m_root / "assets/taci2", std::string(300000, 't'));
        write_text(m_root / "assets/pcon", "pcon from the host");
        write_text(m_root / "assets/vellum/assess.jx", "assess from the host");
        m_host = std::make_unique<testing::AssetHost>(m_root, m_temp / "requests.log");
        ASSERT_TRUE(m_host->ok()) << "the asset server did not start (python3 missing?)";
    }

    AssetJob job() const {
        return AssetJob{m_program, m_host->address(), m_scratch.string() + "/", AssetLimits{}};
    }
    std::string t1() const { return (m_scratch / "t.1").string(); }
    std::string in_program(const char* name) const { return (m_program / name).string(); }

    testing::TempDir m_temp{"nd_assets"};
    fs::path m_root, m_program, m_scratch;
    std::unique_ptr<testing::AssetHost> m_host;
};

TEST_F(AssetDownload, OnlyMissingFilesAreFetchedAndNeverAgain) {
    write_text(m_program / "assets/taci", "kept from an earlier start");
    int results[kAssetCount];
    download_assets(job(), results);
    EXPECT_EQ(results[0], kAssetPresent);
    EXPECT_EQ(results[1], kAssetFetched);
    EXPECT_EQ(results[2], kAssetFetched);
    EXPECT_EQ(results[3], kAssetFetched);
    EXPECT_EQ(read_text(m_program / "assets/taci"), "kept from an earlier start");
    for (const char* name : {"assets/taci2", "assets/pcon", "assets/vellum/assess.jx"}) {
        EXPECT_EQ(read_text(m_program / name), read_text(m_root / name)) << name;
    }
    EXPECT_EQ(m_host->requests(), (std::vector<std::string>{"/assets/taci2", "/assets/pcon",
                                                            "/assets/vellum/assess.jx"}));
    // Nothing is left beside the assets, and the temporary file is empty.
    EXPECT_EQ(files_below(m_program),
              (std::vector<std::string>{"assets/pcon", "assets/taci", "assets/taci2",
                                        "assets/vellum/assess.jx"}));
    EXPECT_EQ(fs::file_size(t1()), 0u);

    download_assets(job(), results);
    for (int r : results) EXPECT_EQ(r, kAssetPresent);
    EXPECT_EQ(m_host->requests().size(), 3u);
}

TEST_F(AssetDownload, WithoutAnAssetHostNothingIsMadeOrFetched) {
    AssetJob no_host = job();
    no_host.host.clear();
    int results[kAssetCount];
    download_assets(no_host, results);
    EXPECT_FALSE(fs::exists(m_program / "assets"));
    EXPECT_TRUE(m_host->requests().empty());
}

// An error page, a cut transfer, an oversized answer (announced or not), a
// stalled one and an unreachable host all leave no asset and no part of
// one, so the next start tries again.
TEST_F(AssetDownload, AFailedAnswerLeavesNothingBehind) {
    // A port that was free a moment ago: nothing listens there.
    int unused_port = 0;
    close_socket(tcp_listen("127.0.0.1", 0, &unused_port));
    struct Case {
        const char* name;
        std::string url;
        int status;
    };
    const std::string host = m_host->address();
    const Case cases[] = {
        {"404 with an error page", host + "/assets/none", kAssetBadAnswer},
        {"cut transfer", host + "/cut", kAssetBadAnswer},
        {"announced above 64 MiB", host + "/huge-length", kAssetBadAnswer},
        {"streamed past 64 MiB", host + "/huge-stream", kAssetBadAnswer},
        {"stalled", host + "/silent", kAssetBadAnswer},
        {"nothing listens", "http://127.0.0.1:" + std::to_string(unused_port) + "/assets/taci",
         kAssetNoConnection},
        {"not http", "file:///etc/hostname", kAssetNoConnection},
    };
    AssetLimits limits;
    limits.stall_seconds = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path local = m_program / "assets" / "taci";
        fs::create_directories(local.parent_path());
        std::string reason;
        EXPECT_EQ(fetch_asset(c.url, local, t1(), limits, &reason), c.status);
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(files_below(m_program), std::vector<std::string>{});
        EXPECT_EQ(fs::file_size(t1()), 0u);
    }
}

// Two programs started together share the temporary folder and so "t.1":
// each waits for the other, and both assets arrive whole.
TEST_F(AssetDownload, TwoDownloadsThroughOneTemporaryFileDoNotMix) {
    write_text(m_root / "a", std::string(2 << 20, 'a'));
    write_text(m_root / "b", std::string(2 << 20, 'b'));
    int status[2] = {99, 99};
    std::string reasons[2];
    std::thread other([&] {
        status[1] = fetch_asset(m_host->address() + "/b", in_program("b"), t1(), AssetLimits{},
                                &reasons[1]);
    });
    status[0] =
        fetch_asset(m_host->address() + "/a", in_program("a"), t1(), AssetLimits{}, &reasons[0]);
    other.join();
    EXPECT_EQ(status[0], kAssetFetched) << reasons[0];
    EXPECT_EQ(status[1], kAssetFetched) << reasons[1];
    EXPECT_EQ(read_text(m_program / "a"), std::string(2 << 20, 'a'));
    EXPECT_EQ(read_text(m_program / "b"), std::string(2 << 20, 'b'));
}

}  // namespace
}  // namespace nd
