// Search: finding Cases whose title, content or attachments contain a query,
// on the current board or on every board of its group, and the state the
// search panel keeps around it (query rules, history, results).
//
// Matching is byte for byte (case-sensitive, nothing folded or trimmed), with
// one rule on top: a match counts only where it starts on a character
// boundary of the field searched. In GBK the trail byte of one character and
// the lead byte of the next can spell a third character ("中文" holds the
// bytes of "形"), and such a run is not a match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/records.h"

namespace nd {

enum MatchKind : uint8_t {
    kMatchNone = 0,
    kMatchTitle = 1,
    kMatchContent = 2,
    kMatchAttachment = 3,
};

// True when `query` (qlen > 0 bytes) occurs in field[0..len) starting on a
// character boundary of the field.
bool field_contains(const char* field, size_t len, const char* query, size_t qlen);

// The first rule that holds for a Case: title, else content (up to its
// terminating zero), else the name or path of an attachment slot in use.
MatchKind match_case(const CaseRecord& record, const CaseBody* body, const char* query,
                     size_t qlen);

struct SearchResult {
    MatchKind kind;
    int group, board, slot;
};

// Searches one board (board >= 0) or every board of `group` in board order
// (board -1), each board's Cases in their stored order, and appends one
// result per matching Case. An empty query finds nothing.
void search_boards(const std::string& query, int group, int board, std::vector<SearchResult>& out);

// Query rules of the panel.
inline constexpr size_t kQueryCapacity = 1023;  // bytes the input box holds
inline constexpr size_t kPasteMax = 255;        // bytes one paste inserts at most
inline constexpr int kHistoryEntries = 5;
inline constexpr size_t kHistoryWidth = 64;  // bytes per entry, with its zero

// The length of the longest prefix of text[0..len) that is at most `limit`
// bytes and does not end inside a two-byte character.
size_t cut_to_characters(const char* text, size_t len, size_t limit);

// How many bytes of pasted text go into a box holding `used` bytes: at most
// 255, never past the box's capacity, never half a character.
size_t paste_length(const char* text, size_t len, size_t used);

struct SearchHistory {
    char entries[kHistoryEntries][kHistoryWidth] = {};
    int count = 0;
};

// Records a query, newest first: a query already held changes nothing;
// otherwise the entries move down one place (the fifth is dropped). An entry
// holds at most 63 bytes, cut on a character boundary, and a longer query is
// compared in that cut form.
void history_record(SearchHistory& history, const std::string& query);

enum SearchScope : uint8_t { kScopeBoard = 0, kScopeAllBoards = 1 };

struct SearchState {
    std::string query;  // GBK
    SearchScope scope = kScopeBoard;
    SearchHistory history;
    std::vector<SearchResult> results;
    int first_visible = 0;
    int hovered = -1;
};

// Runs the panel's search for the board (group, board) being shown: records
// the query in the history, replaces the results and returns their count,
// and puts the list at its top. An empty query runs nothing and returns -1.
int run_search(SearchState& state, int group, int board);

// The caption "%d 个结果" (GBK).
std::string result_caption(const SearchState& state);

}  // namespace nd
