// Row kernels of the three blends. The scalar kernels are the definition; the
// vector kernels must give the same words bit for bit and finish each row
// with the scalar pixel function. Internal to the graphics layer and its tests.
#pragma once

#include <cstdint>

namespace gfx::detail {

// The blend of one pixel word, in wrapping unsigned 32-bit arithmetic with
// logical shifts: red and blue move together under one mask, green alone,
// and the destination's alpha byte stays. Alpha 256 copies the colour.
inline uint32_t blend_pixel(uint32_t d, uint32_t s, uint32_t a) {
    const uint32_t drb = d & 0x00FF00FFu, dg = d & 0x0000FF00u;
    const uint32_t rb = (drb + ((((s & 0x00FF00FFu) - drb) * a) >> 8)) & 0x00FF00FFu;
    const uint32_t g = (dg + ((((s & 0x0000FF00u) - dg) * a) >> 8)) & 0x0000FF00u;
    return rb | g | (d & 0xFF000000u);
}

using ConstRow = void (*)(uint32_t* d, const uint32_t* s, int n, uint32_t alpha);
using KeyedRow = void (*)(uint32_t* d, const uint32_t* s, int n, uint32_t key, uint32_t alpha);
using SrcAlphaRow = void (*)(uint32_t* d, const uint32_t* s, int n);

struct BlendKernels {
    const char* name;
    ConstRow constant;
    KeyedRow keyed;
    SrcAlphaRow src_alpha;
};

const BlendKernels& scalar_kernels();
// nullptr when the processor lacks the instructions.
const BlendKernels* sse2_kernels();
const BlendKernels* avx2_kernels();

// The kernels in use, chosen once at start: the widest the processor has,
// or the scalar ones when ND_FORCE_SCALAR=1.
const BlendKernels& blend_kernels();
const BlendKernels& choose_kernels(bool force_scalar);

}  // namespace gfx::detail
