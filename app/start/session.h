// One run of the start page: the recent list it shows, the page state, and
// what it is waiting for (the file chooser or the loader). The functions
// here carry out the page's actions; run.cpp feeds them input and frames.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/start/file_chooser.h"
#include "app/start/help_links.h"
#include "app/start/loader.h"
#include "app/start/state.h"
#include "settings/settings.h"

namespace nd::start {

struct StartSession {
    RecentList* recent = nullptr;
    std::string workspaces_dir;  // where the chooser opens, and where relative paths lead
    StartState state;
    std::vector<RowFlags> rows;      // one per recent entry
    std::vector<std::string> names;  // GBK display names
    HelpLinks links;
    ChooserRun chooser;
    EntryPurpose choosing = EntryPurpose::kOpen;
    std::shared_ptr<LoadJob> job;  // the load in progress or finished
};

// Rebuilds rows and names from the recent list (after any change to it).
void refresh_rows(StartSession* session);

// Opens recent entry `index`: makes its root directory, moves it to the top
// and saves the list, puts its name in the caption and starts the loader.
// 0, or -1 with the reason on the page.
int open_recent(StartSession* session, int index);

// A path chosen for New or Open, as the file system spells it. New appends
// ".wk" by the naming rules, Open refuses anything else; the path then joins
// the recent list if it is not there (saved) and is opened unless another
// program holds it.
void take_chosen_path(StartSession* session, EntryPurpose purpose, const std::string& path);

// New or Open pressed: starts the chooser, or shows the path entry when
// there is no chooser program.
void begin_choosing(StartSession* session, EntryPurpose purpose);
// Called each frame while choosing.
void poll_choosing(StartSession* session);
// The path entry's text was submitted.
void submit_entry(StartSession* session);

// Called each frame while loading: 1 once the workspace is loaded, 0 while it
// loads, -1 when it failed (the page is back at the list with the reason).
// When opening it found and mended something, the page first shows that
// (Mode::kNotice, 0) and the workspace is handed over once it was read.
[[nodiscard]] int poll_loading(StartSession* session);

// The notice was read: the next poll_loading hands the workspace over.
void dismiss_notice(StartSession* session);

}  // namespace nd::start
