#include "board/case_attributes.h"

#include <algorithm>

#include "board/menu_items.h"

namespace nd {

namespace {

// The kind codes of items 25 to 29.
constexpr uint16_t kKindOfItem[5] = {kKindNone, kKindPerson, kKindObject, kKindEvent, kKindTask};

bool in_range(int item, int first, int count) {
    return item >= first && item < first + count;
}

int scale_item(int first, int count, uint16_t value) {
    return first + std::min<int>(value, count - 1);
}

}  // namespace

bool apply_attribute_item(CaseRecord& r, int item, int32_t today) {
    if (colour_of_item(item) >= 0) {
        r.colour = static_cast<uint8_t>(colour_of_item(item));
        r.colour_date = today;
    } else if (in_range(item, kItemKindNone, 5)) {
        r.kind = kKindOfItem[item - kItemKindNone];
    } else if (in_range(item, kItemImportance1, kImportanceLevels)) {
        r.importance = static_cast<uint16_t>(item - kItemImportance1);
    } else if (in_range(item, kItemDifficulty0, kDifficultyLevels)) {
        r.difficulty = static_cast<uint16_t>(item - kItemDifficulty0);
    } else if (in_range(item, kItemCognition0, kCognitionLevels)) {
        r.cognition = static_cast<uint16_t>(item - kItemCognition0);
    } else {
        return false;
    }
    return true;
}

void apply_reserved_status(CaseRecord& r, int colour, int32_t today) {
    if (reserved_colour(r) == colour) {
        r.reserved_colour = -1;
        r.reserved_date = 0;
        return;
    }
    r.reserved_colour = colour;
    r.reserved_date = today;
    r.colour_date = today;
}

int reserved_colour(const CaseRecord& r) {
    return r.reserved_date != 0 ? r.reserved_colour : -1;
}

int kind_item(const CaseRecord& r) {
    for (int i = 0; i < 5; ++i)
        if (kKindOfItem[i] == r.kind) return kItemKindNone + i;
    return kItemKindNone;
}

int importance_item(const CaseRecord& r) {
    return scale_item(kItemImportance1, kImportanceLevels, r.importance);
}

int difficulty_item(const CaseRecord& r) {
    return scale_item(kItemDifficulty0, kDifficultyLevels, r.difficulty);
}

int cognition_item(const CaseRecord& r) {
    return scale_item(kItemCognition0, kCognitionLevels, r.cognition);
}

}  // namespace nd
