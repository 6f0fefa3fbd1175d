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
// is missing the read name, which brings a ".pass" file back. A short file
// gives kIoShort with what it held in `out` and its length in `*held`.
int read_case_file(const RecordKey& key, int part, void* out, size_t size, size_t* held) {
    int io = read_file_prefix(make_path(Tables.root, key.type, key, part), out, size, held);
    if (io != kIoMissing) return io;
    std::string path;
    int renamed = 0;
    if (make_path_for_read(Tables.root, key.type, &key, part, path, renamed, !Tables.read_only) !=
        0)
        return kIoMissing;
    return read_file_prefix(path, out, size, held);
}

// Reads one Case file into `out`; a short one is zero-filled past what it
// held, which is kept in `*held_bytes`. False when it cannot be read.
bool read_case_part(const RecordKey& key, int part, void* out, size_t size, bool* short_file,
                    std::string* held_bytes) {
    size_t held = 0;
    int io = read_case_file(key, part, out, size, &held);
    *short_file = io == kIoShort;
    if (io == kIoShort) {
        held_bytes->assign(static_cast<const char*>(out), held);
        std::memset(static_cast<char*>(out) + held, 0, size - held);
        return true;
    }
    return io == kIoOk;
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

int load_case(const RecordKey& key, int group, int board, int slot, CaseLoad* report) {
    CaseLoad local;
    CaseLoad& r = report ? *report : local;
    r = CaseLoad{};
    // Both buffers are filled whole by the read (a short file zero-filled
    // past its end) or dropped, so they are not cleared first.
    CaseRecordPtr rec = new_case_record();
    if (!read_case_part(key, 0, rec.get(), sizeof(CaseRecord), &r.record_short, &r.record_held))
        return kLoadNoCase;
    // A link count past the table would make every reader run off the record;
    // it is cut to the table (and written back) rather than refusing the
    // whole workspace for one damaged Case. The link check drops what does
    // not point at a Case.
    r.link_count_cut = rec->link_count > static_cast<uint32_t>(kMaxLinks);
    if (r.link_count_cut) rec->link_count = kMaxLinks;
    CaseBodyPtr body = new_case_body();
    if (!read_case_part(key, 1, body.get(), sizeof(CaseBody), &r.body_short, &r.body_held))
        return kLoadNoCaseBody;
    // The content is text: it ends inside its buffer whatever the file held.
    body->text[sizeof(CaseBody) - 1] = 0;

    // A record cut before its size field still is a whole record once read.
    if (r.record_short) rec->size = sizeof(CaseRecord);
    r.key_mended = mend_case_key(*rec, key);
    rec->form &= 3;
    r.recoloured = overdue_rule(*rec, today_yyyymmdd());

    CaseSlot& s = case_row(group, board).slots[slot];
    s.record = std::move(rec);
    s.body = std::move(body);
    s.file = -1;
    return 0;
}

bool mend_case_key(CaseRecord& record, const RecordKey& listing) {
    if (is_case_type(record.key.type) && same_item(record.key, listing)) return false;
    record.key = listing;
    record.key.ordinal = 0;
    record.saved.type = listing.type;
    record.saved.serial = listing.serial;
    return true;
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

bool add_link(CaseRecord& rec, const RecordKey& key, const LocationRef& where, bool tight,
              const MapMark* mark) {
    if (rec.link_count >= static_cast<uint32_t>(kMaxLinks)) return false;
    const uint32_t i = rec.link_count++;
    rec.link_keys[i] = key;
    rec.link_locations[i] = where;
    LinkDetail d{};
    d.kind = mark ? kLinkMapMark : kLinkOrdinary;
    d.role = kLinkRoleGesture;
    d.mark_x = mark ? mark->x : int16_t{-1};
    d.mark_y = mark ? mark->y : int16_t{-1};
    d.relation = tight ? kRelationTight : kRelationLoose;
    std::memcpy(rec.link_extra[i], &d, sizeof d);
    return true;
}

int link_count(const CaseRecord& rec) {
    return rec.link_count > static_cast<uint32_t>(kMaxLinks) ? kMaxLinks
                                                             : static_cast<int>(rec.link_count);
}

LinkDetail link_detail(const CaseRecord& rec, int index) {
    LinkDetail d;
    std::memcpy(&d, rec.link_extra[index], sizeof d);
    return d;
}

CaseIndex::Identity CaseIndex::identity_of(const RecordKey& key) {
    return {key_time_value(key), key.serial, static_cast<uint16_t>(key.type & 0x7FFF)};
}

size_t CaseIndex::Hash::operator()(const Identity& id) const {
    // Unsigned, so the product wraps instead of overflowing: a creation time
    // of 14 digits times the prime is beyond 63 bits.
    const uint64_t mixed =
        static_cast<uint64_t>(id.time) * 1000003u + uint64_t{id.serial} * 131u + id.type;
    return std::hash<uint64_t>()(mixed);
}

void CaseIndex::build() {
    where_.clear();
    for (int g = 0; g < kGroupSlots; ++g)
        for (int b = 0; b < kBoardSlots; ++b) {
            const CaseRow* row = Tables.case_rows[g][b].get();
            if (!row) continue;
            for (int s = 0; s < kCaseSlots; ++s) {
                const CaseRecord* r = row->slots[s].record.get();
                if (r) where_.try_emplace(identity_of(r->key), LocationRef{0, g, b, s});
            }
        }
}

bool CaseIndex::find(const RecordKey& key, LocationRef& where) const {
    auto it = where_.find(identity_of(key));
    if (it == where_.end()) return false;
    where = it->second;
    return true;
}

int check_links(int group, int board, int slot, const CaseIndex& index) {
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
        if (index.find(rec->link_keys[i], moved)) {
            at = moved;
            ++i;
        } else {
            remove_link(*rec, i);
        }
    }
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
