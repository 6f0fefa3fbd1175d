#include "content/resources.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/gbk.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/tables.h"

namespace nd::content {

namespace {

// A damaged count is read as the arrays' size, so no edit walks past them.
int count_of(const CaseRecord& record) {
    return std::min<int>(record.resource_count, kMaxResources);
}

int32_t saturate(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// The Case at a link's far end, when its slot still holds the Case the
// link was made to.
const CaseRecord* link_target(const CaseRecord& record, int index, LocationRef* where) {
    const LocationRef& at = record.link_locations[index];
    const CaseRecord* target = find_case(at.group, at.board, at.slot);
    if (!target || !same_item(target->key, record.link_keys[index])) return nullptr;
    *where = at;
    return target;
}

bool visited(const std::vector<LocationRef>& list, const LocationRef& where) {
    return std::any_of(list.begin(), list.end(),
                       [&](const LocationRef& v) { return same_location(v, where); });
}

std::vector<LocationRef> copy_into(const CaseRecord& source, const std::vector<LocationRef>& to) {
    std::vector<LocationRef> changed;
    for (const LocationRef& where : to) {
        CaseRecord* target = find_case(where.group, where.board, where.slot);
        if (target && target != &source && copy_resource_names(source, *target))
            changed.push_back(where);
    }
    return changed;
}

}  // namespace

bool resource_index_ok(const CaseRecord& record, int index) {
    return index >= 0 && index < count_of(record);
}

int add_resource(CaseRecord& record, std::string_view name_gbk) {
    const int index = count_of(record);
    if (index >= kMaxResources) return -1;
    gbk_copy_field(record.resource_names[index], kResourceNameBytes + 1, name_gbk);
    record.resource_values[index] = 0;
    std::memset(record.overlays[index], 0, sizeof record.overlays[index]);
    record.resource_count = static_cast<uint16_t>(index + 1);
    return index;
}

bool rename_resource(CaseRecord& record, int index, std::string_view name_gbk) {
    if (!resource_index_ok(record, index)) return false;
    char field[sizeof record.resource_names[0]];
    gbk_copy_field(field, kResourceNameBytes + 1, name_gbk);
    if (std::memcmp(field, record.resource_names[index], sizeof field) == 0) return false;
    std::memcpy(record.resource_names[index], field, sizeof field);
    return true;
}

int32_t parse_resource_value(std::string_view text) {
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > int64_t{1} << 32) break;  // past either end already
    }
    return saturate(negative ? -value : value);
}

int32_t overlay_value(const CaseRecord& record, int index) {
    int32_t value = 0;
    std::memcpy(&value, record.overlays[index], sizeof value);
    return value;
}

void set_overlay_value(CaseRecord& record, int index, int32_t value) {
    std::memcpy(record.overlays[index], &value, sizeof value);
}

bool apply_overlay(CaseRecord& record, int index, int sign) {
    if (!resource_index_ok(record, index)) return false;
    const int32_t overlay = overlay_value(record, index);
    if (overlay == 0) return false;
    int32_t& value = record.resource_values[index];
    value = saturate(int64_t{value} + int64_t{sign} * overlay);
    return true;
}

bool delete_resource(CaseRecord& record, int index) {
    const int count = count_of(record);
    if (index < 0 || index >= count) return false;
    for (int i = index; i + 1 < count; ++i) {
        std::memcpy(record.resource_names[i], record.resource_names[i + 1],
                    sizeof record.resource_names[i]);
        record.resource_values[i] = record.resource_values[i + 1];
        std::memcpy(record.overlays[i], record.overlays[i + 1], sizeof record.overlays[i]);
    }
    const int last = count - 1;
    std::memset(record.resource_names[last], 0, sizeof record.resource_names[last]);
    record.resource_values[last] = 0;
    std::memset(record.overlays[last], 0, sizeof record.overlays[last]);
    record.resource_count = static_cast<uint16_t>(last);
    return true;
}

bool copy_resource_names(const CaseRecord& from, CaseRecord& to) {
    const bool same = to.resource_count == from.resource_count &&
                      std::memcmp(to.resource_names, from.resource_names,
                                  sizeof to.resource_names) == 0 &&
                      std::memcmp(to.overlays, from.overlays, sizeof to.overlays) == 0;
    if (same) return false;
    std::memcpy(to.resource_names, from.resource_names, sizeof to.resource_names);
    std::memcpy(to.overlays, from.overlays, sizeof to.overlays);
    to.resource_count = static_cast<uint16_t>(count_of(from));
    return true;
}

std::vector<LocationRef> linked_cases(const LocationRef& source) {
    std::vector<LocationRef> list;
    if (!find_case(source.group, source.board, source.slot)) return list;
    list.push_back(source);
    // The list is the visit list and the queue at once: each Case is
    // appended once and its links are followed when the walk reaches it.
    for (size_t next = 0; next < list.size(); ++next) {
        const LocationRef at = list[next];
        const CaseRecord* record = find_case(at.group, at.board, at.slot);
        const int links = link_count(*record);
        for (int i = 0; i < links; ++i) {
            LocationRef where{};
            if (link_target(*record, i, &where) && !visited(list, where)) list.push_back(where);
        }
    }
    return list;
}

std::vector<LocationRef> sync_resources_to_links(const LocationRef& source) {
    const CaseRecord* record = find_case(source.group, source.board, source.slot);
    if (!record || count_of(*record) == 0) return {};
    const std::vector<LocationRef> reached = linked_cases(source);
    if (reached.size() < 2) return {};
    return copy_into(*record, reached);
}

std::vector<LocationRef> sync_resources_to_board(const LocationRef& source, int group, int board) {
    const CaseRecord* record = find_case(source.group, source.board, source.slot);
    const Board* shown = find_board(group, board);
    if (!record || !shown || count_of(*record) == 0) return {};
    std::vector<LocationRef> all;
    const int count = std::min<int>(static_cast<int>(shown->case_count), kCaseSlots);
    for (int slot = 0; slot < count; ++slot) all.push_back({0, group, board, slot});
    return copy_into(*record, all);
}

}  // namespace nd::content
