#include "zip/lz77.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace nd {
namespace {

// Bits are packed most significant first into whole bytes. The accumulator
// keeps fewer than 8 pending bits between writes, so every field of up to
// 17 bits fits.
class BitWriter {
public:
    explicit BitWriter(uint8_t* out) : out_(out) {}
    void put(uint32_t value, int bits) {
        acc_ = (acc_ << bits) | value;
        pending_ += bits;
        while (pending_ >= 8) {
            pending_ -= 8;
            out_[pos_++] = static_cast<uint8_t>(acc_ >> pending_);
        }
    }
    // Whole bytes written so far: the index of the byte being filled.
    int byte_index() const { return pos_; }
    int finish() {
        if (pending_ > 0) out_[pos_++] = static_cast<uint8_t>(acc_ << (8 - pending_));
        pending_ = 0;
        return pos_;
    }

private:
    uint8_t* out_;
    uint64_t acc_ = 0;
    int pending_ = 0;
    int pos_ = 0;
};

// Length of the common run of source[a + i] and source[b + i] for i in
// [from, limit), compared eight bytes at a time where whole words fit.
constexpr int kLongKey = 8;

// The most bits one token takes: flag, 16 length-code bits and 15 value
// bits, and a 16-bit position.
constexpr int kLongestToken = 48;

inline uint64_t load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

inline unsigned long_hash(const uint8_t* p) {
    return static_cast<unsigned>((load64(p) * 0x9E3779B97F4A7C15ull) >> 48);
}

inline int common_length(const uint8_t* s, int a, int b, int from, int limit) {
    int i = from;
    while (i + 8 <= limit) {
        uint64_t x, y;
        std::memcpy(&x, s + a + i, 8);
        std::memcpy(&y, s + b + i, 8);
        if (x != y) return i + (__builtin_ctzll(x ^ y) >> 3);
        i += 8;
    }
    while (i < limit && s[a + i] == s[b + i]) ++i;
    return i;
}

// Reads bits most significant first and fails instead of reading past the
// end of the coded bytes.
class BitReader {
public:
    BitReader(const uint8_t* data, int size) : p_(data), end_(data + size) {}
    // Reads `bits` (0..24) bits into *value; false when the bytes run out.
    bool get(int bits, uint32_t* value) {
        if (count_ < bits) {
            refill();
            if (count_ < bits) return false;
        }
        *value = bits == 0 ? 0 : static_cast<uint32_t>(buf_ >> (64 - bits));
        buf_ = bits == 0 ? buf_ : buf_ << bits;
        count_ -= bits;
        return true;
    }
    // Counts 1 bits up to and including the first 0 bit, giving up past
    // `most` ones. Returns the count, or -1 when the bytes run out or the
    // count exceeds `most`.
    int ones(int most) {
        if (count_ < most + 1) refill();
        // Bits past count_ are 0, so the first 0 bit is found at or before
        // count_ even when every buffered bit is 1.
        const uint64_t inverse = ~buf_;
        const int n = inverse == 0 ? 64 : __builtin_clzll(inverse);
        if (n > most || n == count_) return -1;
        buf_ <<= n + 1;
        count_ -= n + 1;
        return n;
    }

