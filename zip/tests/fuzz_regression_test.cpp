// Replays the inputs kept from fuzzing the decoder and the block-file
// reader. Each file is fed to both entry points the fuzz targets use; the
// only requirement is a clean return with everything in bounds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "zip/block_file.h"
#include "zip/fuzz/fuzz_entry.h"

namespace nd {
namespace {

TEST(ZipFuzzRegressions, KeptInputsFailOrDecodeCleanly) {
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ND_ZIP_FUZZ_FIXTURES)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<uint8_t> data{std::istreambuf_iterator<char>(in), {}};
        SCOPED_TRACE(entry.path().filename().string());
        fuzz_decode_one(data.data(), data.size());
        fuzz_block_file_one(data.data(), data.size());
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace nd
