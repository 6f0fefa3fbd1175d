// A scratch workspace root for store tests; the tables are cleared around
// each test.
#pragma once

#include <stdlib.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/park_miller.h"
#include "base/testing/file_bytes.h"
#include "base/testing/temp_dir.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd::testing {

// Files of more than `bytes` cannot be written while this lives: a real
// write failure, as on a full disk, for any user root included.
class WriteLimit {
public:
    explicit WriteLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~WriteLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, old_handler_);
    }
    WriteLimit(const WriteLimit&) = delete;
    WriteLimit& operator=(const WriteLimit&) = delete;

private:
    rlimit saved_{};
    void (*old_handler_)(int) = nullptr;
};

// Adds a Case titled `title` to board (g, b) with `text` as its content, and
// writes both files.
inline void add_case_with_text(const char* title, int g, int b, const std::string& text) {
    std::lock_guard<std::mutex> hold(StorageLock);
    LocationRef at = create_case(title, make_key(kAttrEvent), g, b);
    ASSERT_EQ(at.flag, 0) << title;
    std::memcpy(find_case_body(g, b, at.slot)->text, text.c_str(), text.size() + 1);
    ASSERT_EQ(save_case(2, g, b, at.slot), 0) << title;
}

class WorkspaceTest : public ::testing::Test {
protected:
    TempDir temp{"nd_store"};
    const std::string& dir = temp.path();  // holds the root
    std::string root;                      // ends in "/"
    void SetUp() override {
        ASSERT_FALSE(dir.empty());
        root = dir + "/ws/";
        setenv("TZ", "UTC", 1);
        tzset();
        seed_random(12345);
        clear_tables();
        Tables.read_only = false;
        // Tests need whole files, not durability across power loss.
        set_sync_writes(false);
        set_workspace_root(root);
    }
    void TearDown() override {
        set_sync_writes(true);
        clear_tables();
    }
    // The files of a loaded board and of a loaded Case (`part` 1: content).
    std::string board_path(int g, int b) {
        const Board* bd = find_board(g, b);
        return make_path(root, bd->key.type, bd->key, 0);
    }
    std::string case_path(int g, int b, int s, int part = 0) {
        const CaseRecord* r = find_case(g, b, s);
        return make_path(root, r->key.type, r->key, part);
    }
};

}  // namespace nd::testing
