// The stored records of a workspace. Each struct is the little-endian byte
// image of its file (or of its slot inside a file): records are read and
// written whole, so every byte that no field here names is kept exactly as
// read. The host is little-endian x86-64; the static_asserts pin every size
// and every offset that the file formats depend on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace nd {

// Limits of the data model.
inline constexpr int kMaxGroups = 20;         // groups that may be created
inline constexpr int kGroupSlots = 100;       // group slots reserved in root.frame
inline constexpr int kMaxBoards = 80;         // boards per group
inline constexpr int kBoardSlots = 100;       // board slots reserved in a group file
inline constexpr int kMaxCases = 80;          // Cases per board
inline constexpr int kCaseSlots = 110;        // Case entries reserved in a board
inline constexpr int kMaxLinks = 70;          // links per Case
inline constexpr int kMaxResources = 30;      // resources per Case
inline constexpr int kAttachmentSlots = 100;  // attachment slots per Case
inline constexpr int kMaxGroupName = 20;      // bytes of text in a group name

// Item types carried in a RecordKey.
enum ItemType : uint16_t {
    kTypeGroup = 1,
    kTypeCaseFirst = 101,  // 101..108 and 110 are Cases; the value is the attribute
    kTypeImage = 109,
    kTypeCaseLast = 110,
    kTypeBoard = 0x7FF1,
    kTypeDeleted = 0x8000,  // an empty slot; also added to a type to mark it
};

// Case attributes (the key type of a Case).
enum CaseAttribute : uint16_t {
    kAttrEntity = 101,    // "实体, 物体"
    kAttrFragment = 102,  // "片断, 经过, 过程": sticky notes and quick Cases
    kAttrPerson = 103,    // "人物"
    kAttrPlace = 104,     // "地点"
    kAttrTime = 105,      // "时间"
    kAttrEvent = 106,     // "事件"
    kAttrCause = 107,     // "起因, 原因"
    kAttr108 = 108,
    kAttr110 = 110,
};

// Case kind (u16 at 2612).
enum CaseKind : uint16_t {
    kKindNone = 0,      // "无"
    kKindObject = 101,  // "物"
    kKindPerson = 103,  // "人"
    kKindEvent = 106,   // "事件"
    kKindTask = 110,    // "任务"
};

// Colour class (status, byte 5 of a CaseRecord).
enum ColourClass : uint8_t {
    kColourShelved = 0,  // "搁置" grey
    kColourGood = 1,     // "良好" green
    kColourSevere = 2,   // "严重" red
    kColourWarning = 3,  // "警告" yellow
};

// Display form, bits 0-1 of the u16 at 14.
enum CaseForm : uint16_t {
    kFormCase = 0,
    kFormTitle = 1,  // "标题"
    kFormPhoto = 2,  // "照片"
    kFormMap = 3,    // "地图"
};
inline constexpr int kImportanceLevels = 5;  // 0..4, "L1（一般）" .. "L5（要命）"
inline constexpr int kDifficultyLevels = 3;  // "简单", "困难", "无法完成"
inline constexpr int kCognitionLevels = 3;   // "未知", "了解", "存疑"

// Attachment slot kinds.
inline constexpr int32_t kAttachFree = 0;
inline constexpr int32_t kAttachFile = 0x1011;
inline constexpr int32_t kAttachImage = 0x1012;
inline constexpr int32_t kAttachLink = 0x1020;
inline constexpr int32_t kAttachLinkPending = 0x1021;

// Identity of every stored item; file names are made from it.
struct RecordKey {
    uint16_t type;     // 0  ItemType
    uint8_t flag;      // 2  0 when made
    uint8_t second;    // 3
    uint16_t serial;   // 4  low 16 bits of a random draw
    uint16_t ordinal;  // 6  1-based display order inside a board's Case list
    uint16_t unused;   // 8
    uint16_t year;     // 10 full year
    uint8_t month;     // 12 1..12
    uint8_t day;       // 13
    uint8_t hour;      // 14
    uint8_t minute;    // 15
};
static_assert(sizeof(RecordKey) == 16);
static_assert(offsetof(RecordKey, second) == 3);
static_assert(offsetof(RecordKey, serial) == 4);
static_assert(offsetof(RecordKey, ordinal) == 6);
static_assert(offsetof(RecordKey, year) == 10);
static_assert(offsetof(RecordKey, month) == 12);
static_assert(offsetof(RecordKey, minute) == 15);

// Where an item sits in the tables; flag 0 means valid.
struct LocationRef {
    int32_t flag;
    int32_t group;
    int32_t board;
    int32_t slot;
};
static_assert(sizeof(LocationRef) == 16);

#pragma pack(push, 1)

// "root.frame": the group table.
struct GroupTable {
    uint32_t count;               // 0    group slots in use
    char names[kGroupSlots][32];  // 4    empty name = skipped slot
    RecordKey keys[kGroupSlots];  // 3204 type 1
};
static_assert(sizeof(GroupTable) == 4804);
static_assert(offsetof(GroupTable, names) == 4);
static_assert(offsetof(GroupTable, keys) == 3204);

