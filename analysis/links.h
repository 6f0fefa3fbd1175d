// Reading a Case's links: where each one points and how tight it is.
//
// The third table of the links (16 bytes per link at 61044) holds the link's
// kind, its role, the map mark it ends at and its relation. The analysis
// views read only the relation; the other fields are named so that the
// layout is pinned in one place.
#pragma once

#include <cstdint>
#include <cstring>

#include "store/records.h"

namespace nd {

#pragma pack(push, 1)
struct LinkDetail {
    uint8_t kind;         // 0  0 ordinary, 3 ends at a mark on a map-form Case
    uint8_t unused1[3];   // 1
    int32_t role;         // 4  3 for every link made by the gesture
    int16_t mark_x;       // 8  the mark's position, -1 for ordinary links
    int16_t mark_y;       // 10
    uint16_t relation;    // 12 0 loose ("松散关系"), 1 tight ("紧密关系")
    uint8_t unused14[2];  // 14
};
#pragma pack(pop)
static_assert(sizeof(LinkDetail) == 16);
static_assert(offsetof(LinkDetail, role) == 4);
static_assert(offsetof(LinkDetail, mark_x) == 8);
static_assert(offsetof(LinkDetail, relation) == 12);

inline constexpr uint16_t kRelationLoose = 0;
inline constexpr uint16_t kRelationTight = 1;

inline LinkDetail link_detail(const CaseRecord& record, int link) {
    LinkDetail d;
    std::memcpy(&d, record.link_extra[link], sizeof d);
    return d;
}

inline bool link_is_tight(const CaseRecord& record, int link) {
    return link_detail(record, link).relation == kRelationTight;
}

// The number of links a reader may walk: a damaged count is cut to the table.
inline int link_count(const CaseRecord& record) {
    return record.link_count > uint32_t(kMaxLinks) ? kMaxLinks : int(record.link_count);
}

// The Case that link `link` of `record` points at, with its location, or
// null when the location is not valid or holds another Case than the one
// linked (the loader points moved links at their Case, so a mismatch is a
// link to a Case that is gone).
const CaseRecord* link_target(const CaseRecord& record, int link, LocationRef* at = nullptr);

// The index of the link of `from` that points at the Case at `to`, or -1.
int find_link_to(const CaseRecord& from, const LocationRef& to);

inline bool same_location(const LocationRef& a, const LocationRef& b) {
    return a.group == b.group && a.board == b.board && a.slot == b.slot;
}

}  // namespace nd
