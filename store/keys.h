// Record keys: making them and comparing their clock fields.
#pragma once

#include <cstdint>
#include <string>

#include "store/records.h"

namespace nd {

// A key of the given type stamped with the local time, flag 0, serial 0;
// the caller sets the serial.
RecordKey make_key(uint16_t type);

// The same from an explicit time (seconds since the epoch, local time).
RecordKey make_key_at(uint16_t type, int64_t unix_seconds);

// Stamps the clock fields of `key` with the local time, keeping type, flag,
// serial and ordinal: the last-save twin of a creation key.
void stamp_key_time(RecordKey& key);

// The clock fields folded into one number; links compare targets by it.
int64_t key_time_value(const RecordKey& key);

// True when both keys name the same item: equal clock fields and serial.
bool same_item(const RecordKey& a, const RecordKey& b);

// Today's local date as yyyymmdd.
int32_t today_yyyymmdd();

}  // namespace nd
