#include "base/temp_folder.h"

#include <cstdlib>

#include "base/file_io.h"

namespace nd {

int make_temp_folder(const std::string& name, std::string* path, std::string* reason) {
    const char* system_temp = std::getenv("TMPDIR");
    std::string candidates[2] = {system_temp && *system_temp ? system_temp : "/tmp", "/tmp"};
    for (std::string place : candidates) {
        if (place.back() != '/') place += '/';
        const std::string folder = place + name + "/";
        if (make_dir(folder)) {
            *path = folder;
            return 0;
        }
    }
    *reason = "cannot create the temporary folder " + name + ": " + last_io_error();
    return -1;
}

}  // namespace nd
