// Opening attachments: an argument vector for the opener, never a shell,
// and a reason for the user when there is nothing to open.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <thread>

#include "content/open.h"
#include "store/tests/workspace_fixture.h"

namespace nd::content {
namespace {

class OpenAttachment : public ::testing::Test {
protected:
    testing::TempDir temp{"nd_open"};
    const std::string& dir = temp.path();
    std::string root, out;
    std::unique_ptr<CaseRecord> record = std::make_unique<CaseRecord>();

    void SetUp() override {
        ASSERT_FALSE(dir.empty());
        root = dir + "/ws/";
        out = dir + "/argv.txt";
        std::filesystem::create_directories(root + "1/img/2024/01/02");
        std::memset(record.get(), 0, sizeof(CaseRecord));
    }

    // An opener that writes its argument count and arguments, one a line,
    // and exits with `code`.
    std::string opener(int code) {
        std::string path = dir + "/opener" + std::to_string(code);
        nd::testing::write_raw(
            path, "#!/bin/sh\n{ echo \"$#\"; for a; do echo \"$a\"; done; } > '" + out +
                      ".tmp'\nmv '" + out + ".tmp' '" + out + "'\nexit " + std::to_string(code) +
                      "\n");
        ::chmod(path.c_str(), 0755);
        return path;
    }
    void set(int slot, int kind, const std::string& path) {
        record->attachments[slot].kind = kind;
        std::snprintf(record->attachments[slot].path, 256, "%s", path.c_str());
    }
    // What the opener was given, once it has run.
    std::string argv_seen() {
        for (int i = 0; i < 1000 && !std::filesystem::exists(out); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        std::string s = nd::testing::read_all(out);
        std::remove(out.c_str());
        return s;
    }
};

TEST_F(OpenAttachment, EachKindReachesTheOpenerAsOneArgument) {
    // A name a shell would split and run.
    std::string odd = dir + "/a b;$(touch nd_ran) 'q'.txt";
    nd::testing::write_raw(odd, "x");
    nd::testing::write_raw(root + "1/img/2024/01/02/03_04_05_0000ABCD.jpg", "x");
    set(0, kAttachFile, odd);
    set(1, kAttachImage, "1\\img\\2024\\01\\02\\03_04_05_0000ABCD.jpg");
    set(2, kAttachLink, "https://example.org/a?b=1&c=2");
    set(3, kAttachLinkPending, "http://example.org/");
    std::string program = opener(0);
    struct Case {
        int slot;
        std::string location;
    } cases[] = {
        {0, odd},
        {1, root + "1/img/2024/01/02/03_04_05_0000ABCD.jpg"},
        {2, "https://example.org/a?b=1&c=2"},
        {3, "http://example.org/"},
    };
    for (const Case& c : cases) {
        std::string reason;
        ASSERT_EQ(open_attachment(*record, c.slot, root, &reason, program.c_str()), kOpenStarted);
        EXPECT_EQ(argv_seen(), "1\n" + c.location + "\n") << c.slot;
    }
    EXPECT_FALSE(std::filesystem::exists("nd_ran"));
}

TEST_F(OpenAttachment, RefusalsCarryAReason) {
    set(0, kAttachFile, dir + "/gone.txt");
    set(1, kAttachImage, "1\\img\\2024\\01\\02\\gone.jpg");
    set(2, kAttachLink, "/usr/bin/xterm");
    set(3, kAttachImage, "..\\..\\etc\\passwd");
    struct Case {
        int slot, status;
        const char* reason_start;
    } cases[] = {
        {0, kOpenMissing, "\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA"},  // 文件不存在
        {1, kOpenMissing, "\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA"},
        {2, kOpenNotWeb, "\xB2\xBB\xCA\xC7\xCD\xF8\xD2\xB3\xB5\xD8\xD6\xB7"},  // 不是网页地址
        {3, kOpenMissing, "\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA"},  // never outside the root
        {4, kOpenNothing, ""},
        {100, kOpenNothing, ""},
    };
    std::string program = opener(0);
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_EQ(open_attachment(*record, c.slot, root, &reason, program.c_str()), c.status)
            << c.slot;
        EXPECT_EQ(reason.rfind(c.reason_start, 0), 0u) << c.slot;
    }
    EXPECT_FALSE(std::filesystem::exists(out));

    nd::testing::write_raw(dir + "/here.txt", "x");
    set(0, kAttachFile, dir + "/here.txt");
    std::string reason;
    EXPECT_EQ(open_attachment(*record, 0, root, &reason, (dir + "/no-opener").c_str()),
              kOpenNoProgram);
    EXPECT_FALSE(reason.empty());
}

TEST_F(OpenAttachment, AnOpenerThatFailsIsReportedLater) {
    nd::testing::write_raw(dir + "/here.txt", "x");
    set(0, kAttachFile, dir + "/here.txt");
    std::string program = opener(4);
    while (take_open_failure(nullptr)) {
    }
    ASSERT_EQ(open_attachment(*record, 0, root, nullptr, program.c_str()), kOpenStarted);
    std::string reason;
    bool reported = false;
    for (int i = 0; i < 1000 && !reported; ++i) {
        reported = take_open_failure(&reason);
        if (!reported) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(reported);
    EXPECT_EQ(reason,
              "\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xA3\xBA" + dir + "/here.txt");  // 无法打开：
    EXPECT_FALSE(take_open_failure(&reason));
}

}  // namespace
}  // namespace nd::content
