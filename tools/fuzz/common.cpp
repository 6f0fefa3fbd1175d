#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tools/fuzz/entries.h"

namespace nd::fuzz {

void fuzz_require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz: broken rule: %s\n", what);
    std::abort();
}

const std::string& scratch_dir() {
    static const std::string* dir = [] {
        // Memory-backed when the machine has it: the writers flush every
        // file and folder, which on a disk would cost more than the reading.
        const char* tmp = std::getenv("TMPDIR");
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : (tmp && *tmp ? tmp : "/tmp");
        std::string pattern = base + "/nd_fuzz_XXXXXX";
        fuzz_require(mkdtemp(pattern.data()) != nullptr, "the scratch folder can be made");
        auto* made = new std::string(pattern + "/");
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(*dir, ignored);
        });
        return made;
    }();
    return *dir;
}

}  // namespace nd::fuzz
