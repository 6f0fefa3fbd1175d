// The records of the three settings files, as byte images.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace nd {

#pragma pack(push, 1)

// One product's profile inside "config.cfg".
struct ConfigProfile {
    uint8_t flag;           // 0   product flag byte, sent by the updater
    uint32_t major;         // 1   installed version
    uint32_t minor;         // 5
    uint32_t patch;         // 9
    int32_t value13;        // 13
    int32_t value17;        // 17
    int32_t value21;        // 21
    uint8_t bytes25[124];   // 25
    uint8_t options[9];     // 149 option switches, 1 on / 0 off
    uint8_t bytes158[142];  // 158
};
static_assert(sizeof(ConfigProfile) == 300);
static_assert(offsetof(ConfigProfile, major) == 1);
static_assert(offsetof(ConfigProfile, patch) == 9);
static_assert(offsetof(ConfigProfile, value21) == 21);
static_assert(offsetof(ConfigProfile, options) == 149);

// "config.cfg".
struct ConfigRecord {
    uint8_t product;             // 0 the product whose program owns the file
    ConfigProfile profiles[13];  // 1 profile t at 1 + 300 t
    uint8_t rest[195];           // 3901
};
static_assert(sizeof(ConfigRecord) == 4096);
static_assert(offsetof(ConfigRecord, profiles) == 1);

// One recent workspace in "table.cfg".
struct RecentEntry {
    uint8_t locked;   // 0   the workspace has a lock password
    uint8_t in_use;   // 1   another program holds the workspace
    uint8_t pad[2];   // 2
    char name[128];   // 4   display name, GBK
    char path[2048];  // 132 the ".wk" path
};
static_assert(sizeof(RecentEntry) == 2180);
static_assert(offsetof(RecentEntry, name) == 4);
static_assert(offsetof(RecentEntry, path) == 132);

// "table.cfg".
struct RecentTable {
    int32_t count;  // at most 20
    RecentEntry entries[20];
};
static_assert(sizeof(RecentTable) == 43604);
static_assert(offsetof(RecentTable, entries) == 4);

// The ".wk" record: workspace settings. Fields without a name here belong to
// the window, panels and views that read them and are kept as read.
struct WorkspaceRecord {
    uint8_t bytes0[28];      // 0
    int32_t value28;         // 28
    int32_t value32;         // 32   reset to 6 at exit
    int32_t value36;         // 36
    int32_t value40;         // 40
    int32_t last_board;      // 44   board shown when last closed
    int32_t mark;            // 48   always 2052
    uint8_t skin;            // 52   skin index
    int32_t value53;         // 53
    uint8_t bytes57[24];     // 57
    uint8_t byte81;          // 81
    uint16_t width;          // 82   window width
    uint16_t height;         // 84   window height
    uint8_t byte86;          // 86
    uint8_t byte87;          // 87
    uint8_t bytes88[158];    // 88
    char password[32];       // 246  GBK; empty = not locked
    int32_t values278[4];    // 278
    int32_t value294;        // 294
    int32_t value298;        // 298
    uint16_t pair302[2];     // 302
    uint16_t pair306[2];     // 306
    uint16_t pair310[2];     // 310
    uint8_t byte314;         // 314
    int32_t value315;        // 315
    int32_t value319;        // 319
    uint8_t bytes323[4];     // 323
    uint8_t byte327;         // 327  cleared after every load
    int32_t value328;        // 328
    int32_t value332;        // 332
    int32_t value336;        // 336
    uint8_t bytes340[1728];  // 340
};
static_assert(sizeof(WorkspaceRecord) == 2068);
static_assert(offsetof(WorkspaceRecord, value28) == 28);
static_assert(offsetof(WorkspaceRecord, last_board) == 44);
static_assert(offsetof(WorkspaceRecord, mark) == 48);
static_assert(offsetof(WorkspaceRecord, skin) == 52);
static_assert(offsetof(WorkspaceRecord, value53) == 53);
static_assert(offsetof(WorkspaceRecord, byte81) == 81);
static_assert(offsetof(WorkspaceRecord, width) == 82);
static_assert(offsetof(WorkspaceRecord, height) == 84);
static_assert(offsetof(WorkspaceRecord, byte87) == 87);
static_assert(offsetof(WorkspaceRecord, password) == 246);
static_assert(offsetof(WorkspaceRecord, values278) == 278);
static_assert(offsetof(WorkspaceRecord, value294) == 294);
static_assert(offsetof(WorkspaceRecord, pair302) == 302);
static_assert(offsetof(WorkspaceRecord, pair310) == 310);
static_assert(offsetof(WorkspaceRecord, value315) == 315);
static_assert(offsetof(WorkspaceRecord, value319) == 319);
static_assert(offsetof(WorkspaceRecord, byte327) == 327);
static_assert(offsetof(WorkspaceRecord, value328) == 328);
static_assert(offsetof(WorkspaceRecord, value336) == 336);

#pragma pack(pop)

static_assert(std::is_trivially_copyable_v<ConfigRecord> &&
              std::is_trivially_copyable_v<RecentTable> &&
              std::is_trivially_copyable_v<WorkspaceRecord>);

}  // namespace nd
