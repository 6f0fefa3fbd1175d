// Gathering the Case files no board lists into a recovery category, after
// the repair pass found a board whose list was cut: a Case whose entry was
// lost with the end of a board file would otherwise drop out of view, its
// files still on disk. Part of the repair pass (store/repair.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "store/note_log.h"
#include "store/records.h"

namespace nd {

// What the repair pass learns on its way that the gathering needs.
class Gathering {
public:
    // A Case a live board lists.
    void listed(const RecordKey& key) { listed_.insert(identity(key)); }
    // The file of a board in a deleted slot: the Cases it lists went with it
    // and are not gathered.
    void deleted_board(const std::string& path) { deleted_boards_.push_back(path); }
    // A board of group `group` (file `group_file`) lost entries of its list.
    void list_cut(int group, const std::string& group_file);

    // Clock fields and serial: what a Case's file name is made of.
    static uint64_t identity(const RecordKey& key);

private:
    friend void gather_unlisted_cases(NoteLog& log, Gathering& gathering);
    std::unordered_set<uint64_t> listed_;
    std::vector<std::string> deleted_boards_;
    int cut_group_ = -1;
    std::string cut_group_file_;
};

// When a list was cut: finds every Case record file under "1/case/" that no
// board lists, live or deleted, and appends them (oldest first) to the
// category "找回的 Case" of the group whose board lost entries, made when
// there is none with room. A Case record names no group, so with cuts in
// several groups the first such group takes them all. A Case deleted by the
// user keeps its files and cannot be told from one a cut list held; it is
// gathered too, since showing one Case too many loses nothing.
void gather_unlisted_cases(NoteLog& log, Gathering& gathering);

// Writes an empty content file (three line feeds) where one is missing.
void write_empty_body(NoteLog& log, const std::string& body, const std::string& where,
                      const std::string& subject_gbk);

}  // namespace nd
