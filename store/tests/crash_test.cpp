// Saves interrupted at random moments leave every file whole: a child
// process saves Cases and boards in a loop and is killed with SIGKILL; the
// parent then checks every file and loads the workspace without repair.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <thread>

#include "base/file_io.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tests/workspace_fixture.h"

namespace nd {
namespace {

using testing::read_all;

// Every byte the child writes is derived from one counter, so a file is
// whole exactly when all of its stamped bytes agree.
void stamp(int32_t v, CaseRecord& r, CaseBody& body) {
    r.x = v;
    r.y = v;
    std::memset(r.bytes630, static_cast<uint8_t>(v), sizeof r.bytes630);
    std::memset(body.text, 'a' + v % 26, 60000);
    body.text[60000] = 0;
}

// Saves without end; one byte goes down `progress` after every step.
[[noreturn]] void save_forever(int32_t start, int progress) {
    for (int32_t v = start;; ++v) {
        for (int s = 0; s < 3; ++s) {
            stamp(v, *find_case(0, 0, s), *find_case_body(0, 0, s));
            std::lock_guard<std::mutex> hold(StorageLock);
            static_cast<void>(save_case(2, 0, 0, s));
        }
        std::string name = "board " + std::to_string(v);
        static_cast<void>(rename_board(name.c_str(), 0, 0));
        // A fourth Case comes and goes: a patch of the board's list, then a
        // rewrite of the whole board.
        if (v % 2 == 0) {
            std::lock_guard<std::mutex> hold(StorageLock);
            static_cast<void>(create_case("extra", make_key(kAttrFragment), 0, 0));
        } else if (find_case(0, 0, 3)) {
            static_cast<void>(delete_case(0, 0, 3));
        }
        char step = 1;
        (void)!::write(progress, &step, 1);
    }
}

// Waits (bounded) until the child reports `steps` steps.
bool wait_for_steps(int progress, int steps) {
    char buf[256];
    for (int got = 0; got < steps;) {
        struct pollfd p = {progress, POLLIN, 0};
        if (::poll(&p, 1, 20000) <= 0) return false;
        ssize_t n = ::read(progress, buf, sizeof buf);
        if (n <= 0) return false;
        got += static_cast<int>(n);
    }
    return true;
}

void expect_whole_case(const std::string& record_path) {
    std::string rec = read_all(record_path);
    ASSERT_EQ(rec.size(), 65536u) << record_path;
    CaseRecord r;
    std::memcpy(&r, rec.data(), sizeof r);
    EXPECT_EQ(r.size, 65536u) << record_path;
    EXPECT_EQ(r.x, r.y) << record_path;
    for (uint8_t b : r.bytes630) ASSERT_EQ(b, static_cast<uint8_t>(r.x)) << record_path;

    std::string body_path = record_path.substr(0, record_path.size() - 5) + "_BODY.case";
    std::string body = read_all(body_path);
    ASSERT_EQ(body.size(), 65536u) << body_path;
    if (body[0] != '\n') {
        EXPECT_EQ(body.find_first_not_of(body[0]), 60000u) << body_path;
    }
}

class CrashSafety : public testing::WorkspaceTest {};

TEST_F(CrashSafety, KilledSavesLeaveOldOrNewFilesWhole) {
    ASSERT_EQ(load_workspace(), kLoadNew);
    for (int i = 0; i < 3; ++i) {
        std::lock_guard<std::mutex> hold(StorageLock);
        ASSERT_EQ(create_case("c", make_key(kAttrFragment), 0, 0).flag, 0);
        stamp(0, *find_case(0, 0, i), *find_case_body(0, 0, i));
        ASSERT_EQ(save_case(2, 0, 0, i), 0);
    }

    std::mt19937 rng(20240101);
    int32_t start = 1;
    // Most rounds skip the fsyncs so the children get thousands of saves
    // done; every third round runs them as the program does.
    for (int round = 0; round < 9; ++round) {
        set_sync_writes(round % 3 == 0);
        int pipe_fds[2];
        ASSERT_EQ(::pipe(pipe_fds), 0);
        fcntl(pipe_fds[1], F_SETFL, O_NONBLOCK);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) save_forever(start, pipe_fds[1]);
        ::close(pipe_fds[1]);
        // Every round lets the child finish some steps, then kills it at a
        // random moment of the ones that follow.
        bool progressed = wait_for_steps(pipe_fds[0], round % 3 == 0 ? 3 : 20);
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 150000));
        kill(pid, SIGKILL);
        ::close(pipe_fds[0]);
        ASSERT_TRUE(progressed);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        for (auto& e : std::filesystem::recursive_directory_iterator(root + "1/case")) {
            std::string p = e.path().string();
            if (e.is_regular_file() && p.size() > 5 && p.compare(p.size() - 5, 5, ".case") == 0 &&
                p.find("_BODY") == std::string::npos && p.find(".tmp") == std::string::npos)
                expect_whole_case(p);
        }
        // The workspace loads as it is, with no repair: a board never lists a
        // Case whose files are not there.
        clear_tables();
        ASSERT_EQ(load_workspace(), kLoadOk) << last_load_failure().detail;
        const Board* b = find_board(0, 0);
        ASSERT_NE(b, nullptr);
        std::string name = b->name;
        EXPECT_TRUE(name == "\xb7\xd6\xc0\xe0\x31" || name.rfind("board ", 0) == 0) << name;
        ASSERT_GE(b->case_count, 3u);
        start = find_case(0, 0, 0)->x + 1;
    }
    set_sync_writes(true);
    // Each step writes about ten files (three Cases in mode 2, a board, a
    // Case made or deleted): the rounds replace well over a thousand files.
    EXPECT_GT(start, 6 * 20 + 3 * 3);
}

}  // namespace
}  // namespace nd
