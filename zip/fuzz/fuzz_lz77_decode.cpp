#include "zip/fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    nd::fuzz_decode_one(data, size);
    return 0;
}
