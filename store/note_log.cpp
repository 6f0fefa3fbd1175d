#include "store/note_log.h"

#include <cstring>

#include "base/file_io.h"
#include "base/gbk.h"
#include "store/tables.h"
#include "store/texts.h"

namespace nd {

namespace {

// Names in the user's lines are cut to this many bytes: a line names the
// item, it does not show it.
constexpr size_t kShownName = 40;

// The name the next copy kept aside would get.
std::string next_bad_name(const std::string& path) {
    for (int i = 0; i < 100; ++i) {
        std::string name = path + ".bad" + (i ? std::to_string(i) : std::string());
        if (!file_exists(name)) return name;
    }
    return path + ".bad";
}

}  // namespace

std::string RepairNote::line() const {
    switch (outcome) {
        case kDone:
            return found + ", " + action;
        case kWouldDo:
            return found + "; a repair would: " + action;
        case kFailed:
            break;
    }
    return found + "; not repaired, the write failed: " + failure;
}

std::vector<std::string> damage_messages(const RepairNotes& notes) {
    std::vector<std::string> lines;
    for (const RepairNote& n : notes)
        if (n.damage && !n.message_gbk.empty()) lines.push_back(n.message_gbk);
    return lines;
}

std::string subject_gbk(const char* word_gbk, const char* name, size_t width) {
    std::string text = field_text(name ? name : "", width);
    if (text.empty()) return word_gbk;
    text.resize(gbk_fit(text, kShownName));
    return std::string(word_gbk) + store_text::kOpenQuote + text + store_text::kCloseQuote;
}

bool NoteLog::record(const Finding& f, bool ok) {
    RepairNote note;
    note.damage = f.damage;
    note.found = f.found;
    note.action = f.action;
    if (dry_run_) {
        note.outcome = RepairNote::kWouldDo;
    } else if (ok) {
        note.outcome = RepairNote::kDone;
    } else {
        note.outcome = RepairNote::kFailed;
        note.failure = last_io_error();
        failed_ = true;
    }
    if (f.damage) {
        note.message_gbk =
            f.subject_gbk + f.problem_gbk +
            (note.outcome == RepairNote::kFailed ? std::string(store_text::kNotRepaired)
                                                 : f.action_gbk) +
            store_text::kFullStop;
    }
    if (notes_) notes_->push_back(std::move(note));
    return ok || dry_run_;
}

bool NoteLog::write(const std::string& path, const void* data, size_t size, const Finding& f) {
    if (dry_run_) return record(f, true);
    return record(f, store_write(path, data, size) == kIoOk);
}

bool NoteLog::keep_and_write(const std::string& path, const std::string& held,
                             const std::function<bool()>& write, Finding f) {
    std::string kept = next_bad_name(path);
    bool ok = true;
    if (!dry_run_) {
        ok = keep_copy_aside(path, held.data(), held.size(), &kept) == kIoOk && write();
    }
    f.action = "kept as " + kept + " and " + f.action;
    f.action_gbk += gbk_of(kept);
    return record(f, ok);
}

}  // namespace nd
