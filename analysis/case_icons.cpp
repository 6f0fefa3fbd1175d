#include "analysis/case_icons.h"

#include "analysis/draw_kit.h"

namespace nd {

namespace {

constexpr const char* kNames[kCaseIconCount] = {"STATUS_HUMAN", "STATUS_TASK", "STATUS_NULL",
                                                "STATUS_OK",    "STATUS_BAD",  "STATUS_BREAK"};

}  // namespace

void load_case_icons(CaseIcons& icons) {
    free_case_icons(icons);
    for (int i = 0; i < kCaseIconCount; ++i) icons.images[i] = draw_kit::load_picture(kNames[i]);
}

void free_case_icons(CaseIcons& icons) {
    for (gfx::IMAGE*& image : icons.images) {
        if (image) gfx::delete_image(image);
        image = nullptr;
    }
}

CaseIcon status_icon(uint8_t status) {
    static constexpr CaseIcon kByStatus[4] = {CaseIcon::kShelved, CaseIcon::kGood,
                                              CaseIcon::kSevere, CaseIcon::kWarning};
    return status < 4 ? kByStatus[status] : CaseIcon::kShelved;
}

CaseIcon case_icon(const CaseRecord& record) {
    if (record.kind == kKindPerson) return CaseIcon::kPerson;
    if (record.kind == kKindTask) return CaseIcon::kTask;
    return status_icon(record.colour);
}

}  // namespace nd
