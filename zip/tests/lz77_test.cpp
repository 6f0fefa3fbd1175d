#include "zip/lz77.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "zip/tests/reference_encoder.h"

namespace nd {
namespace {

std::vector<uint8_t> bytes_of(const std::string& s) {
    return {s.begin(), s.end()};
}

// Compresses with the real coder; an empty result means "store raw".
std::vector<uint8_t> pack(CCompressLZ77& codec, const std::vector<uint8_t>& in) {
    std::vector<uint8_t> out(in.size() + 8, 0);
    const int n = codec.compress(in.data(), static_cast<int>(in.size()), out.data());
    EXPECT_GE(n, 0);
    out.resize(n > 0 ? n : 0);
    return out;
}

// One token of a coded block, read back with the format's rules so tests can
// check which match the coder chose.
struct Token {
    int length;  // 1 for a literal
    int position;
    bool operator==(const Token&) const = default;
};

std::vector<Token> tokens_of(const std::vector<uint8_t>& coded, int length) {
    std::vector<Token> out;
    size_t bit = 0;
    auto get = [&](int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i, ++bit) v = (v << 1) | ((coded[bit / 8] >> (7 - bit % 8)) & 1);
        return v;
    };
    int w = 0;
    while (w < length) {
        if (get(1) == 0) {
            out.push_back({1, static_cast<int>(get(8))});
            w += 1;
            continue;
        }
        int c = 0;
        while (get(1) == 1) ++c;
        const int len = c == 0 ? 2 : static_cast<int>(get(c) + (1u << c) + 1);
        out.push_back({len, static_cast<int>(get(lz77_position_bits(w)))});
        w += len;
    }
    return out;
}

struct Golden {
    const char* name;
    std::string input;
    std::vector<uint8_t> coded;  // empty: compress returns 0
};

TEST(Lz77Compress, GoldenBlocks) {
    const Golden cases[] = {
        // Two literals, then two length-2 matches on the run node at 0 whose
        // position codes are 1 and then 2 bits wide.
        {"six equal bytes", "aaaaaa", {0x30, 0x98, 0x64, 0x00}},
        // A candidate match grows up to its limit: min(6, 3) = 3 at r = 3.
        {"repeat reaching the limit", "abcabcabc", {0x30, 0x98, 0x8C, 0x78, 0x63}},
        {"three literals are not smaller", "abc", {}},
        {"one byte is 9 bits, not smaller", "z", {}},
        {"two bytes", "zz", {}},
    };
    CCompressLZ77 codec;
    for (const Golden& g : cases) {
        SCOPED_TRACE(g.name);
        EXPECT_EQ(pack(codec, bytes_of(g.input)), g.coded);
    }
}

TEST(Lz77Compress, RefusesBlocksAboveTheLimitAndDecodesAtTheLimit) {
    CCompressLZ77 codec;
    std::vector<uint8_t> big(65537, 'x'), out(65537 + 8);
    EXPECT_EQ(codec.compress(big.data(), 65537, out.data()), -1);
    EXPECT_FALSE(codec.decompress(out.data(), 65537, big.data(), 100));

    std::vector<uint8_t> run(65536, 0x41);
    const std::vector<uint8_t> coded = pack(codec, run);
    ASSERT_FALSE(coded.empty());
    EXPECT_LT(coded.size(), 64u);
    std::vector<uint8_t> back(65536);
    ASSERT_TRUE(codec.decompress(back.data(), 65536, coded.data(), static_cast<int>(coded.size())));
    EXPECT_EQ(back, run);
}

TEST(Lz77Compress, TiesGoToTheNewestNodeAndRunsToTheirStart) {
    CCompressLZ77 codec;
    // At r = 8 both "abc" at 4 and "abc" at 0 reach the end of the block; the
    // newer one, at 4, wins.
    {
        const std::string s = "abcxabcyabc";
        const auto t = tokens_of(pack(codec, bytes_of(s)), static_cast<int>(s.size()));
        ASSERT_FALSE(t.empty());
        EXPECT_EQ(t.back(), (Token{3, 4}));
    }
    // "aaa" also occurs at 1, but a run is tried only at its first pair.
    {
        const std::string s = "aaaaaaaabaaa";
        const auto t = tokens_of(pack(codec, bytes_of(s)), static_cast<int>(s.size()));
        ASSERT_FALSE(t.empty());
        EXPECT_EQ(t.back(), (Token{3, 0}));
    }
    // A strictly longer, older match beats a newer short one.
    {
        const std::string s = "abcdefXXabYYYabcdef";
        const auto t = tokens_of(pack(codec, bytes_of(s)), static_cast<int>(s.size()));
        ASSERT_FALSE(t.empty());
        EXPECT_EQ(t.back(), (Token{6, 0}));
    }
}

TEST(Lz77Codes, PositionWidthFollowsTheWindow) {
    const std::pair<int, int> cases[] = {{1, 0},      {2, 1},      {3, 2},     {4, 2},
                                         {5, 3},      {8, 3},      {9, 4},     {32768, 15},
                                         {32769, 16}, {65535, 16}, {65536, 16}};
    for (auto [window, bits] : cases) EXPECT_EQ(lz77_position_bits(window), bits) << window;
}

// Data of several kinds, including the ones that make long hash chains.
std::vector<uint8_t> make_data(int kind, int size, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(size);
    const char* words[] = {"the ", "update ", "board ", "case ", "of ", "and ", "\n", "link "};
    switch (kind) {
        case 0:  // random bytes
            for (auto& b : v) b = static_cast<uint8_t>(rng());
            break;
        case 1:  // text-like
            for (int i = 0; i < size;) {
                const char* w = words[rng() % 8];
                for (const char* p = w; *p && i < size; ++p) v[i++] = static_cast<uint8_t>(*p);
            }
            break;
        case 2:  // alternating pairs
            for (int i = 0; i < size; ++i) v[i] = i % 2 ? 'b' : 'a';
            break;
        case 3:  // random two-letter data
            for (auto& b : v) b = rng() % 2 ? 'x' : 'y';
            break;
        case 4:  // runs of random lengths
            for (int i = 0; i < size;) {
                const uint8_t b = static_cast<uint8_t>(rng() % 4);
                for (int n = 1 + rng() % 300; n > 0 && i < size; --n) v[i++] = b;
            }
            break;
        default:  // all zero
            break;
    }
    return v;
}

TEST(Lz77RoundTrip, MatchesTheReferenceCoderAndDecodesBack) {
    CCompressLZ77 codec;
    const int sizes[] = {1,   2,   3,    4,    5,    8,     9,     17,    100,   255,
                         256, 257, 1000, 4095, 4096, 32767, 32768, 32769, 65535, 65536};
    for (int kind = 0; kind < 6; ++kind) {
        for (int size : sizes) {
            SCOPED_TRACE("kind " + std::to_string(kind) + " size " + std::to_string(size));
            const std::vector<uint8_t> in = make_data(kind, size, 1234 + size);
            std::vector<uint8_t> ref;
            const int ref_n = testing::reference_compress(in.data(), size, &ref);
            const std::vector<uint8_t> ours = pack(codec, in);
            ASSERT_EQ(static_cast<int>(ours.size()), ref_n);
            if (ref_n == 0) continue;
            ASSERT_EQ(ours, ref);
            // Guard bytes catch a write past the unpacked length.
            std::vector<uint8_t> back(size + 16, 0xEE);
            ASSERT_TRUE(codec.decompress(back.data(), size, ours.data(), ref_n));
            EXPECT_TRUE(std::equal(in.begin(), in.end(), back.begin()));
            for (int i = size; i < size + 16; ++i) ASSERT_EQ(back[i], 0xEE);
        }
    }
}

// Small alphabets and repeats make long chains, hash collisions among long
// keys and matches that end at the block's end, where a faster search would
// most easily drift from the plain one.
TEST(Lz77RoundTrip, RandomBlocksMatchTheReferenceCoder) {
    CCompressLZ77 codec;
    std::mt19937 rng(20261210);
    for (int round = 0; round < 300; ++round) {
        const int size = 1 + static_cast<int>(rng() % (round < 290 ? 3000 : 65536));
        const int alphabet = 1 + static_cast<int>(rng() % 4);
        std::vector<uint8_t> in(size);
        for (int i = 0; i < size; ++i) {
            const int back = 1 + static_cast<int>(rng() % 40);
            in[i] = (i >= back && rng() % 3 == 0) ? in[i - back]
                                                  : static_cast<uint8_t>('a' + rng() % alphabet);
        }
        std::vector<uint8_t> ref;
        const int ref_n = testing::reference_compress(in.data(), size, &ref);
        const std::vector<uint8_t> ours = pack(codec, in);
        ASSERT_EQ(static_cast<int>(ours.size()), ref_n) << "round " << round;
        if (ref_n > 0) {
            ASSERT_EQ(ours, ref) << "round " << round;
        }
    }
}

TEST(Lz77RoundTrip, ReusedCodecGivesTheSameOutput) {
    CCompressLZ77 codec;
    const auto a = make_data(1, 20000, 7);
    const auto b = make_data(4, 30000, 8);
    const auto first = pack(codec, a);
    pack(codec, b);
    EXPECT_EQ(pack(codec, a), first);
}

struct BadStream {
    const char* name;
    int length;
    std::vector<uint8_t> coded;
};

TEST(Lz77Decompress, DamagedStreamsFailCleanly) {
    const BadStream cases[] = {
        {"no bytes at all", 1, {}},
        {"stream ends inside a literal", 2, {0x30}},
        // A match as the first token copies from position 0 of an empty window.
        {"match before any byte", 4, {0x80, 0x00}},
        // 'a' literal, then a length-2 match at W = 1 overruns a 2-byte block.
        {"match longer than the block", 2, {0x30, 0xC0}},
        // Three literals then a match whose 2-bit position is 3, at W = 3.
        {"position at the window size", 6, {0x30, 0x98, 0x8C, 0x76}},
        // Sixteen ones in a length code would mean more than 65,536 bytes.
        {"length code too long", 65536, {0x30, 0xFF, 0xFF, 0xFF, 0x80, 0x00, 0x00}},
        {"unpacked length zero", 0, {0x30, 0x80}},
    };
    CCompressLZ77 codec;
    for (const BadStream& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> out(std::max(c.length, 1) + 16, 0xEE);
        EXPECT_FALSE(codec.decompress(out.data(), c.length, c.coded.data(),
                                      static_cast<int>(c.coded.size())));
        for (int i = std::max(c.length, 0); i < static_cast<int>(out.size()); ++i)
            ASSERT_EQ(out[i], 0xEE);
    }
}

TEST(Lz77Decompress, EveryTruncationOfAStreamStaysInBounds) {
    CCompressLZ77 codec;
    const auto in = make_data(1, 3000, 99);
    const auto coded = pack(codec, in);
    ASSERT_FALSE(coded.empty());
    for (size_t cut = 0; cut < coded.size(); ++cut) {
        // The cut copy lives in its own allocation so a read past it would
        // touch memory the test does not own.
        std::vector<uint8_t> part(coded.begin(), coded.begin() + cut);
        std::vector<uint8_t> out(in.size() + 16, 0xEE);
        const bool ok = codec.decompress(out.data(), static_cast<int>(in.size()), part.data(),
                                         static_cast<int>(cut));
        // The last byte always holds code bits, so every cut fails.
        EXPECT_FALSE(ok) << cut;
        for (size_t i = in.size(); i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE);
    }
}

}  // namespace
}  // namespace nd
