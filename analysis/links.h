// Reading a Case's links: where each one points and how tight it is. The
// store reads and writes the link tables (store/cases.h); the analysis views
// read only a link's relation and where it leads.
#pragma once

#include "store/cases.h"
#include "store/records.h"

namespace nd {

inline bool link_is_tight(const CaseRecord& record, int link) {
    return link_detail(record, link).relation == kRelationTight;
}

// The Case that link `link` of `record` points at, with its location, or
// null when the location is not valid or holds another Case than the one
// linked (the loader points moved links at their Case, so a mismatch is a
// link to a Case that is gone).
const CaseRecord* link_target(const CaseRecord& record, int link, LocationRef* at = nullptr);

// The index of the link of `from` that points at the Case at `to`, or -1.
int find_link_to(const CaseRecord& from, const LocationRef& to);

}  // namespace nd
