#include "app/start/session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/start/texts.h"
#include "app/start/workspace_name.h"
#include "base/gbk.h"
#include "gfx/window/window.h"
#include "session/workspace.h"
#include "store/paths.h"

namespace nd::start {

namespace {

void show_failure(StartSession* s, const char* message_gbk, const std::string& detail_utf8) {
    s->state.message = message_gbk;
    s->state.detail = gbk_of(detail_utf8);
}

}  // namespace

void refresh_rows(StartSession* s) {
    const RecentTable& t = s->recent->table;
    int count = t.count < 0 ? 0 : (t.count > 20 ? 20 : t.count);
    s->rows.assign(count, {});
    s->names.assign(count, {});
    for (int i = 0; i < count; ++i) {
        const RecentEntry& e = t.entries[i];
        s->rows[i] = {e.in_use != 0, e.locked != 0};
        s->names[i].assign(e.name, strnlen(e.name, sizeof e.name));
    }
    clamp_scroll(&s->state, count);
}

int open_recent(StartSession* s, int index) {
    if (index < 0 || index >= static_cast<int>(s->rows.size())) return -1;
    const RecentEntry& e = s->recent->table.entries[index];
    std::string wk_path(e.path, strnlen(e.path, sizeof e.path));
    std::string root;
    if (!workspace_root(wk_path, root)) {
        show_failure(s, start_text::kPathTooLong, wk_path);
        return -1;
    }
    if (mkdir(root.c_str(), 0777) != 0 && errno != EEXIST) {
        show_failure(s, start_text::kOpenFailed, root + ": " + std::strerror(errno));
        return -1;
    }
    // A list that cannot be saved still opens the workspace; the order is
    // then kept only for this run.
    static_cast<void>(move_recent_to_top(*s->recent, index));
    refresh_rows(s);
    s->state.list.selected = 0;
    scroll_to(&s->state, static_cast<int>(s->rows.size()), 0);
    gfx::set_caption(s->names[0].c_str());

    s->job = std::make_shared<LoadJob>();
    s->job->wk_path = wk_path;
    s->job->root = root;
    s->state.mode = Mode::kLoading;
    s->state.message.clear();
    s->state.detail.clear();
    start_workspace_load(s->job);
    return 0;
}

void take_chosen_path(StartSession* s, EntryPurpose purpose, const std::string& chosen) {
    s->state.mode = Mode::kList;
    std::string path = chosen;
    if (!path.empty() && path[0] != '/') path = s->workspaces_dir + "/" + path;
    if (purpose == EntryPurpose::kNew) {
        if (path_for_new_workspace(path, &path) != 0) return;
    } else if (!acceptable_for_open(path)) {
        return;
    } else if (access(path.c_str(), F_OK) != 0) {
        // The chooser only offers files that exist; a typed path may not,
        // and opening must never make a workspace.
        show_failure(s, start_text::kOpenFailed, path + ": " + std::strerror(errno));
        return;
    }
    std::string root;
    if (path.size() >= sizeof(RecentEntry::path) || !workspace_root(path, root)) {
        show_failure(s, start_text::kPathTooLong, path);
        return;
    }
    int index = find_recent(*s->recent, path.c_str());
    if (index < 0) {
        std::string name = gbk_of(file_name_of(path));
        index = add_recent(*s->recent, path.c_str(), name.c_str());
        if (index < 0) {
            show_failure(s, start_text::kPathTooLong, path);
            return;
        }
        // As for the order, a list that cannot be saved is kept for this run.
        static_cast<void>(save_recent(*s->recent));
        refresh_rows(s);
    }
    if (s->rows[index].in_use) {
        s->state.list.selected = index;
        scroll_to(&s->state, static_cast<int>(s->rows.size()), index);
        return;
    }
    open_recent(s, index);
}

void dismiss_notice(StartSession* s) {
    s->state.notice.clear();
    s->state.mode = Mode::kLoading;
}

void begin_choosing(StartSession* s, EntryPurpose purpose) {
    s->choosing = purpose;
    std::string program = chooser_program();
    if (!program.empty() &&
        chooser_start(&s->chooser, program, chooser_arguments(purpose, s->workspaces_dir)) == 0) {
        s->state.mode = Mode::kChoosing;
        return;
    }
    s->state.mode = Mode::kEntry;
    s->state.entry.purpose = purpose;
    ui::text_field_set(&s->state.entry.field, gbk_of(s->workspaces_dir + "/"));
}

void poll_choosing(StartSession* s) {
    std::string path;
    switch (chooser_poll(&s->chooser, &path)) {
        case ChooserState::kPending:
            return;
        case ChooserState::kChosen:
            take_chosen_path(s, s->choosing, path);
            return;
        case ChooserState::kCancelled:
            s->state.mode = Mode::kList;
            return;
    }
}

void submit_entry(StartSession* s) {
    take_chosen_path(s, s->state.entry.purpose, gbk_to_utf8(s->state.entry.field.text));
}

int poll_loading(StartSession* s) {
    if (!s->job) return -1;
    switch (s->job->state.load(std::memory_order_acquire)) {
        case LoadState::kRunning:
            return 0;
        case LoadState::kDone: {
            // The loader's notes are shown once, before the workspace opens.
            std::vector<std::string> notes = take_open_notes();
            if (notes.empty()) return 1;
            s->state.notice = std::move(notes);
            s->state.mode = Mode::kNotice;
            return 0;
        }
        case LoadState::kFailed:
            break;
    }
    // The entry being opened is at the top of the list. One that another
    // program took after this one started is marked now, so the next click
    // only selects it.
    if (s->job->in_use && !s->rows.empty()) {
        s->recent->table.entries[0].in_use = 1;
        refresh_rows(s);
    }
    s->state.mode = Mode::kList;
    s->state.message = s->job->message_gbk;
    s->state.detail = s->job->detail_gbk;
    gfx::set_caption(start_text::kWindowCaption);
    return -1;
}

}  // namespace nd::start
