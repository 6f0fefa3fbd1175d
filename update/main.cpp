// update: replaces the installed program with the newest release of its
// product. Started by the program with no arguments from its own working
// directory, which holds "config.cfg".
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <string>

#include "base/gbk.h"
#include "settings/settings.h"
#include "update/config_file.h"
#include "update/single_instance.h"
#include "update/update_window.h"
#include "update/updater.h"

namespace {

// The program directory: the directory part of argv[0], or of our own
// executable when we were started through the search path.
std::string program_directory(const char* argv0) {
    std::string path = argv0 ? argv0 : "";
    if (path.find('/') == std::string::npos) {
        char self[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        path = n > 0 ? std::string(self, static_cast<size_t>(n)) : "./update";
    }
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

int main(int, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    const std::string program_dir = program_directory(argv[0]);
    if (nd::count_own_instances() >= 2) return 0;

    nd::UpdaterSetup setup;
    std::string reason;
    const int read = nd::read_config_file(nd::kConfigFile, &setup.settings, &reason);
    if (read == nd::kConfigMissing) return 0;
    if (read != nd::kConfigOk) {
        std::fprintf(stderr, "update: %s\n", reason.c_str());
        return 1;
    }
    if (nd::load_servers_cfg(program_dir + "/servers.cfg", &setup.servers, &reason) != 0)
        std::fprintf(stderr, "update: %s\n", reason.c_str());
    setup.program_dir = program_dir;
    setup.save_settings = [](const nd::ConfigRecord& record) {
        return nd::write_config(nd::kConfigFile, record);
    };

    nd::Updater updater(std::move(setup));
    const nd::ProductRow* row = updater.product();
    if (updater.start() != 0)
        std::fprintf(stderr, "update: product type %d has no release table row\n",
                     updater.settings().product);
    // A refused product still gets a window that says why, under a plain caption.
    const int status =
        nd::run_update_window(updater, row ? row->caption : "Update...") == 0 ? 0 : 1;
    // The last message also goes to the log, for whoever started us.
    std::string last = nd::gbk_to_utf8(updater.message());
    while (!last.empty() && last.back() == '\n') last.pop_back();
    std::fprintf(stderr, "update: %s\n", last.c_str());
    // Closing the window ends the process at once; worker threads may still
    // be blocked on the network and must not meet destroyed globals.
    std::fflush(nullptr);
    _exit(status);
}
