// The functions that fill rows of the command table (commands.cpp), one
// file per feature. A later feature declares its commands here, defines
// them in a file of its own and names them in their rows.
#pragma once

#include <string>

#include "board/commands.h"

namespace nd {

// commands_case_attrs.cpp: the colour rows 15-18, kinds 25-29, importance
// 30-34, difficulty 39-41, cognition 42-44, and the reserved status 53.
void set_case_attribute(MainView& view, int item, const MenuTarget& target);
void reserve_status(MainView& view, int item, const MenuTarget& target);

// commands_case.cpp: delete a Case (6), pin and unpin (13, 14), jump (23).
void delete_case_command(MainView& view, int item, const MenuTarget& target);
void pin_case(MainView& view, int item, const MenuTarget& target);
void jump_command(MainView& view, int item, const MenuTarget& target);

// commands_categories.cpp: delete a category (2, 3).
void delete_category_command(MainView& view, int item, const MenuTarget& target);
// commands_categories.cpp: show a category's Cases in the left bar (24).
void preview_category_command(MainView& view, int item, const MenuTarget& target);

// arrange.cpp: the four arrangements (56-59).
void arrange_command(MainView& view, int item, const MenuTarget& target);

// sort_view.cpp: the sorting view "梳理" (21).
void sort_view_command(MainView& view, int item, const MenuTarget& target);

// commands_window.cpp: the window-size dialog (10), quit (19), the about
// page (54), the update note (55).
void size_dialog_command(MainView& view, int item, const MenuTarget& target);
void quit_command(MainView& view, int item, const MenuTarget& target);
void about_command(MainView& view, int item, const MenuTarget& target);
void update_note_command(MainView& view, int item, const MenuTarget& target);

// case_create.cpp: new category (0, 1), new Case (5), add resource (45).
void new_category_command(MainView& view, int item, const MenuTarget& target);
void new_case_command(MainView& view, int item, const MenuTarget& target);
void add_resource_command(MainView& view, int item, const MenuTarget& target);

// password.cpp: lock the screen (7), set or change the password (8, 9).
void lock_command(MainView& view, int item, const MenuTarget& target);
void password_command(MainView& view, int item, const MenuTarget& target);

// commands_links.cpp: start a link (20), loose and tight relations (35, 36).
void link_command(MainView& view, int item, const MenuTarget& target);
void relation_command(MainView& view, int item, const MenuTarget& target);

// commands_analysis.cpp: the assessment report (37).
void assess_command(MainView& view, int item, const MenuTarget& target);

// commands_content.cpp: copy and paste in the Case window (11, 12), rename
// (4), a resource's name, value and overlay value (46, 51, 52), clear (47),
// synchronise to all links and to the current category (48, 49), delete a
// resource (50). add_named_resource is what the add-resource dialog (kind
// 10) does on Enter: false when the Case holds 30 resources or is gone.
void copy_command(MainView& view, int item, const MenuTarget& target);
void paste_command(MainView& view, int item, const MenuTarget& target);
void rename_command(MainView& view, int item, const MenuTarget& target);
void resource_dialog_command(MainView& view, int item, const MenuTarget& target);
void clear_resource_command(MainView& view, int item, const MenuTarget& target);
void sync_resources_command(MainView& view, int item, const MenuTarget& target);
void delete_resource_command(MainView& view, int item, const MenuTarget& target);
bool add_named_resource(MainView& view, const CaseRef& ref, const std::string& name_gbk);

}  // namespace nd
