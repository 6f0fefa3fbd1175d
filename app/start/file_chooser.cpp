#include "app/start/file_chooser.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "app/start/texts.h"
#include "base/gbk.h"
#include "base/process.h"

namespace nd::start {

namespace {

// A path is at most a few kilobytes; anything longer is not an answer.
constexpr size_t kMaxOutput = 64 * 1024;

bool executable_in_path(const char* name, std::string* found) {
    const char* path = getenv("PATH");
    if (!path) return false;
    std::string dirs = path;
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            *found = candidate;
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::string utf8_of(const char* gbk) {
    return gbk_to_utf8(gbk);
}

void finish(ChooserRun* run, int* status) {
    if (run->fd >= 0) close(run->fd);
    run->fd = -1;
    *status = wait_process(run->pid);
    run->pid = -1;
}

}  // namespace

std::string chooser_program() {
    const char* forced = getenv("ND_FILE_CHOOSER");
    if (forced && *forced) return forced;
    std::string found;
    if (executable_in_path("zenity", &found)) return found;
    return "";
}

std::vector<std::string> chooser_arguments(EntryPurpose purpose, const std::string& start_dir) {
    std::vector<std::string> args = {"--file-selection"};
    if (purpose == EntryPurpose::kNew) {
        args.push_back("--save");
        args.push_back("--confirm-overwrite");
    }
    const char* title =
        purpose == EntryPurpose::kNew ? start_text::kNewDialogTitle : start_text::kOpenDialogTitle;
    args.push_back("--title=" + utf8_of(title));
    args.push_back("--file-filter=" + utf8_of(start_text::kFilterName) + " | *.wk");
    if (!start_dir.empty()) {
        args.push_back("--filename=" + start_dir + (start_dir.back() == '/' ? "" : "/"));
    }
    return args;
}

int chooser_start(ChooserRun* run, const std::string& program,
                  const std::vector<std::string>& args) {
    SpawnOptions options;
    options.search_path = true;
    options.null_input = true;
    options.capture_output = true;
    // The toolkit's warnings about the desktop session are no concern of
    // the user's.
    options.quiet_errors = true;
    Spawned chooser;
    if (spawn_process(program, args, options, &chooser) != 0) return -1;
    run->pid = chooser.pid;
    run->fd = chooser.output;
    run->output.clear();
    run->overflow = false;
    return 0;
}

ChooserState chooser_poll(ChooserRun* run, std::string* path) {
    if (run->fd < 0) return ChooserState::kCancelled;
    char buffer[4096];
    for (;;) {
        ssize_t n = read(run->fd, buffer, sizeof buffer);
        if (n > 0) {
            if (run->output.size() + n > kMaxOutput) run->overflow = true;
            if (!run->overflow) run->output.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return ChooserState::kPending;
        break;  // end of output: the program has ended or closed its side
    }
    int status = -1;
    finish(run, &status);
    std::string line = run->output.substr(0, run->output.find('\n'));
    if (status != 0 || run->overflow || line.empty()) return ChooserState::kCancelled;
    *path = line;
    return ChooserState::kChosen;
}

void chooser_cancel(ChooserRun* run) {
    if (run->pid > 0) kill(run->pid, SIGTERM);
    int status = -1;
    finish(run, &status);
}

}  // namespace nd::start
