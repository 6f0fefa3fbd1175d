// A plain, unoptimised block coder written line by line from the format's
// rules: bit-by-bit output into a zeroed buffer, a node table rebuilt per
// call, and the full chain walk with no shortcuts. The real coder must give
// byte-identical output.
#pragma once

#include <cstdint>
#include <vector>

namespace nd::testing {

// Same contract as CCompressLZ77::compress: -1, 0 or the coded length, with
// the coded bytes in *out.
int reference_compress(const uint8_t* source, int length, std::vector<uint8_t>* out);

}  // namespace nd::testing
