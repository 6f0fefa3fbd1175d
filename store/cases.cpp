#include "store/cases.h"

#include <unistd.h>

#include <cstring>
#include <memory>
#include <mutex>

#include "base/file_io.h"
#include "base/gbk.h"
#include "base/park_miller.h"
#include "store/boards.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd {

namespace {

CaseBodyPtr new_body() {
    CaseBodyPtr body = new_case_body();
    std::memset(body.get(), 0, sizeof(CaseBody));
    std::memcpy(body->text, "\n\n\n", 3);
    return body;
}

int board_case_count(const Board& b) {
    return b.case_count > static_cast<uint32_t>(kCaseSlots) ? kCaseSlots
                                                            : static_cast<int>(b.case_count);
}

// Reads one of a Case's files: the ".case" name first, and only when that
// is missing the read name, which brings a ".pass" file back.
int read_case_file(const RecordKey& key, int part, void* out, size_t size) {
    int io = read_file_exact(make_path(Tables.root, key.type, key, part), out, size);
    if (io != kIoMissing) return io;
    std::string path;
    int renamed = 0;
    if (make_path_for_read(Tables.root, key.type, &key, part, path, renamed, !Tables.read_only) !=
        0)
        return kIoMissing;
    return read_file_exact(path, out, size);
}

}  // namespace

LocationRef create_case(const char* title, const RecordKey& key, int group, int board) {
    Board* b = find_board(group, board);
    if (!b || !is_case_type(key.type)) return {kCaseBadCall, group, board, 0};
    int n = board_case_count(*b);
    if (n >= kMaxCases) return {kCaseBadCall, group, board, 0};

    RecordKey k = key;
    k.ordinal = 0;
    if (file_exists(make_path(Tables.root, k.type, k, 0))) draw_fresh_serial(k);

    CaseRecordPtr rec = new_case_record();
    std::memset(rec.get(), 0, sizeof(CaseRecord));
    rec->size = sizeof(CaseRecord);
    rec->made = 1;
    rec->key = k;
    rec->saved = k;
    rec->value2628 = -1;
    rec->value2632 = -1;
    gbk_copy_field(rec->title, sizeof rec->title, title ? title : "");
    auto body = new_body();

    if (!Tables.read_only) make_dirs(Tables.root, k);
    // Content first, then the record, then the board's list: a crash at any
    // point leaves no record without its content and no entry without both.
    if (store_write(make_path(Tables.root, k.type, k, 1), body.get(), sizeof(CaseBody)) != kIoOk ||
        store_write(make_path(Tables.root, k.type, k, 0), rec.get(), sizeof(CaseRecord)) != kIoOk)
        return {kCaseUnwritten, group, board, 0};

    RecordKey entry = k;
    entry.ordinal = static_cast<uint16_t>(n + 1);
    uint32_t count = static_cast<uint32_t>(n + 1);
    FilePatch patches[] = {{offsetof(Board, case_count), &count, 4},
                           {offsetof(Board, cases) + 16 * static_cast<size_t>(n), &entry, 16}};
    if (store_patch(make_path(Tables.root, b->key.type, b->key, 0), patches, 2) != kIoOk)
        return {kCaseUnwritten, group, board, 0};
    b->case_count = count;
    b->cases[n] = entry;

    CaseSlot& slot = case_row(group, board).slots[n];
    slot.record = std::move(rec);
    slot.body = std::move(body);
    slot.file = -1;
    return {0, group, board, n};
}

int save_case(int mode, int group, int board, int slot) {
    CaseSlot* s = find_case_slot(group, board, slot);
    if (!s || !s->record || mode < 0 || mode > 2) return kCaseBadCall;
    CaseRecord& rec = *s->record;
    RecordKey saved = make_key(rec.key.type);
    saved.serial = rec.key.serial;
    rec.saved = saved;
    s->file = -1;
    if (mode == 1) return 0;
    if (!Tables.read_only) make_dirs(Tables.root, rec.key);
    if (store_write(make_path(Tables.root, rec.key.type, rec.key, 0), &rec, sizeof rec) != kIoOk)
        return kCaseUnwritten;
    if (mode == 2) {
        if (!s->body) s->body = new_body();
        if (store_write(make_path(Tables.root, rec.key.type, rec.key, 1), s->body.get(),
                        sizeof(CaseBody)) != kIoOk)
            return kCaseUnwritten;
    }
    return 0;
}

