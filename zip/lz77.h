// The block codec of release files: an LZ77 coder over one block of at most
// 65,536 bytes. Its output is fixed bit for bit (search order, tie-break, code
// widths and bit order), so any two coders that follow the same rules agree.
#pragma once

#include <cstdint>
#include <memory>

namespace nd {

constexpr int kLz77BlockMax = 65536;

// The codec interface. A codec instance is reusable: every call starts from
// a clean state.
class CCompress {
public:
    virtual ~CCompress() = default;
    // Codes `length` bytes of `source` into `destination`, which must have
    // room for length + 8 bytes. Returns -1 when length exceeds 65,536, 0 when
    // coding does not make the block smaller (the caller stores it raw), and
    // otherwise the number of coded bytes, a partly filled last byte counting
    // whole.
    virtual int compress(const uint8_t* source, int length, uint8_t* destination) = 0;
    // Decodes `stored` coded bytes of `source` into exactly `length` bytes of
    // `destination`. Returns false when length is outside 1..65,536 or the
    // coded bytes are damaged: they run out early, a length code overruns the
    // block, or a copy starts at or beyond the bytes produced so far. Nothing
    // is ever read past source[stored - 1] or written past
    // destination[length - 1].
    virtual bool decompress(uint8_t* destination, int length, const uint8_t* source,
                            int stored) = 0;
};

class CCompressLZ77 final : public CCompress {
public:
    CCompressLZ77();
    ~CCompressLZ77() override;
    int compress(const uint8_t* source, int length, uint8_t* destination) override;
    bool decompress(uint8_t* destination, int length, const uint8_t* source, int stored) override;

    // One entry of the node table: a byte pair's start position, the last
    // pair of a run of equal bytes, and the next older node with the same key.
    struct Node {
        uint16_t start;
        uint16_t end;
        uint16_t next;
    };
    static_assert(sizeof(Node) == 6);

private:
    // Both tables are allocated once with the codec; the heads are cleared at
    // the start of each compress call, the nodes never need to be.
    std::unique_ptr<uint16_t[]> heads_;
    std::unique_ptr<Node[]> nodes_;
    // A second index over the same match positions, keyed by a hash of the
    // eight bytes that start there (positions are stored plus one, 0 ends a
    // chain). It only speeds up the search; the output is the same.
    std::unique_ptr<uint16_t[]> long_heads_;
    std::unique_ptr<uint16_t[]> long_next_;
};

// Number of bits of the position code when `window` bytes precede the token:
// ceil(log2 window), and 0 for a window of one byte.
inline int lz77_position_bits(int window) {
    return window <= 1 ? 0 : 32 - __builtin_clz(static_cast<unsigned>(window - 1));
}

}  // namespace nd
