// New and Open ask the desktop's file chooser, a separate program whose
// answer is read from a pipe while the page keeps drawing. The program is
// "zenity" from PATH; ND_FILE_CHOOSER names another program that takes the
// same arguments and prints the chosen path (tests use it). With neither the
// page shows its own path entry.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "app/start/path_entry.h"

namespace nd::start {

// The chooser program to run, or "" when there is none.
std::string chooser_program();

// The chooser's arguments (UTF-8, without the program name): save mode with
// overwrite confirmation for New, the workspace filter, the dialog title, and
// `start_dir` (UTF-8) as the folder it opens in.
std::vector<std::string> chooser_arguments(EntryPurpose purpose, const std::string& start_dir);

enum class ChooserState { kPending, kChosen, kCancelled };

struct ChooserRun {
    pid_t pid = -1;
    int fd = -1;
    std::string output;
    bool overflow = false;
};

// Starts the program without a shell. 0, or -1 when it cannot be started.
[[nodiscard]] int chooser_start(ChooserRun* run, const std::string& program,
                                const std::vector<std::string>& args);
// Reads what the program has written so far without waiting. Once it has
// ended: kChosen with the first line of its output (UTF-8) in *path when it
// exited with 0 and printed a path, else kCancelled.
ChooserState chooser_poll(ChooserRun* run, std::string* path);
// Ends a chooser that is still open (the page is closing) and reaps it.
void chooser_cancel(ChooserRun* run);

}  // namespace nd::start
