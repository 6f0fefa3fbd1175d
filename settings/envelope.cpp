#include "settings/envelope.h"

#include <openssl/evp.h>

#include <atomic>
#include <cstring>
#include <ctime>
#include <memory>

#include "base/park_miller.h"

namespace nd {

namespace {

// The program's 8-character key constant; bytes 8-15 of the key come from
// the seed's generator states.
const char kKeyConstant[8] = {'N', 'O', 'D', 'R', 'E', 'L', '0', '6'};
constexpr size_t kChunk = 256;
constexpr size_t kSealedChunk = 272;

struct Key {
    unsigned char bytes[16];
};

// states[i] is s_i: s_0 the seed, then successive generator steps.
void chain(int32_t seed, int32_t states[9]) {
    states[0] = seed;
    for (int i = 1; i < 9; ++i) states[i] = park_miller_step(states[i - 1]);
}

Key make_key(const int32_t states[9]) {
    Key k;
    std::memcpy(k.bytes, kKeyConstant, 8);
    for (int i = 0; i < 8; ++i) k.bytes[8 + i] = static_cast<unsigned char>(states[1 + i] & 0xFF);
    return k;
}

using CipherCtx = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

// One chunk through a fresh AES-128-ECB context with PKCS#7 padding.
bool run_chunk(bool encrypt, const Key& key, const unsigned char* in, size_t n, std::string& out) {
    CipherCtx ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    if (!ctx) return false;
    if (EVP_CipherInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, key.bytes, nullptr,
                          encrypt ? 1 : 0) != 1)
        return false;
    unsigned char buf[kSealedChunk + 32];
    int len1 = 0, len2 = 0;
    if (EVP_CipherUpdate(ctx.get(), buf, &len1, in, static_cast<int>(n)) != 1) return false;
    if (EVP_CipherFinal_ex(ctx.get(), buf + len1, &len2) != 1) return false;
    out.append(reinterpret_cast<char*>(buf), static_cast<size_t>(len1 + len2));
    return true;
}

void put_u32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t get_u32(const unsigned char* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

size_t sealed_size(size_t size) {
    size_t r = size % kChunk;
    return (size / kChunk) * kSealedChunk + (r ? 16 * (r / 16 + 1) : 0) + kEnvelopeTrailer;
}

std::string seal_with_seed(const void* record, size_t size, int32_t seed) {
    int32_t s[9];
    chain(seed, s);
    Key key = make_key(s);
    const unsigned char* p = static_cast<const unsigned char*>(record);
    size_t n = size / kChunk, r = size % kChunk;
    std::string out;
    out.reserve(sealed_size(size));
    for (size_t i = 0; i < n; ++i)
        if (!run_chunk(true, key, p + i * kChunk, kChunk, out)) return std::string();
    size_t last = 0;
    if (r > 0) {
        size_t before = out.size();
        if (!run_chunk(true, key, p + n * kChunk, r, out)) return std::string();
        last = out.size() - before;
    }
    put_u32(out, static_cast<uint32_t>(n) ^ static_cast<uint32_t>(s[1]));
    put_u32(out, uint32_t{kChunk} ^ static_cast<uint32_t>(s[2]));
    put_u32(out, uint32_t{kSealedChunk} ^ static_cast<uint32_t>(s[3]));
    put_u32(out, static_cast<uint32_t>(r) ^ static_cast<uint32_t>(s[4]));
    // With no last chunk the word still holds a full chunk's size.
    put_u32(out, static_cast<uint32_t>(r ? last : kSealedChunk) ^ static_cast<uint32_t>(s[5]));
    put_u32(out, static_cast<uint32_t>(seed));
    return out;
}

std::string seal(const void* record, size_t size) {
    // The tick count is the seed's source; a seed already used in this
    // process is bumped so that every write gets a fresh key.
    static std::atomic<int32_t> last_tick{0};
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    int64_t ms = static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
    int32_t tick = static_cast<int32_t>(ms % 2147483646) + 1;
    int32_t prev = last_tick.load();
    for (;;) {
        int32_t want = tick > prev ? tick : (prev % 2147483646) + 1;
        if (last_tick.compare_exchange_weak(prev, want)) {
            tick = want;
            break;
        }
    }
    int32_t seed = tick;
    for (int i = 0; i < 9999; ++i) seed = park_miller_step(seed);
    return seal_with_seed(record, size, seed);
}

int unseal(const std::string& file, std::string& record, size_t expected_size) {
    if (file.size() < kEnvelopeTrailer) return kUnsealShort;
    const unsigned char* t =
        reinterpret_cast<const unsigned char*>(file.data()) + file.size() - kEnvelopeTrailer;
    int32_t seed = static_cast<int32_t>(get_u32(t + 20));
    if (seed <= 0 || seed == 2147483647) return kUnsealTrailer;
    int32_t s[9];
    chain(seed, s);
    uint64_t n = get_u32(t + 0) ^ static_cast<uint32_t>(s[1]);
    uint32_t plain = get_u32(t + 4) ^ static_cast<uint32_t>(s[2]);
    uint32_t sealed = get_u32(t + 8) ^ static_cast<uint32_t>(s[3]);
    uint32_t r = get_u32(t + 12) ^ static_cast<uint32_t>(s[4]);
    uint32_t last = get_u32(t + 16) ^ static_cast<uint32_t>(s[5]);
    // When r is 0 there is no last chunk, whatever word 4 holds.
    uint64_t last_size = r ? last : 0;
    if (plain != kChunk || sealed != kSealedChunk || r >= kChunk) return kUnsealTrailer;
    if (r && last_size != 16 * (r / 16 + 1)) return kUnsealTrailer;
    if (n * kSealedChunk + last_size + kEnvelopeTrailer != file.size()) return kUnsealTrailer;
    if (expected_size && n * kChunk + r != expected_size) return kUnsealSize;

    Key key = make_key(s);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(file.data());
    std::string out;
    out.reserve(static_cast<size_t>(n * kChunk + r));
    for (uint64_t i = 0; i < n; ++i) {
        size_t before = out.size();
        if (!run_chunk(false, key, p + i * kSealedChunk, kSealedChunk, out) ||
            out.size() - before != kChunk)
            return kUnsealCipher;
    }
    if (r) {
        size_t before = out.size();
        if (!run_chunk(false, key, p + n * kSealedChunk, static_cast<size_t>(last_size), out) ||
            out.size() - before != r)
            return kUnsealCipher;
    }
    record.swap(out);
    return kUnsealOk;
}

const char* unseal_error_text(int status) {
    switch (status) {
        case kUnsealOk:
            return "ok";
        case kUnsealShort:
            return "file shorter than the envelope trailer";
        case kUnsealTrailer:
            return "envelope trailer does not fit the file";
        case kUnsealSize:
            return "record has the wrong size";
        default:
            return "a chunk failed to decipher";
    }
}

}  // namespace nd
