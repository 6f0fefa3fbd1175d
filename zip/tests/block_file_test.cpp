#include "zip/block_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "base/testing/temp_dir.h"

namespace nd {
namespace {

std::vector<uint8_t> random_bytes(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = static_cast<uint8_t>(rng());
    return v;
}

uint16_t u16_at(const std::vector<uint8_t>& v, size_t at) {
    return static_cast<uint16_t>(v[at] | (v[at + 1] << 8));
}

using testing::TempDir;

void write_file(const std::string& path, const std::vector<uint8_t>& data) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

TEST(BlockFile, FullRawBlockHasBothFieldsZero) {
    CCompressLZ77 codec;
    const auto data = random_bytes(65536, 1);
    std::vector<uint8_t> file;
    ASSERT_EQ(pack_blocks(codec, data.data(), data.size(), 65536, &file), 0);
    ASSERT_EQ(file.size(), 4u + 65536u);
    EXPECT_EQ(u16_at(file, 0), 0);
    EXPECT_EQ(u16_at(file, 2), 0);
    std::vector<uint8_t> back;
    ASSERT_EQ(unpack_blocks(codec, file.data(), file.size(), &back), kBlockOk);
    EXPECT_EQ(back, data);
}

TEST(BlockFile, FullRunBlockHasUnpackedFieldZero) {
    CCompressLZ77 codec;
    const std::vector<uint8_t> data(65536, 7);
    std::vector<uint8_t> file;
    ASSERT_EQ(pack_blocks(codec, data.data(), data.size(), 65536, &file), 0);
    EXPECT_EQ(u16_at(file, 0), 0);
    EXPECT_EQ(u16_at(file, 2), file.size() - 4);
    EXPECT_NE(u16_at(file, 2), 0);
    std::vector<uint8_t> back;
    ASSERT_EQ(unpack_blocks(codec, file.data(), file.size(), &back), kBlockOk);
    EXPECT_EQ(back, data);
}

TEST(BlockFile, RoundTripsWithMixedBlocksAndAShortLastBlock) {
    CCompressLZ77 codec;
    // Text-like then random bytes, so the file holds coded and raw blocks.
    std::vector<uint8_t> data;
    for (int i = 0; data.size() < 150000; ++i) {
        const std::string line = "line " + std::to_string(i % 97) + " of the release\n";
        data.insert(data.end(), line.begin(), line.end());
    }
    const auto noise = random_bytes(70001, 2);
    data.insert(data.end(), noise.begin(), noise.end());
    for (int block : {1, 1000, 4096, 65536}) {
        SCOPED_TRACE(block);
        std::vector<uint8_t> file, back;
        ASSERT_EQ(pack_blocks(codec, data.data(), data.size(), block, &file), 0);
        ASSERT_EQ(unpack_blocks(codec, file.data(), file.size(), &back), kBlockOk);
        EXPECT_EQ(back, data);
    }
    std::vector<uint8_t> file;
    EXPECT_EQ(pack_blocks(codec, data.data(), data.size(), 0, &file), -1);
    EXPECT_EQ(pack_blocks(codec, data.data(), data.size(), 65537, &file), -1);
}

TEST(BlockFile, DamagedFilesGiveDistinctFailures) {
    CCompressLZ77 codec;
    std::vector<uint8_t> text(5000);
    for (size_t i = 0; i < text.size(); ++i) text[i] = "abcde fghij\n"[i % 12 + (i / 600) % 2];
    std::vector<uint8_t> good;
    ASSERT_EQ(pack_blocks(codec, text.data(), text.size(), 65536, &good), 0);
    ASSERT_NE(u16_at(good, 0), u16_at(good, 2));

    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        int status;
    };
    std::vector<Case> cases = {
        {"header cut short", {0x10, 0x00, 0x05}, kBlockTruncated},
        {"raw block cut short", {0x10, 0x00, 0x10, 0x00, 1, 2, 3}, kBlockTruncated},
        {"coded block cut short", std::vector<uint8_t>(good.begin(), good.end() - 1),
         kBlockTruncated},
        {"coded block with stored length 0", {0x10, 0x00, 0x00, 0x00}, kBlockDecodeError},
        {"coded block longer than it unpacks to",
         {0x02, 0x00, 0x03, 0x00, 0, 0, 0},
         kBlockDecodeError},
    };
    // A first token that copies from an empty window cannot decode.
    std::vector<uint8_t> corrupt = good;
    corrupt[4] = 0x80;
    cases.push_back({"corrupt token stream", corrupt, kBlockDecodeError});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> back;
        EXPECT_EQ(unpack_blocks(codec, c.file.data(), c.file.size(), &back), c.status);
    }
    std::vector<uint8_t> back;
    EXPECT_EQ(unpack_blocks(codec, nullptr, 0, &back), kBlockOk);
    EXPECT_TRUE(back.empty());
}

