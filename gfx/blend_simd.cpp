// Vector blend kernels for x86-64: SSE2 (always present) and AVX2 (chosen
// when the processor has it). They hand the row's last few pixels to the
// scalar pixel function, and tests hold them to the scalar words bit for bit.
//
// Why the vector kernels may work per channel: in the word formula the red
// and blue products share one 32-bit word, yet no carry or borrow crosses
// from blue into red. With a <= 255, floor((s - d) * a / 256) moves a
// channel d towards s without passing it, so d + floor(...) stays in 0..255;
// the word formula therefore equals, channel by channel,
//     out = d + floor((s - d) * a / 256),
// and the low 8 bits of that are what a 16-bit lane computes as
//     out = (d + (((s - d) * a) mod 2^16 >> 8)) mod 2^8.
// Blue and red sit in the even bytes, green and alpha in the odd bytes; the
// alpha lane is given multiplier 0, which keeps the destination's alpha.
#include <immintrin.h>

#include "gfx/blend.h"

namespace gfx::detail {
namespace {

// ---- SSE2 -----------------------------------------------------------------

// Four pixels. `a_even` holds a in both 16-bit halves of each lane (blue,
// red); `a_odd` holds a in the low half and 0 in the high half (green, alpha).
inline __m128i blend4_sse2(__m128i d, __m128i s, __m128i a_even, __m128i a_odd) {
    const __m128i m_even = _mm_set1_epi16(0x00FF);
    // Even bytes: e = (d + ((s - d) * a >> 8)) & 0xFF per 16-bit lane.
    const __m128i de = _mm_and_si128(d, m_even), se = _mm_and_si128(s, m_even);
    __m128i e = _mm_mullo_epi16(_mm_sub_epi16(se, de), a_even);
    e = _mm_and_si128(_mm_add_epi16(de, _mm_srli_epi16(e, 8)), m_even);
    // Odd bytes, moved down by 8, blended the same way and moved back up;
    // the shift up drops everything above the low byte.
    const __m128i dodd = _mm_srli_epi16(d, 8), sodd = _mm_srli_epi16(s, 8);
    __m128i o = _mm_mullo_epi16(_mm_sub_epi16(sodd, dodd), a_odd);
    o = _mm_slli_epi16(_mm_add_epi16(dodd, _mm_srli_epi16(o, 8)), 8);
    return _mm_or_si128(e, o);
}

void const_row_sse2(uint32_t* d, const uint32_t* s, int n, uint32_t alpha) {
    const __m128i a_even = _mm_set1_epi16(static_cast<short>(alpha));
    const __m128i a_odd = _mm_set1_epi32(static_cast<int>(alpha));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m128i d0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i d1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + 4));
        const __m128i s0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i s1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), blend4_sse2(d0, s0, a_even, a_odd));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 4), blend4_sse2(d1, s1, a_even, a_odd));
    }
    for (; i < n; ++i) d[i] = blend_pixel(d[i], s[i], alpha);
}

void keyed_row_sse2(uint32_t* d, const uint32_t* s, int n, uint32_t key, uint32_t alpha) {
    const __m128i a_even = _mm_set1_epi16(static_cast<short>(alpha));
    const __m128i a_odd = _mm_set1_epi32(static_cast<int>(alpha));
    const __m128i m_rgb = _mm_set1_epi32(0x00FFFFFF);
    const __m128i k = _mm_set1_epi32(static_cast<int>(key & 0x00FFFFFFu));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        // Lanes whose colour equals the key keep the destination.
        const __m128i skip = _mm_cmpeq_epi32(_mm_and_si128(sv, m_rgb), k);
        const __m128i out = blend4_sse2(dv, sv, a_even, a_odd);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                         _mm_or_si128(_mm_and_si128(skip, dv), _mm_andnot_si128(skip, out)));
    }
    for (; i < n; ++i) {
        if ((s[i] & 0x00FFFFFFu) != (key & 0x00FFFFFFu)) d[i] = blend_pixel(d[i], s[i], alpha);
    }
}