// One group file: the boards of a group.
struct GroupFile {
    uint32_t count;               // 0 board slots in use
    RecordKey keys[kBoardSlots];  // 4 type 0x7FF1, or 0x8000 for a deleted slot
};
static_assert(sizeof(GroupFile) == 1604);
static_assert(offsetof(GroupFile, keys) == 4);

// One whiteboard (".frame").
struct Board {
    uint32_t size;                // 0     24864
    uint8_t byte4;                // 4
    uint8_t flag;                 // 5
    uint8_t settings6[14];        // 6     board settings owned by the view
    int32_t view_x;               // 20    view origin, saved when the board is left
    uint8_t bytes24[4];           // 24
    int32_t view_y;               // 28
    uint8_t view_state[248];      // 32
    int32_t value280;             // 280   -1 when made
    int32_t value284;             // 284   -1 when made
    uint8_t bytes288[8];          // 288
    RecordKey key;                // 296   creation
    RecordKey saved;              // 312   last save: same type and serial
    char name[64];                // 328   a rename writes only the first 32 bytes
    uint8_t content[22708];       // 392   owned by the board view
    uint32_t case_count;          // 23100
    RecordKey cases[kCaseSlots];  // 23104 ordinal in bytes 6-7
};
static_assert(sizeof(Board) == 24864);
static_assert(offsetof(Board, flag) == 5);
static_assert(offsetof(Board, view_x) == 20);
static_assert(offsetof(Board, view_y) == 28);
static_assert(offsetof(Board, value280) == 280);
static_assert(offsetof(Board, key) == 296);
static_assert(offsetof(Board, saved) == 312);
static_assert(offsetof(Board, name) == 328);
static_assert(offsetof(Board, content) == 392);
static_assert(offsetof(Board, case_count) == 23100);
static_assert(offsetof(Board, cases) == 23104);

struct Attachment {
    int32_t kind;    // 0 free, 0x1011 file, 0x1012 image, 0x1020/0x1021 web link
    char name[256];  // for an image "%08X.jpg"
    char path[256];  // image: relative to the root in stored form ("1\img\...")
};
static_assert(sizeof(Attachment) == 516);

// One entry of the third link table (16 bytes per link at 61044 of a
// CaseRecord): what kind of link it is, who made it, the map mark it ends
// at and how tight it is.
struct LinkDetail {
    uint8_t kind;         // 0  kLinkOrdinary or kLinkMapMark
    uint8_t unused1[3];   // 1
    int32_t role;         // 4  kLinkRoleGesture for every link made by the gesture
    int16_t mark_x;       // 8  the mark's place on the map, -1 for ordinary links
    int16_t mark_y;       // 10
    uint16_t relation;    // 12 kRelationLoose or kRelationTight
    uint8_t unused14[2];  // 14
};
static_assert(sizeof(LinkDetail) == 16);
static_assert(offsetof(LinkDetail, role) == 4);
static_assert(offsetof(LinkDetail, mark_x) == 8);
static_assert(offsetof(LinkDetail, mark_y) == 10);
static_assert(offsetof(LinkDetail, relation) == 12);

inline constexpr uint8_t kLinkOrdinary = 0;
inline constexpr uint8_t kLinkMapMark = 3;  // ends at a mark on a map-form Case
inline constexpr int32_t kLinkRoleGesture = 3;
inline constexpr uint16_t kRelationLoose = 0;  // "松散关系"
inline constexpr uint16_t kRelationTight = 1;  // "紧密关系"

// A mark on a map-form card ("地图"), named "map_%d" by its place in the
// list, relative to the card's top-left corner. Marks live in bytes
// 62164..62367 of the CaseRecord, which no earlier layout named: the u16
// count, two spare bytes, then 50 marks of two int16.
struct MapMark {
    int16_t x;
    int16_t y;
};
static_assert(sizeof(MapMark) == 4);
inline constexpr int kMaxMapMarks = 50;