TEST(BlockFileReader, RebuildsAFileOrLeavesNothing) {
    TempDir dir;
    CCompressLZ77 codec;
    std::vector<uint8_t> data;
    for (int i = 0; data.size() < 200000; ++i) {
        const std::string line = std::to_string(i * 7919 % 1000) + " entries\n";
        data.insert(data.end(), line.begin(), line.end());
    }
    std::vector<uint8_t> file;
    ASSERT_EQ(pack_blocks(codec, data.data(), data.size(), 65536, &file), 0);
    write_file(dir.file("good.BIN"), file);
    ASSERT_EQ(read_block_file(codec, dir.file("good.BIN").c_str(), dir.file("out").c_str()),
              kBlockOk);
    EXPECT_EQ(read_file(dir.file("out")), data);

    // A damaged second block: the reader says so and removes its output.
    std::vector<uint8_t> bad = file;
    const size_t second = 4 + u16_at(file, 2);
    ASSERT_NE(u16_at(file, second), u16_at(file, second + 2));
    bad[second + 4] = 0x80;
    write_file(dir.file("bad.BIN"), bad);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(read_block_file(codec, dir.file("bad.BIN").c_str(), dir.file("out2").c_str()),
              kBlockDecodeError);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("Decompress error"), std::string::npos);
    EXPECT_FALSE(exists(dir.file("out2")));

    // A file cut inside its last block ends cleanly as a failure.
    write_file(dir.file("cut.BIN"), std::vector<uint8_t>(file.begin(), file.end() - 10));
    EXPECT_EQ(read_block_file(codec, dir.file("cut.BIN").c_str(), dir.file("out3").c_str()),
              kBlockTruncated);
    EXPECT_FALSE(exists(dir.file("out3")));

    EXPECT_EQ(read_block_file(codec, dir.file("missing").c_str(), dir.file("out4").c_str()),
              kBlockNoInput);
    EXPECT_EQ(
        read_block_file(codec, dir.file("good.BIN").c_str(), dir.file("no/such/dir/out").c_str()),
        kBlockNoOutput);
}

TEST(BlockFileReader, StopsAtTheOutputLimitAndLeavesNothing) {
    TempDir dir;
    CCompressLZ77 codec;
    // Three blocks of a repeated byte: a few dozen bytes that unpack to 192 KiB.
    const std::vector<uint8_t> data(3 * 65536, 'z');
    std::vector<uint8_t> file;
    ASSERT_EQ(pack_blocks(codec, data.data(), data.size(), 65536, &file), 0);
    ASSERT_LT(file.size(), 200u);
    write_file(dir.file("r.BIN"), file);
    EXPECT_EQ(
        read_block_file(codec, dir.file("r.BIN").c_str(), dir.file("exact").c_str(), data.size()),
        kBlockOk);
    EXPECT_EQ(read_file(dir.file("exact")), data);
    for (uint64_t limit : {uint64_t{0}, uint64_t{65536}, uint64_t{data.size() - 1}}) {
        SCOPED_TRACE(limit);
        EXPECT_EQ(
            read_block_file(codec, dir.file("r.BIN").c_str(), dir.file("over").c_str(), limit),
            kBlockTooLarge);
        EXPECT_FALSE(exists(dir.file("over")));
    }
}

}  // namespace
}  // namespace nd
