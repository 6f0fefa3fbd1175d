// The named resources of a Case: up to 30 names with a value and an overlay
// value each, kept in three parallel arrays of the CaseRecord. The edits
// here change records in memory only; the caller holds StorageLock and
// saves the Cases they report.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "store/records.h"

namespace nd::content {

// A name takes 15 bytes at most, so that its 16-byte field keeps a NUL.
inline constexpr int kResourceNameBytes = 15;

// True when `index` names one of the record's resources.
bool resource_index_ok(const CaseRecord& record, int index);

// Appends a resource with value 0 and overlay value 0; the name is cut to
// 15 bytes without splitting a character. Returns its index, or -1 when
// the Case holds 30 resources already (nothing changes).
int add_resource(CaseRecord& record, std::string_view name_gbk);

// Replaces a resource's name. False when the index is bad or the name is
// the same (nothing to save).
bool rename_resource(CaseRecord& record, int index, std::string_view name_gbk);

// A value as the user typed it: an optional sign, then decimal digits up to
// the first byte that is not one ("12abc" is 12, "abc" is 0). A number past
// the 32-bit range stops at its end of the range instead of wrapping.
int32_t parse_resource_value(std::string_view text);

int32_t overlay_value(const CaseRecord& record, int index);
void set_overlay_value(CaseRecord& record, int index, int32_t value);

// The +/- buttons of the resources tab: the overlay value is added to
// (sign 1) or taken from (sign -1) the value, saturating at the 32-bit
// ends. False when nothing changes (overlay 0 or a bad index).
bool apply_overlay(CaseRecord& record, int index, int sign);

// Removes a resource: the later ones move up one place (names, values and
// overlay records), the count drops by one and the freed last slot is
// zeroed. False for a bad index.
bool delete_resource(CaseRecord& record, int index);

// Gives `to` the resource names, overlay records and count of `from`; the
// values stay `to`'s own. True when anything changed.
bool copy_resource_names(const CaseRecord& from, CaseRecord& to);

// Every loaded Case reachable from `source` through links, directly or
// through other Cases, each once, the source first. A link whose slot now
// holds another Case (or none) leads nowhere.
std::vector<LocationRef> linked_cases(const LocationRef& source);

// The resource synchronisations of the menu. Each copies the source's names
// and overlays into the other Cases (linked_cases; or every other Case of
// the board `group`.`board`) and returns the Cases that changed, for the
// caller to save. The first does nothing unless at least two Cases were
// visited; both do nothing for a source without resources.
std::vector<LocationRef> sync_resources_to_links(const LocationRef& source);
std::vector<LocationRef> sync_resources_to_board(const LocationRef& source, int group, int board);

}  // namespace nd::content