    // Tops the buffer up with whole bytes, keeping every bit past count_ 0.
    void refill() {
        if (end_ - p_ >= 8) {
            const int bytes = (64 - count_) >> 3;
            if (bytes == 0) return;
            const int bits = bytes * 8;
            uint64_t w;
            std::memcpy(&w, p_, 8);
            w = __builtin_bswap64(w) >> (64 - bits);
            buf_ |= w << (64 - bits - count_);
            count_ += bits;
            p_ += bytes;
            return;
        }
        while (count_ <= 56 && p_ < end_) {
            buf_ |= static_cast<uint64_t>(*p_++) << (56 - count_);
            count_ += 8;
        }
    }
    // The fast path of the decoder reads a whole token straight from the
    // buffer once it holds enough bits.
    uint64_t peek() const { return buf_; }
    int count() const { return count_; }
    void consume(int bits) {
        buf_ <<= bits;
        count_ -= bits;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
    uint64_t buf_ = 0;
    int count_ = 0;
};

}  // namespace

CCompressLZ77::CCompressLZ77()
    : heads_(new uint16_t[65536]),
      nodes_(new Node[65536]),
      long_heads_(new uint16_t[65536]),
      long_next_(new uint16_t[65536]) {}

CCompressLZ77::~CCompressLZ77() = default;

int CCompressLZ77::compress(const uint8_t* source, int length, uint8_t* destination) {
    if (length > kLz77BlockMax) return -1;
    if (length <= 0) return 0;
    assert(source && destination);
    const uint8_t* s = source;
    const int n = length;
    uint16_t* heads = heads_.get();
    Node* nodes = nodes_.get();
    uint16_t* long_heads = long_heads_.get();
    uint16_t* long_next = long_next_.get();
    std::memset(heads, 0, 65536 * sizeof(uint16_t));
    std::memset(long_heads, 0, 65536 * sizeof(uint16_t));
    // At most 65,535 pairs exist in a block, so node numbers never wrap.
    uint32_t node_counter = 1;
    int w = 0;
    BitWriter out(destination);

    // Adds the pairs that end in the next `count` bytes to the hash chains.
    // A run of equal bytes stays one node whose end moves along, so only the
    // run's first pair is ever tried as a match position.
    auto insert = [&](int count) {
        for (int k = 0; k < count; ++k) {
            ++w;
            if (w < 2) continue;
            const int p = w - 2;
            const uint8_t a = s[p];
            const uint8_t b = s[p + 1];
            const unsigned key = a * 256u + b;
            const uint16_t h = heads[key];
            if (a == b && h != 0 && nodes[h].end == static_cast<uint16_t>(p - 1)) {
                nodes[h].end = static_cast<uint16_t>(p);
                continue;
            }
            const uint16_t m = static_cast<uint16_t>(node_counter++);
            nodes[m].start = static_cast<uint16_t>(p);
            nodes[m].end = static_cast<uint16_t>(p);
            nodes[m].next = h;
            heads[key] = m;
            // Every position a node starts at is also listed by its first
            // eight bytes, newest first like the pair chains.
            if (p + kLongKey <= n) {
                const unsigned lh = long_hash(s + p);
                long_next[p] = long_heads[lh];
                long_heads[lh] = static_cast<uint16_t>(p + 1);
            }
        }
    };

    int r = 0;
    while (r < n) {
        if (out.byte_index() >= n) return 0;
        int best_len = 0;
        int best_pos = 0;
        if (r < n - 1) {
            const uint16_t head = heads[s[r] * 256u + s[r + 1]];
            if (head != 0) {
                best_pos = nodes[head].start;
                best_len = 2;
                const int most = n - r;
                // Only positions whose first eight bytes equal ours can give
                // a match of eight or more, and they are exactly the pair
                // chain's positions that have those bytes, in the same
                // newest-first order. When one of them reaches eight, the
                // pair chain cannot do better and need not be walked.
                int long_len = 0;
                int long_pos = 0;
                if (most >= kLongKey) {
                    const uint64_t key8 = load64(s + r);
                    for (uint16_t at = long_heads[long_hash(s + r)]; at != 0 && long_len < most;
                         at = long_next[at - 1]) {
                        const int q = at - 1;
                        if (load64(s + q) != key8) continue;
                        const int limit = std::min(most, w - q);
                        if (limit <= long_len) continue;
                        // Below eight any such position wins; from eight on it
                        // must also match the byte the best one stopped at.
                        if (long_len >= kLongKey && s[q + long_len] != s[r + long_len]) continue;
                        const int i =
                            limit <= kLongKey ? limit : common_length(s, r, q, kLongKey, limit);
                        if (i > long_len) {
                            long_len = i;
                            long_pos = q;
                        }
                    }
                }
                if (long_len >= kLongKey) {
                    best_len = long_len;
                    best_pos = long_pos;
                } else {
                    // The chain runs newest first. A node wins only when
                    // strictly longer, so a candidate whose limit or next byte
                    // cannot beat the best is skipped without changing the
                    // outcome, and once the best reaches the end of the block
                    // nothing can beat it. Below eight bytes, seven is the
                    // most any candidate can still give.
                    const int cap = most >= kLongKey ? std::min(most, kLongKey - 1) : most;
                    for (uint16_t node = head; node != 0 && best_len < cap;
                         node = nodes[node].next) {
                        const int q = nodes[node].start;
                        const int limit = std::min(cap, w - q);
                        if (limit <= best_len || s[q + best_len] != s[r + best_len]) continue;
                        const int i = common_length(s, r, q, 2, limit);
                        if (i > best_len) {
                            best_len = i;
                            best_pos = q;
                        }
                    }
                }
            }
        }
        if (best_len >= 2) {
            const uint32_t x = static_cast<uint32_t>(best_len - 1);
            const int bits = 31 - __builtin_clz(x);
            out.put(1, 1);
            out.put(((1u << bits) - 1) << 1, bits + 1);
            if (bits > 0) out.put(x - (1u << bits), bits);
            out.put(static_cast<uint32_t>(best_pos), lz77_position_bits(w));
            insert(best_len);
            r += best_len;
        } else {
            out.put(s[r], 9);
            insert(1);
            r += 1;
        }
    }
    const int result = out.finish();
    return result < n ? result : 0;
}

bool CCompressLZ77::decompress(uint8_t* destination, int length, const uint8_t* source,
                               int stored) {
    if (length <= 0 || length > kLz77BlockMax || stored < 0) return false;
    assert(destination && (source || stored == 0));
    BitReader in(source, stored);
    uint8_t* d = destination;
    int w = 0;
    while (w < length) {
        int len;
        uint32_t pos;
        if (in.count() < kLongestToken) in.refill();
        if (in.count() >= kLongestToken) {
            // Every field of the token is already buffered.
            const uint64_t b = in.peek();
            if (!(b >> 63)) {
                d[w++] = static_cast<uint8_t>(b >> 55);
                in.consume(9);
                continue;
            }
            const uint64_t inverse = ~(b << 1);
            const int c = inverse == 0 ? 64 : __builtin_clzll(inverse);
            // A length above 65,536 needs 16 or more ones; no block holds it.
            if (c > 15) return false;
            int used = c + 2;
            const uint32_t v = c == 0 ? 0 : static_cast<uint32_t>((b << used) >> (64 - c));
            used += c;
            len = c == 0 ? 2 : static_cast<int>(v + (1u << c) + 1);
            const int k = lz77_position_bits(w);
            pos = k == 0 ? 0 : static_cast<uint32_t>((b << used) >> (64 - k));
            in.consume(used + k);
        } else {
            uint32_t flag;
            if (!in.get(1, &flag)) return false;
            if (flag == 0) {
                uint32_t byte;
                if (!in.get(8, &byte)) return false;
                d[w++] = static_cast<uint8_t>(byte);
                continue;
            }
            const int c = in.ones(15);
            if (c < 0) return false;
            uint32_t v = 0;
            if (c > 0 && !in.get(c, &v)) return false;
            len = c == 0 ? 2 : static_cast<int>(v + (1u << c) + 1);
            if (!in.get(lz77_position_bits(w), &pos)) return false;
        }
        if (len > length - w || static_cast<int>(pos) >= w) return false;
        const int p = static_cast<int>(pos);
        if (p + len <= w) {
            std::memcpy(d + w, d + p, len);
        } else {
            // Overlapping copies repeat the bytes just produced, so they go
            // one byte at a time in increasing order.
            for (int j = 0; j < len; ++j) d[w + j] = d[p + j];
        }
        w += len;
    }
    return true;
}

}  // namespace nd
