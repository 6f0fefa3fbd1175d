// The checks the fuzz targets run on each input, shared with the unit test
// that replays kept inputs. A violated invariant aborts, which both libFuzzer
// and the test report.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "zip/block_file.h"
#include "zip/lz77.h"
#include "zip/tests/reference_encoder.h"

namespace nd {

// The first two bytes give the unpacked length (0 for 65,536); the rest is a
// coded block. The output buffer is exactly that long, so a write past it is
// caught by the address checker. Then the same bytes, read as plain data,
// must code exactly as the plain reference coder does and survive a
// compress and decompress round trip unchanged.
inline void fuzz_decode_one(const uint8_t* data, size_t size) {
    static CCompressLZ77 codec;
    if (size >= 2) {
        const int length = (data[0] | (data[1] << 8)) == 0 ? 65536 : (data[0] | (data[1] << 8));
        std::unique_ptr<uint8_t[]> coded(new uint8_t[size - 2 + 1]);
        std::memcpy(coded.get(), data + 2, size - 2);
        std::unique_ptr<uint8_t[]> out(new uint8_t[length]);
        codec.decompress(out.get(), length, coded.get(), static_cast<int>(size - 2));
    }
    const int n = static_cast<int>(size > 65536 ? 65536 : size);
    if (n == 0) return;
    std::vector<uint8_t> packed(n + 8, 0);
    const int c = codec.compress(data, n, packed.data());
    if (c < 0 || c >= n) std::abort();
    // The fast search must give the plain coder's bytes exactly.
    std::vector<uint8_t> reference;
    if (testing::reference_compress(data, n, &reference) != c) std::abort();
    if (c > 0 && std::memcmp(reference.data(), packed.data(), c) != 0) std::abort();
    if (c > 0) {
        std::vector<uint8_t> back(n);
        if (!codec.decompress(back.data(), n, packed.data(), c)) std::abort();
        if (std::memcmp(back.data(), data, n) != 0) std::abort();
    }
}

// The input is a whole block file. Reading it must end in a status, and a
// successful read must give a file that packs and unpacks back unchanged.
inline void fuzz_block_file_one(const uint8_t* data, size_t size) {
    static CCompressLZ77 codec;
    std::vector<uint8_t> out;
    const int status = unpack_blocks(codec, data, size, &out);
    if (status != kBlockOk) {
        if (status != kBlockDecodeError && status != kBlockTruncated) std::abort();
        return;
    }
    std::vector<uint8_t> packed, back;
    if (pack_blocks(codec, out.data(), out.size(), 65536, &packed) != 0) std::abort();
    if (unpack_blocks(codec, packed.data(), packed.size(), &back) != kBlockOk) std::abort();
    if (back != out) std::abort();
}

}  // namespace nd
