#include <cstring>
#include <string>

#include "base/file_io.h"
#include "settings/settings.h"

namespace nd {

int read_sealed(const std::string& path, void* record, size_t size) {
    std::string file;
    int io = read_file_all(path, file, 1u << 20);
    if (io == kIoMissing) return kSealedMissing;
    if (io != kIoOk) return kSealedDamaged;
    std::string rec;
    if (unseal(file, rec, size) != kUnsealOk) return kSealedDamaged;
    std::memcpy(record, rec.data(), size);
    return 0;
}

int write_sealed(const std::string& path, const void* record, size_t size) {
    std::string file = seal(record, size);
    if (file.empty()) return -1;
    return write_file_atomic(path, file.data(), file.size()) == kIoOk ? 0 : -1;
}

}  // namespace nd
