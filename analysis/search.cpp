#include "analysis/search.h"

#include <cstdio>
#include <cstring>

#include "base/gbk.h"
#include "store/tables.h"

namespace nd {

namespace {

// Moves `p`, which stands on a character boundary, over whole characters
// until it reaches `target` or steps past it (when `target` is the second
// byte of a character). Runs of bytes below 0x80 are single-byte characters
// and are crossed eight at a time, so text that is mostly ASCII costs about
// what memmem costs to read it.
const char* sync_to(const char* p, const char* target, const char* end) {
    while (p < target) {
        uint64_t word;
        while (p + 8 <= target && (std::memcpy(&word, p, 8), (word & 0x8080808080808080ull) == 0))
            p += 8;
        if (p >= target) break;
        p += (gbk_lead_byte(static_cast<unsigned char>(*p)) && p + 1 < end) ? 2 : 1;
    }
    return p;
}

}  // namespace

bool field_contains(const char* field, size_t len, const char* query, size_t qlen) {
    if (qlen == 0 || qlen > len) return false;
    const char* end = field + len;
    // `sync` walks the field character by character, never past a candidate,
    // so the whole search reads each byte a bounded number of times however
    // many candidates memmem finds.
    const char* sync = field;
    const char* from = field;
    while (from + qlen <= end) {
        const char* hit = static_cast<const char*>(memmem(from, size_t(end - from), query, qlen));
        if (!hit) return false;
        sync = sync_to(sync, hit, end);
        if (sync == hit) return true;
        // The hit starts on the second byte of a character: look again from
        // the character after it.
        from = sync;
    }
    return false;
}

MatchKind match_case(const CaseRecord& rec, const CaseBody* body, const char* q, size_t qlen) {
    if (qlen == 0) return kMatchNone;
    if (field_contains(rec.title, strnlen(rec.title, sizeof rec.title), q, qlen))
        return kMatchTitle;
    if (body && field_contains(body->text, strnlen(body->text, sizeof body->text), q, qlen))
        return kMatchContent;
    for (const Attachment& a : rec.attachments) {
        if (a.kind == kAttachFree) continue;
        if (field_contains(a.name, strnlen(a.name, sizeof a.name), q, qlen) ||
            field_contains(a.path, strnlen(a.path, sizeof a.path), q, qlen))
            return kMatchAttachment;
    }
    return kMatchNone;
}

void search_boards(const std::string& query, int group, int board, std::vector<SearchResult>& out) {
    if (query.empty() || group < 0 || group >= kGroupSlots) return;
    const int first = board < 0 ? 0 : board, last = board < 0 ? kBoardSlots - 1 : board;
    for (int b = first; b <= last && b < kBoardSlots; ++b) {
        const Board* bd = find_board(group, b);
        if (!bd) continue;
        for (int s = 0; s < kCaseSlots; ++s) {
            const CaseRecord* rec = find_case(group, b, s);
            if (!rec) continue;
            MatchKind kind =
                match_case(*rec, find_case_body(group, b, s), query.data(), query.size());
            if (kind != kMatchNone) out.push_back({kind, group, b, s});
        }
    }
}

size_t cut_to_characters(const char* text, size_t len, size_t limit) {
    size_t at = 0;
    while (at < len) {
        size_t step = (gbk_lead_byte(static_cast<unsigned char>(text[at])) && at + 1 < len) ? 2 : 1;
        if (at + step > limit) break;
        at += step;
    }
    return at;
}

size_t paste_length(const char* text, size_t len, size_t used) {
    size_t room = used >= kQueryCapacity ? 0 : kQueryCapacity - used;
    return cut_to_characters(text, len, room < kPasteMax ? room : kPasteMax);
}

void history_record(SearchHistory& h, const std::string& query) {
    char entry[kHistoryWidth] = {};
    std::memcpy(entry, query.data(),
                cut_to_characters(query.data(), query.size(), kHistoryWidth - 1));
    for (int i = 0; i < h.count; ++i)
        if (std::memcmp(h.entries[i], entry, kHistoryWidth) == 0) return;
    std::memmove(h.entries[1], h.entries[0], kHistoryWidth * (kHistoryEntries - 1));
    std::memcpy(h.entries[0], entry, kHistoryWidth);
    if (h.count < kHistoryEntries) ++h.count;
}

int run_search(SearchState& s, int group, int board) {
    if (s.query.empty()) return -1;
    history_record(s.history, s.query);
    s.results.clear();
    search_boards(s.query, group, s.scope == kScopeAllBoards ? -1 : board, s.results);
    s.first_visible = 0;
    s.hovered = -1;
    return int(s.results.size());
}

std::string result_caption(const SearchState& s) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d \xB8\xF6\xBD\xE1\xB9\xFB",
                  int(s.results.size()));  // %d 个结果
    return buf;
}

}  // namespace nd
