// Vector blend kernels for x86-64: SSE2 (always present) and AVX2 (chosen
// when the processor has it). Each computes exactly the scalar word formula
// and hands the row's last few pixels to the scalar pixel function.
#include <immintrin.h>

#include "gfx/blend.h"

namespace gfx::detail {
namespace {

// ---- SSE2 -----------------------------------------------------------------

// x * a mod 2^32 per 32-bit lane, with a (< 65536) in both 16-bit halves of
// each lane. With x = xh * 2^16 + xl: x * a = xl * a + ((xh * a) mod 2^16) * 2^16
// (mod 2^32). mullo gives (xl * a) mod 2^16 in the low half and
// (xh * a) mod 2^16 in the high half; mulhi gives (xl * a) >> 16, which
// belongs in the high half.
inline __m128i mul32_sse2(__m128i x, __m128i a16) {
    return _mm_add_epi32(_mm_mullo_epi16(x, a16), _mm_slli_epi32(_mm_mulhi_epu16(x, a16), 16));
}

// Four pixels of blend_pixel.
inline __m128i blend4_sse2(__m128i d, __m128i s, __m128i a16) {
    const __m128i m_rb = _mm_set1_epi32(0x00FF00FF), m_g = _mm_set1_epi32(0x0000FF00);
    const __m128i m_a = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i drb = _mm_and_si128(d, m_rb), dg = _mm_and_si128(d, m_g);
    // rb = (drb + (((s & 0xFF00FF) - drb) * a >> 8)) & 0xFF00FF
    __m128i rb = _mm_sub_epi32(_mm_and_si128(s, m_rb), drb);
    rb = _mm_and_si128(_mm_add_epi32(drb, _mm_srli_epi32(mul32_sse2(rb, a16), 8)), m_rb);
    // g = (dg + (((s & 0xFF00) - dg) * a >> 8)) & 0xFF00
    __m128i g = _mm_sub_epi32(_mm_and_si128(s, m_g), dg);
    g = _mm_and_si128(_mm_add_epi32(dg, _mm_srli_epi32(mul32_sse2(g, a16), 8)), m_g);
    return _mm_or_si128(_mm_or_si128(rb, g), _mm_and_si128(d, m_a));
}

// The source's alpha byte copied into both 16-bit halves of its lane.
inline __m128i own_alpha_sse2(__m128i s) {
    const __m128i a = _mm_srli_epi32(s, 24);
    return _mm_or_si128(a, _mm_slli_epi32(a, 16));
}

void const_row_sse2(uint32_t* d, const uint32_t* s, int n, uint32_t alpha) {
    const __m128i a16 = _mm_set1_epi16(static_cast<short>(alpha));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        __m128i d0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        __m128i d1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i + 4));
        const __m128i s0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        const __m128i s1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), blend4_sse2(d0, s0, a16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i + 4), blend4_sse2(d1, s1, a16));
    }
    for (; i < n; ++i) d[i] = blend_pixel(d[i], s[i], alpha);
}

void keyed_row_sse2(uint32_t* d, const uint32_t* s, int n, uint32_t key, uint32_t alpha) {
    const __m128i a16 = _mm_set1_epi16(static_cast<short>(alpha));
    const __m128i m_rgb = _mm_set1_epi32(0x00FFFFFF);
    const __m128i k = _mm_set1_epi32(static_cast<int>(key & 0x00FFFFFFu));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
        // Lanes whose colour equals the key keep the destination.
        const __m128i skip = _mm_cmpeq_epi32(_mm_and_si128(sv, m_rgb), k);
        const __m128i out = blend4_sse2(dv, sv, a16);
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
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                         blend4_sse2(dv, sv, own_alpha_sse2(sv)));
    }
    for (; i < n; ++i) d[i] = blend_pixel(d[i], s[i], s[i] >> 24);
}

// ---- AVX2 -----------------------------------------------------------------

#define ND_AVX2 __attribute__((target("avx2")))

ND_AVX2 inline __m256i mul32_avx2(__m256i x, __m256i a16) {
    return _mm256_add_epi32(_mm256_mullo_epi16(x, a16),
                            _mm256_slli_epi32(_mm256_mulhi_epu16(x, a16), 16));
}

ND_AVX2 inline __m256i blend8_avx2(__m256i d, __m256i s, __m256i a16) {
    const __m256i m_rb = _mm256_set1_epi32(0x00FF00FF), m_g = _mm256_set1_epi32(0x0000FF00);
    const __m256i m_a = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i drb = _mm256_and_si256(d, m_rb), dg = _mm256_and_si256(d, m_g);
    __m256i rb = _mm256_sub_epi32(_mm256_and_si256(s, m_rb), drb);
    rb = _mm256_and_si256(_mm256_add_epi32(drb, _mm256_srli_epi32(mul32_avx2(rb, a16), 8)), m_rb);
    __m256i g = _mm256_sub_epi32(_mm256_and_si256(s, m_g), dg);
    g = _mm256_and_si256(_mm256_add_epi32(dg, _mm256_srli_epi32(mul32_avx2(g, a16), 8)), m_g);
    return _mm256_or_si256(_mm256_or_si256(rb, g), _mm256_and_si256(d, m_a));
}

ND_AVX2 void const_row_avx2(uint32_t* d, const uint32_t* s, int n, uint32_t alpha) {
    const __m256i a16 = _mm256_set1_epi16(static_cast<short>(alpha));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), blend8_avx2(dv, sv, a16));
    }
    for (; i < n; ++i) d[i] = blend_pixel(d[i], s[i], alpha);
}

ND_AVX2 void keyed_row_avx2(uint32_t* d, const uint32_t* s, int n, uint32_t key, uint32_t alpha) {
    const __m256i a16 = _mm256_set1_epi16(static_cast<short>(alpha));
    const __m256i m_rgb = _mm256_set1_epi32(0x00FFFFFF);
    const __m256i k = _mm256_set1_epi32(static_cast<int>(key & 0x00FFFFFFu));
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
        const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
        const __m256i skip = _mm256_cmpeq_epi32(_mm256_and_si256(sv, m_rgb), k);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            _mm256_blendv_epi8(blend8_avx2(dv, sv, a16), dv, skip));
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
        const __m256i a = _mm256_srli_epi32(sv, 24);
        const __m256i a16 = _mm256_or_si256(a, _mm256_slli_epi32(a, 16));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), blend8_avx2(dv, sv, a16));
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