int save_case_locked(int group, int board, int slot) {
    std::lock_guard<std::mutex> hold(StorageLock);
    return save_case(0, group, board, slot);
}

int delete_case(int group, int board, int slot) {
    Board* b = find_board(group, board);
    CaseSlot* s = find_case_slot(group, board, slot);
    if (!b || !s || !s->record) return kCaseBadCall;
    remove_points(*s->record);

    std::lock_guard<std::mutex> hold(StorageLock);
    int n = board_case_count(*b);
    // The entry is found by the Case's identity; the slot of the same index
    // is tried first since list order and table order agree.
    const RecordKey& key = s->record->key;
    int index = -1;
    if (slot < n && same_item(b->cases[slot], key)) index = slot;
    for (int i = 0; i < n && index < 0; ++i)
        if (same_item(b->cases[i], key)) index = i;
    if (index >= 0) {
        uint16_t removed = b->cases[index].ordinal;
        for (int i = index; i + 1 < n; ++i) b->cases[i] = b->cases[i + 1];
        std::memset(&b->cases[n - 1], 0, sizeof(RecordKey));
        b->case_count = static_cast<uint32_t>(n - 1);
        for (int i = 0; i < n - 1; ++i)
            if (b->cases[i].ordinal > removed) --b->cases[i].ordinal;
    }
    int r = save_board(group, board) == 0 ? 0 : -2;

    CaseRow& row = case_row(group, board);
    for (int i = slot; i + 1 < kCaseSlots; ++i) {
        row.slots[i].record = std::move(row.slots[i + 1].record);
        row.slots[i].body = std::move(row.slots[i + 1].body);
        row.slots[i].file = row.slots[i + 1].file;
    }
    row.slots[kCaseSlots - 1] = CaseSlot();
    return r;
}

int load_case(const RecordKey& key, int group, int board, int slot, bool* needs_write) {
    if (needs_write) *needs_write = false;
    // Both buffers are filled whole by the read or dropped, so they are not
    // cleared first.
    CaseRecordPtr rec = new_case_record();
    if (read_case_file(key, 0, rec.get(), sizeof(CaseRecord)) != kIoOk) return kLoadNoCase;
    // A link count past the table would make every reader run off the record;
    // it is cut to the table (and written back) rather than refusing the
    // whole workspace for one damaged Case. The link check drops what does
    // not point at a Case.
    bool cut = rec->link_count > static_cast<uint32_t>(kMaxLinks);
    if (cut) rec->link_count = kMaxLinks;
    CaseBodyPtr body = new_case_body();
    if (read_case_file(key, 1, body.get(), sizeof(CaseBody)) != kIoOk) return kLoadNoCaseBody;
    // The content is text: it ends inside its buffer whatever the file held.
    body->text[sizeof(CaseBody) - 1] = 0;

    rec->form &= 3;
    bool changed = overdue_rule(*rec, today_yyyymmdd());
    if (needs_write) *needs_write = changed || cut;

    CaseSlot& s = case_row(group, board).slots[slot];
    s.record = std::move(rec);
    s.body = std::move(body);
    s.file = -1;
    return 0;
}

bool overdue_rule(CaseRecord& rec, int32_t today) {
    if (rec.due_date == 0 || rec.due_date >= today || rec.colour_date >= today) return false;
    // The remainder keeps the sign of the dividend, so a switched-off rule
    // (-1) never turns into a colour.
    int32_t c = rec.overdue_status % 4;
    if (c < 0 || rec.colour == c) return false;
    rec.colour = static_cast<uint8_t>(c);
    return true;
}

