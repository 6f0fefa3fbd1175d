#include "analysis/links.h"

#include "store/keys.h"
#include "store/tables.h"

namespace nd {

const CaseRecord* link_target(const CaseRecord& record, int link, LocationRef* at) {
    if (link < 0 || link >= link_count(record)) return nullptr;
    const LocationRef& where = record.link_locations[link];
    if (where.flag != 0) return nullptr;
    const CaseRecord* target = find_case(where.group, where.board, where.slot);
    if (!target || key_time_value(target->key) != key_time_value(record.link_keys[link]))
        return nullptr;
    if (at) *at = where;
    return target;
}

int find_link_to(const CaseRecord& from, const LocationRef& to) {
    for (int i = 0; i < link_count(from); ++i) {
        LocationRef at;
        if (link_target(from, i, &at) && same_location(at, to)) return i;
    }
    return -1;
}

}  // namespace nd
