#include "store/keys.h"

#include <cstring>
#include <ctime>

namespace nd {

RecordKey make_key_at(uint16_t type, int64_t unix_seconds) {
    time_t t = static_cast<time_t>(unix_seconds);
    struct tm lt;
    localtime_r(&t, &lt);
    RecordKey k;
    std::memset(&k, 0, sizeof k);
    k.type = type;
    k.year = static_cast<uint16_t>(lt.tm_year + 1900);
    k.month = static_cast<uint8_t>(lt.tm_mon + 1);
    k.day = static_cast<uint8_t>(lt.tm_mday);
    k.hour = static_cast<uint8_t>(lt.tm_hour);
    k.minute = static_cast<uint8_t>(lt.tm_min);
    // A leap second would read 60; the field holds 0-59.
    k.second = static_cast<uint8_t>(lt.tm_sec > 59 ? 59 : lt.tm_sec);
    return k;
}

RecordKey make_key(uint16_t type) {
    return make_key_at(type, static_cast<int64_t>(time(nullptr)));
}

void stamp_key_time(RecordKey& key) {
    RecordKey now = make_key(key.type);
    key.year = now.year;
    key.month = now.month;
    key.day = now.day;
    key.hour = now.hour;
    key.minute = now.minute;
    key.second = now.second;
}

int64_t key_time_value(const RecordKey& k) {
    int64_t v = ((((int64_t{k.year} * 10000 + k.day) * 100 + k.hour) * 100 + k.minute) * 100);
    return v + int64_t{k.month} * 100000000 + k.second;
}

bool same_item(const RecordKey& a, const RecordKey& b) {
    return key_time_value(a) == key_time_value(b) && a.serial == b.serial;
}

int32_t today_yyyymmdd() {
    RecordKey k = make_key(0);
    return k.year * 10000 + k.month * 100 + k.day;
}

}  // namespace nd
