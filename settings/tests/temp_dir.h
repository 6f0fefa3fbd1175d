// A scratch directory removed with its contents when the test ends.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace nd::testing {

struct TempDir {
    std::string path;
    TempDir() {
        char tmpl[] = "/tmp/nd_settings_XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

}  // namespace nd::testing
