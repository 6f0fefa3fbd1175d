#include "settings/envelope.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <cstring>
#include <string>

namespace nd {
namespace {

std::string pattern(size_t size) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>(i * 7 + 3);
    return s;
}

uint32_t word(const std::string& file, int i) {
    uint32_t v;
    std::memcpy(&v, file.data() + file.size() - 24 + 4 * i, 4);
    return v;
}

void set_word(std::string& file, int i, uint32_t v) {
    std::memcpy(&file[file.size() - 24 + 4 * i], &v, 4);
}

// The generator written out plainly with a 64-bit product, apart from the
// store's Schrage version, so the trailer check does not share its code.
uint32_t step64(uint32_t s) {
    return static_cast<uint32_t>((uint64_t{s} * 16807) % 2147483647);
}

TEST(Envelope, SealedSizes) {
    struct Case {
        size_t record, file;
    } cases[] = {{4096, 4376}, {43604, 46360}, {2068, 2232}, {256, 296}, {1, 40}, {16, 56}};
    for (const Case& c : cases) {
        std::string rec = pattern(c.record);
        std::string file = seal(rec.data(), rec.size());
        EXPECT_EQ(file.size(), c.file) << c.record;
        EXPECT_EQ(sealed_size(c.record), c.file) << c.record;
        std::string back;
        ASSERT_EQ(unseal(file, back, c.record), kUnsealOk) << c.record;
        EXPECT_EQ(back, rec);
    }
}

TEST(Envelope, TwoSealsDifferAndOpenAlike) {
    std::string rec = pattern(2068);
    std::string a = seal(rec.data(), rec.size());
    std::string b = seal(rec.data(), rec.size());
    EXPECT_NE(a, b);
    EXPECT_NE(word(a, 5), word(b, 5));
    std::string ra, rb;
    ASSERT_EQ(unseal(a, ra, 0), kUnsealOk);
    ASSERT_EQ(unseal(b, rb, 0), kUnsealOk);
    EXPECT_EQ(ra, rec);
    EXPECT_EQ(rb, rec);
}

// Reads a sealed file with code written from the format alone: the trailer
// masks from a 64-bit generator, the key from the constant, and the first
// chunk deciphered without padding so the padding block itself is checked.
TEST(Envelope, IndependentReadOfTheFormat) {
    std::string rec = pattern(2068);
    std::string file = seal_with_seed(rec.data(), rec.size(), 12345);
    uint32_t s[9];
    s[0] = 12345;
    for (int i = 1; i < 9; ++i) s[i] = step64(s[i - 1]);
    EXPECT_EQ(word(file, 5), 12345u);
    EXPECT_EQ(word(file, 0) ^ s[1], 8u);
    EXPECT_EQ(word(file, 1) ^ s[2], 256u);
    EXPECT_EQ(word(file, 2) ^ s[3], 272u);
    EXPECT_EQ(word(file, 3) ^ s[4], 20u);
    EXPECT_EQ(word(file, 4) ^ s[5], 32u);

    unsigned char key[16] = {'N', 'O', 'D', 'R', 'E', 'L', '0', '6'};
    for (int i = 0; i < 8; ++i) key[8 + i] = static_cast<unsigned char>(s[1 + i]);
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    ASSERT_EQ(EVP_DecryptInit_ex(ctx, EVP_aes_128_ecb(), nullptr, key, nullptr), 1);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    unsigned char out[272 + 16];
    int len = 0;
    ASSERT_EQ(
        EVP_DecryptUpdate(ctx, out, &len, reinterpret_cast<const unsigned char*>(file.data()), 272),
        1);
    EVP_CIPHER_CTX_free(ctx);
    ASSERT_EQ(len, 272);
    EXPECT_EQ(std::memcmp(out, rec.data(), 256), 0);
    for (int i = 256; i < 272; ++i) EXPECT_EQ(out[i], 0x10) << i;
}

TEST(Envelope, NoLastChunkIgnoresWordFour) {
    std::string rec = pattern(4096);
    std::string file = seal(rec.data(), rec.size());
    set_word(file, 4, 0xDEADBEEF);
    std::string back;
    EXPECT_EQ(unseal(file, back, 4096), kUnsealOk);
    EXPECT_EQ(back, rec);
}

TEST(Envelope, DamagedFilesAreRejected) {
    std::string rec = pattern(2068);
    const std::string good = seal_with_seed(rec.data(), rec.size(), 777);
    uint32_t s[6];
    s[0] = 777;
    for (int i = 1; i < 6; ++i) s[i] = step64(s[i - 1]);
    struct Case {
        const char* what;
        int expect;
        void (*damage)(std::string&, const uint32_t*);
    } cases[] = {
        {"too short", kUnsealShort, [](std::string& f, const uint32_t*) { f.resize(10); }},
        {"truncated", kUnsealTrailer, [](std::string& f, const uint32_t*) { f.erase(0, 16); }},
        {"chunk count", kUnsealTrailer,
         [](std::string& f, const uint32_t* states) { set_word(f, 0, 9000000 ^ states[1]); }},
        {"plain chunk size", kUnsealTrailer,
         [](std::string& f, const uint32_t* states) { set_word(f, 1, 128 ^ states[2]); }},
        {"sealed chunk size", kUnsealTrailer,
         [](std::string& f, const uint32_t* states) { set_word(f, 2, 256 ^ states[3]); }},
        {"rest too big", kUnsealTrailer,
         [](std::string& f, const uint32_t* states) { set_word(f, 3, 300 ^ states[4]); }},
        {"last chunk size", kUnsealTrailer,
         [](std::string& f, const uint32_t* states) { set_word(f, 4, 48 ^ states[5]); }},
        {"zero seed", kUnsealTrailer, [](std::string& f, const uint32_t*) { set_word(f, 5, 0); }},
        {"other seed", kUnsealTrailer,
         [](std::string& f, const uint32_t*) { set_word(f, 5, 778); }},
        {"garbled cipher", kUnsealCipher,
         [](std::string& f, const uint32_t*) { f[2176 + 16 + 5] ^= 0x55; }},
    };
    for (const Case& c : cases) {
        std::string f = good;
        c.damage(f, s);
        std::string back = "unchanged";
        EXPECT_EQ(unseal(f, back, 2068), c.expect) << c.what;
        EXPECT_EQ(back, "unchanged") << c.what;
    }
    std::string back;
    EXPECT_EQ(unseal(good, back, 4096), kUnsealSize);
}

}  // namespace
}  // namespace nd
