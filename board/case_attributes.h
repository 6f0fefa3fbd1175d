// The Case attributes the menus set and the top bar shows, as edits of a
// record in memory and as the items that name each value.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace nd {

// Carries out a colour row (15-18: colour and colour date), a kind (25-29),
// an importance (30-34), a difficulty (39-41) or a cognition (42-44) on the
// record. `today` is yyyymmdd. False, with the record unchanged, for any
// other item.
bool apply_attribute_item(CaseRecord& record, int item, int32_t today);

// The reserved status: clicking the reserved colour again clears it (colour
// -1, date 0); any other colour becomes the reserved one, and the reserved
// date and the colour date become `today`.
void apply_reserved_status(CaseRecord& record, int colour, int32_t today);

// The reserved colour, or -1 while none is reserved.
int reserved_colour(const CaseRecord& record);

// The item whose text names the record's value: its kind (25-29; 25 for a
// code no item has), importance (30-34), difficulty (39-41) and cognition
// (42-44); values past the scale show the last item.
int kind_item(const CaseRecord& record);
int importance_item(const CaseRecord& record);
int difficulty_item(const CaseRecord& record);
int cognition_item(const CaseRecord& record);

}  // namespace nd