// The fixed record of a Case (".case").
struct CaseRecord {
    uint32_t size;                             // 0     65536
    uint8_t made;                              // 4     1 when made
    uint8_t colour;                            // 5     ColourClass
    uint8_t bytes6[2];                         // 6
    int32_t colour_date;                       // 8     yyyymmdd of the last colour change
    uint16_t value12;                          // 12    0 when made
    uint16_t form;                             // 14    bits 0-1 CaseForm, the rest run-time
    int32_t x;                                 // 16    board units
    uint8_t bytes20[4];                        // 20
    int32_t y;                                 // 24
    uint8_t bytes28[112];                      // 28
    uint8_t byte140;                           // 140   2 when made
    uint8_t bytes141[9];                       // 141
    uint8_t overlays[kMaxResources][16];       // 150   first int32 of each is the overlay value
    uint8_t bytes630[1372];                    // 630
    int32_t overdue_status;                    // 2002  colour to take when overdue
    int32_t due_date;                          // 2006  yyyymmdd, 0 = none
    uint16_t resource_count;                   // 2010  at most 30
    char resource_names[kMaxResources][16];    // 2012
    int32_t resource_values[kMaxResources];    // 2492
    uint16_t kind;                             // 2612  CaseKind
    uint16_t importance;                       // 2614  0..4
    uint16_t difficulty;                       // 2616  0..2
    uint16_t cognition;                        // 2618  0..2
    uint8_t bytes2620[8];                      // 2620
    int32_t value2628;                         // 2628  -1 when made
    int32_t value2632;                         // 2632  -1 when made
    uint8_t bytes2636[8];                      // 2636
    RecordKey key;                             // 2644  creation; type = attribute
    RecordKey saved;                           // 2660  last save
    char title[1160];                          // 2676
    Attachment attachments[kAttachmentSlots];  // 3836
    uint8_t bytes55436[3364];                  // 55436
    uint32_t link_count;                       // 58800 at most 70
    RecordKey link_keys[kMaxLinks];            // 58804 links, first table: target key
    LocationRef link_locations[kMaxLinks];     // 59924 links, second table: target location
    uint8_t link_extra[kMaxLinks][16];         // 61044 links, third table: LinkDetail
    // The board's own fields, in bytes no earlier layout named (see
    // MapMark and the asserts below).
    uint16_t map_mark_count;                   // 62164 marks in use, at most 50
    uint8_t bytes62166[2];                     // 62166
    MapMark map_marks[kMaxMapMarks];           // 62168 marks on a map-form card
    uint8_t pinned;                            // 62368 1 while the card is pinned
    uint8_t bytes62369[3];                     // 62369
    int32_t reserved_colour;                   // 62372 reserved status, while reserved_date != 0
    int32_t reserved_date;                     // 62376 yyyymmdd, 0 = none reserved
    uint16_t window_width;                     // 62380 size of a window-form card; 0 = smallest
    uint16_t window_height;                    // 62382
    uint8_t bytes62384[3148];                  // 62384
    uint8_t body_pointer[4];                   // 65532 a pointer slot in memory only; kept as read
};
static_assert(sizeof(CaseRecord) == 65536);
static_assert(offsetof(CaseRecord, colour) == 5);
static_assert(offsetof(CaseRecord, colour_date) == 8);
static_assert(offsetof(CaseRecord, value12) == 12);
static_assert(offsetof(CaseRecord, form) == 14);
static_assert(offsetof(CaseRecord, x) == 16);
static_assert(offsetof(CaseRecord, y) == 24);
static_assert(offsetof(CaseRecord, byte140) == 140);
static_assert(offsetof(CaseRecord, overlays) == 150);
static_assert(offsetof(CaseRecord, overdue_status) == 2002);
static_assert(offsetof(CaseRecord, due_date) == 2006);
static_assert(offsetof(CaseRecord, resource_count) == 2010);
static_assert(offsetof(CaseRecord, resource_names) == 2012);
static_assert(offsetof(CaseRecord, resource_values) == 2492);
static_assert(offsetof(CaseRecord, kind) == 2612);
static_assert(offsetof(CaseRecord, cognition) == 2618);
static_assert(offsetof(CaseRecord, value2628) == 2628);
static_assert(offsetof(CaseRecord, key) == 2644);
static_assert(offsetof(CaseRecord, saved) == 2660);
static_assert(offsetof(CaseRecord, title) == 2676);
static_assert(offsetof(CaseRecord, attachments) == 3836);
static_assert(offsetof(CaseRecord, link_count) == 58800);
static_assert(offsetof(CaseRecord, link_keys) == 58804);
static_assert(offsetof(CaseRecord, link_locations) == 59924);
static_assert(offsetof(CaseRecord, link_extra) == 61044);
static_assert(offsetof(CaseRecord, map_mark_count) == 62164);
static_assert(offsetof(CaseRecord, map_marks) == 62168);
static_assert(offsetof(CaseRecord, pinned) == 62368);
static_assert(offsetof(CaseRecord, reserved_colour) == 62372);
static_assert(offsetof(CaseRecord, reserved_date) == 62376);
static_assert(offsetof(CaseRecord, window_width) == 62380);
static_assert(offsetof(CaseRecord, window_height) == 62382);
static_assert(offsetof(CaseRecord, body_pointer) == 65532);

// The content of a Case ("_BODY"): GBK text, zero-terminated.
struct CaseBody {
    char text[65536];
};
static_assert(sizeof(CaseBody) == 65536);

// The ".pos" point file.
struct CasePoint {
    float x, y, z;
};
struct CasePointFile {
    uint32_t count;  // always 1000
    CasePoint points[1000];
};
static_assert(sizeof(CasePointFile) == 12004);

#pragma pack(pop)

static_assert(std::is_trivially_copyable_v<GroupTable> && std::is_trivially_copyable_v<Board> &&
              std::is_trivially_copyable_v<CaseRecord>);

inline bool is_case_type(uint16_t type) {
    uint16_t t = type & 0x7FFF;
    return t >= kTypeCaseFirst && t <= kTypeCaseLast && t != kTypeImage;
}

}  // namespace nd
