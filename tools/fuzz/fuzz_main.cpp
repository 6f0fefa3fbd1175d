// One libFuzzer program per entry of entries.h: ND_FUZZ_ENTRY names it.
#include "tools/fuzz/entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    nd::fuzz::ND_FUZZ_ENTRY(data, size);
    return 0;
}
