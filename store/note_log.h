// How the repair pass and the loader keep their notes (store/load.h has the
// note itself): each finding says what it is and what mends it, in the
// tool's words and in the user's; the log carries out the mend, or only
// says it would in a look that writes nothing, and records what became of it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "store/load.h"

namespace nd {

struct Finding {
    std::string found;   // UTF-8
    std::string action;  // UTF-8, what the mend does
    // The user's sentence, GBK: "<subject><problem><action>。", or
    // "<subject><problem>，无法修复：写入失败。" when the mend failed.
    std::string subject_gbk;
    const char* problem_gbk = "";
    std::string action_gbk;
    bool damage = true;
};

// A routine update: the workspace was whole, and the user is not told.
inline Finding routine(std::string found, std::string action) {
    Finding f;
    f.found = std::move(found);
    f.action = std::move(action);
    f.damage = false;
    return f;
}

// "<word>「<name>」", the name cut to a short display length; the word alone
// when there is no name.
std::string subject_gbk(const char* word_gbk, const char* name, size_t width);

class NoteLog {
public:
    NoteLog(RepairNotes* notes, bool dry_run) : notes_(notes), dry_run_(dry_run) {}

    bool dry_run() const { return dry_run_; }
    bool any_failed() const { return failed_; }

    // Records a finding whose mend the caller carried out (`ok` tells how it
    // went) or, in a dry run, would have. Returns `ok`.
    bool record(const Finding& finding, bool ok);
    // Writes the mended bytes over `path` and records the finding; in a dry
    // run only records that it would. True when written (or in a dry run).
    bool write(const std::string& path, const void* data, size_t size, const Finding& finding);
    // Keeps the bytes a short file held as "<path>.bad" (the first free such
    // name) and then has `write` write the mended file over it (not in a dry
    // run). The action in the tool's and the user's words is completed with
    // the name the copy got. True when both worked (or in a dry run).
    bool keep_and_write(const std::string& path, const std::string& held,
                        const std::function<bool()>& write, Finding finding);

private:
    RepairNotes* notes_;
    bool dry_run_;
    bool failed_ = false;
};

}  // namespace nd
