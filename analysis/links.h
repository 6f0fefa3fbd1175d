// Reading a Case's links: where each one points and how tight it is. The
// third link table's entries are the store's LinkDetail; the analysis views
// read only their relation.
#pragma once

#include <cstdint>
#include <cstring>

#include "store/records.h"

namespace nd {

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
