// The small pictures the analysis views put before a Case: the person and
// task icons and the four status icons, shared by every skin.
#pragma once

#include <cstdint>

#include "gfx/gfx.h"
#include "store/records.h"

namespace nd {

enum class CaseIcon : uint8_t { kPerson, kTask, kShelved, kGood, kSevere, kWarning };
inline constexpr int kCaseIconCount = 6;

struct CaseIcons {
    gfx::IMAGE* images[kCaseIconCount] = {};
    const gfx::IMAGE* operator[](CaseIcon icon) const { return images[int(icon)]; }
};
void load_case_icons(CaseIcons& icons);
void free_case_icons(CaseIcons& icons);

// The icon of a status; a value outside 0..3 shows as shelved.
CaseIcon status_icon(uint8_t status);
// Person and task Cases show their kind, others their status.
CaseIcon case_icon(const CaseRecord& record);

}  // namespace nd
