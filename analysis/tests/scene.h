// Cases placed straight into the tables, without files: the analysis views
// read only the loaded tables, so their tests build the tables they need.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "store/cases.h"
#include "store/tables.h"

namespace nd::testing {

class Scene {
public:
    Scene() { clear_tables(); }
    ~Scene() { clear_tables(); }
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // A Case in the next free slot of (group, board); every Case gets its own
    // creation time, one second after the one made before it.
    CaseRecord& add(const std::string& title, uint16_t kind = kKindEvent, uint8_t status = 0,
                    uint16_t importance = 0, int group = 0, int board = 0) {
        if (!Tables.group_boards[group])
            Tables.group_boards[group] = std::make_unique<GroupBoards>();
        auto& bd = Tables.group_boards[group]->boards[board];
        if (!bd) {
            bd = std::make_unique<Board>();
            std::memset(bd.get(), 0, sizeof(Board));
        }
        CaseRow& row = case_row(group, board);
        int slot = 0;
        while (row.slots[slot].record) ++slot;
        row.slots[slot].record = new_case_record();
        row.slots[slot].body = new_case_body();
        CaseRecord& r = *row.slots[slot].record;
        std::memset(&r, 0, sizeof r);
        std::memset(row.slots[slot].body.get(), 0, sizeof(CaseBody));
        const int n = m_made++;
        r.key = RecordKey{kAttrEvent,
                          0,
                          uint8_t(n % 60),
                          uint16_t(n + 1),
                          0,
                          0,
                          2024,
                          1,
                          uint8_t(1 + n / 86400 % 28),
                          uint8_t(n / 3600 % 24),
                          uint8_t(n / 60 % 60)};
        std::strncpy(r.title, title.c_str(), sizeof r.title - 1);
        r.kind = kind;
        r.colour = status;
        r.importance = importance;
        bd->case_count = uint32_t(slot + 1);
        bd->cases[slot] = r.key;
        m_at[&r] = LocationRef{0, group, board, slot};
        return r;
    }

    LocationRef at(const CaseRecord& r) const { return m_at.at(&r); }

    // A link from `a` to `b` in a's own list (one direction only).
    void link(CaseRecord& a, const CaseRecord& b, bool tight = false) {
        EXPECT_TRUE(add_link(a, b.key, at(b), tight)) << "the links of " << a.title << " are full";
    }
    void link_both(CaseRecord& a, CaseRecord& b, bool tight = false) {
        link(a, b, tight);
        link(b, a, tight);
    }

    CaseBody& body(const CaseRecord& r) {
        LocationRef l = at(r);
        return *find_case_body(l.group, l.board, l.slot);
    }

    void resource(CaseRecord& r, const char* name, int32_t value) {
        int i = r.resource_count++;
        std::memcpy(r.resource_names[i], name, std::min<size_t>(std::strlen(name), 15));
        r.resource_values[i] = value;
    }

private:
    int m_made = 0;
    std::map<const CaseRecord*, LocationRef> m_at;
};

}  // namespace nd::testing
