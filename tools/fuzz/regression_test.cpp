// Replays every fuzz target's seeds and every input a fuzzer ever found
// failing (tools/fuzz/seeds/<target>/, tools/fuzz/regressions/<target>/).
// Each entry checks its own rules and ends the process when one is broken,
// so a replay that returns has handled or refused its input cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/fuzz/entries.h"

namespace nd::fuzz {
namespace {

namespace fs = std::filesystem;

int replay_folder(const Target& target, const fs::path& folder) {
    if (!fs::is_directory(folder)) return 0;
    std::vector<fs::path> inputs;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file()) inputs.push_back(e.path());
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        std::ifstream in(input, std::ios::binary);
        const std::vector<uint8_t> data{std::istreambuf_iterator<char>(in), {}};
        target.entry(data.data(), data.size());
    }
    return static_cast<int>(inputs.size());
}

class FuzzReplay : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzReplay, SeedsAndKeptFailuresAreHandled) {
    const Target& target = GetParam();
    const fs::path here = ND_FUZZ_DIR;
    const int seeds = replay_folder(target, here / "seeds" / target.name);
    replay_folder(target, here / "regressions" / target.name);
    EXPECT_GT(seeds, 0) << "every target has seeds";
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& param) {
                             return std::string(param.param.name);
                         });

}  // namespace
}  // namespace nd::fuzz
