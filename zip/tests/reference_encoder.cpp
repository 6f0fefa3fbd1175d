#include "zip/tests/reference_encoder.h"

#include <algorithm>

namespace nd::testing {
namespace {

struct RefNode {
    uint16_t start = 0, end = 0, next = 0;
};

struct RefCoder {
    const uint8_t* s;
    int n;
    std::vector<uint16_t> heads = std::vector<uint16_t>(65536, 0);
    std::vector<RefNode> nodes = std::vector<RefNode>(65536);
    uint16_t counter = 1;
    int w = 0;
    std::vector<uint8_t>* out;
    int byte = 0;
    int bit = 0;

    void put_bit(int b) {
        if (b) (*out)[byte] |= static_cast<uint8_t>(0x80 >> bit);
        if (++bit == 8) {
            bit = 0;
            ++byte;
        }
    }
    void put_field(uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) put_bit((value >> i) & 1);
    }
    void insert(int count) {
        for (int k = 0; k < count; ++k) {
            w = w + 1;
            if (w < 2) continue;
            int p = w - 2;
            uint8_t a = s[p], b = s[p + 1];
            uint16_t h = heads[a * 256 + b];
            if (a == b && h != 0 && nodes[h].end == p - 1) {
                nodes[h].end = static_cast<uint16_t>(p);
            } else if (a == b) {
                uint16_t m = counter++;
                nodes[m] = {static_cast<uint16_t>(p), static_cast<uint16_t>(p), h};
                heads[a * 256 + b] = m;
            } else {
                uint16_t m = counter++;
                nodes[m].start = static_cast<uint16_t>(p);
                nodes[m].next = h;
                heads[a * 256 + b] = m;
            }
        }
    }
};

int ceil_log2(int w) {
    int k = 0;
    while ((1 << k) < w) ++k;
    return k;
}

}  // namespace

int reference_compress(const uint8_t* source, int length, std::vector<uint8_t>* out) {
    if (length > 65536) return -1;
    out->assign(length + 8, 0);
    RefCoder c;
    c.s = source;
    c.n = length;
    c.out = out;
    int r = 0;
    while (r < length) {
        if (c.byte >= length) return 0;
        bool found = false;
        int best_len = 0, best_pos = 0;
        if (r < length - 1) {
            uint16_t head = c.heads[source[r] * 256 + source[r + 1]];
            if (head != 0) {
                best_pos = c.nodes[head].start;
                best_len = 2;
                for (uint16_t node = head; node != 0; node = c.nodes[node].next) {
                    int q = c.nodes[node].start;
                    int limit = std::min(length - r, c.w - q);
                    int i = 2;
                    while (i < limit && source[r + i] == source[q + i]) ++i;
                    if (i > best_len) {
                        best_len = i;
                        best_pos = q;
                    }
                }
                found = true;
            }
        }
        if (found) {
            c.put_bit(1);
            int x = best_len - 1;
            int n = 0;
            while ((2 << n) <= x) ++n;
            for (int i = 0; i < n; ++i) c.put_bit(1);
            c.put_bit(0);
            if (n > 0) c.put_field(x - (1 << n), n);
            c.put_field(best_pos, ceil_log2(c.w));
            c.insert(best_len);
            r += best_len;
        } else {
            c.put_bit(0);
            c.put_field(source[r], 8);
            c.insert(1);
            r += 1;
        }
    }
    int result = c.byte + (c.bit != 0 ? 1 : 0);
    out->resize(result);
    return result < length ? result : 0;
}

}  // namespace nd::testing
