// A scratch workspace root for store tests; the tables are cleared around
// each test.
#pragma once

#include <stdlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/park_miller.h"
#include "base/testing/temp_dir.h"
#include "store/tables.h"

namespace nd::testing {

inline std::string read_all(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void write_raw(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every regular file under `dir` with its bytes, for "nothing changed" checks.
inline std::string snapshot(const std::string& dir) {
    std::string all;
    std::vector<std::string> names;
    for (auto& e : std::filesystem::recursive_directory_iterator(dir))
        if (e.is_regular_file()) names.push_back(e.path().string());
    std::sort(names.begin(), names.end());
    for (auto& n : names) all += n + "\n" + read_all(n) + "\n";
    return all;
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
};

}  // namespace nd::testing
