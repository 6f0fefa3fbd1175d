#include "zip/block_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace nd {
namespace {

uint16_t read_u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void append_u16(std::vector<uint8_t>* out, uint32_t v) {
    out->push_back(static_cast<uint8_t>(v & 0xFF));
    out->push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

// Reads one block starting at data[*pos] and appends its unpacked bytes.
// `scratch` holds at least 65,536 bytes.
int unpack_one(CCompress& codec, const uint8_t* data, size_t size, size_t* pos, uint8_t* scratch,
               const uint8_t** bytes, int* count) {
    if (size - *pos < 4) return kBlockTruncated;
    const uint16_t unpacked_field = read_u16(data + *pos);
    const uint16_t stored_field = read_u16(data + *pos + 2);
    const int unpacked = unpacked_field == 0 ? kLz77BlockMax : unpacked_field;
    *pos += 4;
    if (unpacked_field == stored_field) {
        if (size - *pos < static_cast<size_t>(unpacked)) return kBlockTruncated;
        *bytes = data + *pos;
        *count = unpacked;
        *pos += unpacked;
        return kBlockOk;
    }
    // A coded block is never empty and always shorter than what it unpacks
    // to; a header that says otherwise belongs to a damaged file.
    if (stored_field == 0 || stored_field >= unpacked) return kBlockDecodeError;
    if (size - *pos < stored_field) return kBlockTruncated;
    if (!codec.decompress(scratch, unpacked, data + *pos, stored_field)) return kBlockDecodeError;
    *bytes = scratch;
    *count = unpacked;
    *pos += stored_field;
    return kBlockOk;
}

}  // namespace

int pack_blocks(CCompress& codec, const uint8_t* data, size_t size, int block_size,
                std::vector<uint8_t>* out) {
    if (block_size < 1 || block_size > kLz77BlockMax) return -1;
    std::vector<uint8_t> coded(kLz77BlockMax + 8);
    for (size_t at = 0; at < size; at += block_size) {
        const int n = static_cast<int>(std::min<size_t>(block_size, size - at));
        std::memset(coded.data(), 0, n + 8);
        const int c = codec.compress(data + at, n, coded.data());
        // Lengths are stored modulo 65,536: a full block's unpacked field is 0.
        append_u16(out, static_cast<uint32_t>(n));
        if (c > 0) {
            append_u16(out, static_cast<uint32_t>(c));
            out->insert(out->end(), coded.begin(), coded.begin() + c);
        } else {
            append_u16(out, static_cast<uint32_t>(n));
            out->insert(out->end(), data + at, data + at + n);
        }
    }
    return 0;
}

int unpack_blocks(CCompress& codec, const uint8_t* data, size_t size, std::vector<uint8_t>* out) {
    out->clear();
    std::unique_ptr<uint8_t[]> scratch(new uint8_t[kLz77BlockMax]);
    size_t pos = 0;
    while (pos < size) {
        const uint8_t* bytes = nullptr;
        int count = 0;
        const int status = unpack_one(codec, data, size, &pos, scratch.get(), &bytes, &count);
        if (status != kBlockOk) return status;
        out->insert(out->end(), bytes, bytes + count);
    }
    return kBlockOk;
}

int read_block_file(CCompress& codec, const char* input_path, const char* output_path,
                    uint64_t max_output) {
    FILE* in = std::fopen(input_path, "rb");
    if (!in) return kBlockNoInput;
    // Release files are small enough to read whole; that keeps a single
    // bounds-checked path for files and memory alike.
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        data.insert(data.end(), buffer, buffer + got);
    const bool read_failed = std::ferror(in) != 0;
    std::fclose(in);
    if (read_failed) return kBlockNoInput;

    FILE* out = std::fopen(output_path, "wb");
    if (!out) return kBlockNoOutput;
    std::unique_ptr<uint8_t[]> scratch(new uint8_t[kLz77BlockMax]);
    size_t pos = 0;
    uint64_t written = 0;
    int status = kBlockOk;
    while (pos < data.size() && status == kBlockOk) {
        const uint8_t* bytes = nullptr;
        int count = 0;
        status = unpack_one(codec, data.data(), data.size(), &pos, scratch.get(), &bytes, &count);
        if (status != kBlockOk) break;
        if (static_cast<uint64_t>(count) > max_output - written)
            status = kBlockTooLarge;
        else if (std::fwrite(bytes, 1, count, out) != static_cast<size_t>(count))
            status = kBlockNoOutput;
        written += static_cast<uint64_t>(count);
    }
    if (std::fclose(out) != 0 && status == kBlockOk) status = kBlockNoOutput;
    if (status == kBlockDecodeError) std::fprintf(stderr, "Decompress error\n");
    if (status != kBlockOk) std::remove(output_path);
    return status;
}

const char* block_status_text(int status) {
    switch (status) {
        case kBlockOk:
            return "ok";
        case kBlockNoInput:
            return "cannot read the block file";
        case kBlockNoOutput:
            return "cannot write the output file";
        case kBlockDecodeError:
            return "Decompress error";
        case kBlockTruncated:
            return "the block file ends inside a block";
        case kBlockTooLarge:
            return "the block file unpacks to more bytes than allowed";
        default:
            return "unknown status";
    }
}

}  // namespace nd