int apply_due_date(int group, int board, int slot) {
    CaseRecord* rec = find_case(group, board, slot);
    if (!rec) return kCaseBadCall;
    if (!overdue_rule(*rec, today_yyyymmdd())) return 0;
    if (store_write(make_path(Tables.root, rec->key.type, rec->key, 0), rec, sizeof *rec) != kIoOk)
        return kCaseUnwritten;
    return 1;
}

namespace {

// Finds a loaded Case by identity; used when a link's location went stale.
bool locate_case(const RecordKey& key, LocationRef& where) {
    for (int g = 0; g < kGroupSlots; ++g)
        for (int b = 0; b < kBoardSlots; ++b) {
            const CaseRow* row = Tables.case_rows[g][b].get();
            if (!row) continue;
            for (int s = 0; s < kCaseSlots; ++s) {
                const CaseRecord* r = row->slots[s].record.get();
                if (r && same_item(r->key, key) && (r->key.type & 0x7FFF) == (key.type & 0x7FFF)) {
                    where = {0, g, b, s};
                    return true;
                }
            }
        }
    return false;
}

}  // namespace

void remove_link(CaseRecord& rec, uint32_t i) {
    uint32_t n = rec.link_count;
    for (uint32_t j = i; j + 1 < n; ++j) {
        rec.link_keys[j] = rec.link_keys[j + 1];
        rec.link_locations[j] = rec.link_locations[j + 1];
        std::memcpy(rec.link_extra[j], rec.link_extra[j + 1], 16);
    }
    std::memset(&rec.link_keys[n - 1], 0, 16);
    std::memset(&rec.link_locations[n - 1], 0, 16);
    std::memset(rec.link_extra[n - 1], 0, 16);
    rec.link_count = n - 1;
}

int check_links(int group, int board, int slot) {
    CaseRecord* rec = find_case(group, board, slot);
    if (!rec) return 0;
    if (rec->link_count > static_cast<uint32_t>(kMaxLinks)) rec->link_count = kMaxLinks;
    int changed = 0;
    for (uint32_t i = 0; i < rec->link_count;) {
        LocationRef& at = rec->link_locations[i];
        // Links without a valid location have nothing to compare with and are
        // kept as they are.
        if (at.flag != 0) {
            ++i;
            continue;
        }
        const CaseRecord* target = find_case(at.group, at.board, at.slot);
        if (target && key_time_value(target->key) == key_time_value(rec->link_keys[i])) {
            ++i;
            continue;
        }
        ++changed;
        LocationRef moved;
        if (locate_case(rec->link_keys[i], moved)) {
            at = moved;
            ++i;
        } else {
            remove_link(*rec, i);
        }
    }
    // A record that cannot be written keeps the mended links in memory; the
    // next load finds and mends them again.
    if (changed) static_cast<void>(save_case(0, group, board, slot));
    return changed;
}

int load_points(const CaseRecord& record, CasePointFile& out) {
    std::string path = make_points_path(Tables.root, record.key);
    if (read_file_exact(path, &out, sizeof out) == kIoOk) return 0;
    auto sign = [] { return (next_random() & 1) ? 1.0f : -1.0f; };
    auto unit = [] { return static_cast<float>(next_random() - 1) / 2147483646.0f; };
    std::memset(&out, 0, sizeof out);
    out.count = 1000;
    out.points[0] = {10, 10, 10};
    for (int i = 1; i < 1000; ++i) {
        float s1 = sign(), t1 = sign(), s2 = sign(), t2 = sign(), s3 = sign(), t3 = sign();
        out.points[i].x = 10 + s1 * 105 + t1 * unit() * 90;
        out.points[i].y = 10 + s2 * 115 + t2 * unit() * 80;
        out.points[i].z = 10 + s3 * 125 + t3 * unit() * 70;
    }
    if (!Tables.read_only) make_dirs(Tables.root, record.key);
    return store_write(path, &out, sizeof out) == kIoOk ? 0 : -1;
}

void remove_points(const CaseRecord& record) {
    if (Tables.read_only) return;
    ::unlink(make_points_path(Tables.root, record.key).c_str());
}

}  // namespace nd