void src_alpha_row_sse2(uint32_t* d, const uint32_t* s, int n) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        // Each lane's multiplier is its own source alpha byte.
        const __m128i a_odd = _mm_srli_epi32(sv, 24);
        const __m128i a_even = _mm_or_si128(a_odd, _mm_slli_epi32(a_odd, 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), blend4_sse2(dv, sv, a_even, a_odd));
    }
    for (; i < n; ++i) d[i] = blend_pixel(d[i], s[i], s[i] >> 24);
}

// ---- AVX2 -----------------------------------------------------------------

#define ND_AVX2 __attribute__((target("avx2")))

// Eight pixels of blend4_sse2.
ND_AVX2 inline __m256i blend8_avx2(__m256i d, __m256i s, __m256i a_even, __m256i a_odd) {
    const __m256i m_even = _mm256_set1_epi16(0x00FF);
    const __m256i de = _mm256_and_si256(d, m_even), se = _mm256_and_si256(s, m_even);
    __m256i e = _mm256_mullo_epi16(_mm256_sub_epi16(se, de), a_even);
    e = _mm256_and_si256(_mm256_add_epi16(de, _mm256_srli_epi16(e, 8)), m_even);
    const __m256i dodd = _mm256_srli_epi16(d, 8), sodd = _mm256_srli_epi16(s, 8);
    __m256i o = _mm256_mullo_epi16(_mm256_sub_epi16(sodd, dodd), a_odd);
    o = _mm256_slli_epi16(_mm256_add_epi16(dodd, _mm256_srli_epi16(o, 8)), 8);
    return _mm256_or_si256(e, o);
}

ND_AVX2 void const_row_avx2(uint32_t* d, const uint32_t* s, int n, uint32_t alpha) {
    const __m256i a_even = _mm256_set1_epi16(static_cast<short>(alpha));
    const __m256i a_odd = _mm256_set1_epi32(static_cast<int>(alpha));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), blend8_avx2(dv, sv, a_even, a_odd));
    }
    for (; i < n; ++i) d[i] = blend_pixel(d[i], s[i], alpha);
}

ND_AVX2 void keyed_row_avx2(uint32_t* d, const uint32_t* s, int n, uint32_t key, uint32_t alpha) {
    const __m256i a_even = _mm256_set1_epi16(static_cast<short>(alpha));
    const __m256i a_odd = _mm256_set1_epi32(static_cast<int>(alpha));
    const __m256i m_rgb = _mm256_set1_epi32(0x00FFFFFF);
    const __m256i k = _mm256_set1_epi32(static_cast<int>(key & 0x00FFFFFFu));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i skip = _mm256_cmpeq_epi32(_mm256_and_si256(sv, m_rgb), k);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            _mm256_blendv_epi8(blend8_avx2(dv, sv, a_even, a_odd), dv, skip));
    }
    for (; i < n; ++i) {
        if ((s[i] & 0x00FFFFFFu) != (key & 0x00FFFFFFu)) d[i] = blend_pixel(d[i], s[i], alpha);
    }
}

ND_AVX2 void src_alpha_row_avx2(uint32_t* d, const uint32_t* s, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i a_odd = _mm256_srli_epi32(sv, 24);
        const __m256i a_even = _mm256_or_si256(a_odd, _mm256_slli_epi32(a_odd, 16));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), blend8_avx2(dv, sv, a_even, a_odd));
    }
    for (; i < n; ++i) d[i] = blend_pixel(d[i], s[i], s[i] >> 24);
}

#undef ND_AVX2

const BlendKernels kSse2{"sse2", const_row_sse2, keyed_row_sse2, src_alpha_row_sse2};
const BlendKernels kAvx2{"avx2", const_row_avx2, keyed_row_avx2, src_alpha_row_avx2};

}  // namespace

const BlendKernels* sse2_kernels() {
    return &kSse2;
}

const BlendKernels* avx2_kernels() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? &kAvx2 : nullptr;
}

}  // namespace gfx::detail
