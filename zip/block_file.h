// Block files: a release is a plain sequence of blocks, each a 4-byte header
// (unpacked length, stored length; 16-bit little-endian) and the block's
// bytes. A block whose two length fields are equal is stored raw; both fields
// 0 mean a raw block of 65,536 bytes, an unpacked field of 0 alone a coded
// block that unpacks to 65,536 bytes. There is no file header, magic, total
// length or checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "zip/lz77.h"

namespace nd {

struct BlockHeader {
    uint16_t unpacked;  // 0 stands for 65,536
    uint16_t stored;
};
static_assert(sizeof(BlockHeader) == 4);
static_assert(offsetof(BlockHeader, stored) == 2);

// Status codes of block-file reading.
constexpr int kBlockOk = 0;
constexpr int kBlockNoInput = -1;      // the release file cannot be opened
constexpr int kBlockNoOutput = -2;     // the output file cannot be created or written
constexpr int kBlockDecodeError = -3;  // a coded block does not decode
constexpr int kBlockTruncated = -4;    // the file ends inside a block
constexpr int kBlockTooLarge = -5;     // the file unpacks to more than the caller allows

// Cuts `size` bytes into blocks of `block_size` (1..65,536) bytes and appends
// the block file to *out, storing a block raw when coding does not shrink it.
// Returns 0, or -1 for a bad block size.
[[nodiscard]] int pack_blocks(CCompress& codec, const uint8_t* data, size_t size, int block_size,
                              std::vector<uint8_t>* out);

// Decodes a whole block file held in memory into *out (replacing its
// contents). Returns 0 or one of the negative status codes above.
[[nodiscard]] int unpack_blocks(CCompress& codec, const uint8_t* data, size_t size,
                                std::vector<uint8_t>* out);

// Rebuilds `output_path` from the block file at `input_path`. The output is
// written in full or not at all: on any failure a partly written output is
// removed. A block that does not decode prints "Decompress error" to
// standard error. A few bytes of blocks can stand for 65,536 output bytes,
// so a reader of untrusted files passes `max_output` to stop a small file
// from filling the disk. Returns 0 or one of the negative status codes above.
[[nodiscard]] int read_block_file(CCompress& codec, const char* input_path, const char* output_path,
                                  uint64_t max_output = UINT64_MAX);

// Short technical text for a status code of this file.
const char* block_status_text(int status);

}  // namespace nd
