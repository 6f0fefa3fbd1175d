#include "content/undo.h"

#include <cstring>

namespace nd::content {

struct UndoRing::Snapshot {
    CaretFields caret;
    int length = 0;  // bytes of text before its NUL
    int slots = 0;   // attachment slots kept; those after them were all zero bytes
    Attachment attachments[kAttachmentSlots];
    char text[sizeof(CaseBody)];
};

namespace {

// The slots a snapshot must keep: up to the last one in use, when every
// slot after it is zero bytes (as freeing leaves them), else all of them.
// Most Cases use few slots, so most of the 51,600-byte table is not copied.
int slots_to_keep(const CaseRecord& record) {
    static const Attachment kZero{};
    int used = kAttachmentSlots;
    while (used > 0 && record.attachments[used - 1].kind == kAttachFree) --used;
    for (int i = used; i < kAttachmentSlots; ++i)
        if (std::memcmp(&record.attachments[i], &kZero, sizeof kZero) != 0) return kAttachmentSlots;
    return used;
}

}  // namespace

UndoRing::UndoRing() = default;
UndoRing::~UndoRing() = default;

void UndoRing::clear() {
    first_ = 0;
    count_ = 0;
    cursor_ = -1;
}

UndoRing::Snapshot& UndoRing::at(int index) {
    std::unique_ptr<Snapshot>& s = slots_[(first_ + index) % kCapacity];
    if (!s) s = std::make_unique<Snapshot>();
    return *s;
}

void UndoRing::record(const CaseRecord& record, const CaseBody& body, const CaretFields& caret) {
    count_ = cursor_ + 1;
    if (count_ == kCapacity) {
        first_ = (first_ + 1) % kCapacity;
        --count_;
    }
    Snapshot& s = at(count_);
    s.caret = caret;
    s.length = static_cast<int>(strnlen(body.text, sizeof body.text - 1));
    s.slots = slots_to_keep(record);
    std::memcpy(s.attachments, record.attachments, sizeof(Attachment) * size_t(s.slots));
    std::memcpy(s.text, body.text, static_cast<size_t>(s.length));
    s.text[s.length] = '\0';
    cursor_ = count_++;
}

void UndoRing::restore(int index, CaseRecord& record, CaseBody& body, CaretFields& caret) {
    Snapshot& s = at(index);
    caret = s.caret;
    std::memcpy(record.attachments, s.attachments, sizeof(Attachment) * size_t(s.slots));
    std::memset(record.attachments + s.slots, 0,
                sizeof(Attachment) * size_t(kAttachmentSlots - s.slots));
    std::memcpy(body.text, s.text, static_cast<size_t>(s.length) + 1);
}

bool UndoRing::undo(CaseRecord& record, CaseBody& body, CaretFields& caret) {
    if (cursor_ <= 0) return false;
    restore(--cursor_, record, body, caret);
    return true;
}

bool UndoRing::redo(CaseRecord& record, CaseBody& body, CaretFields& caret) {
    if (cursor_ + 1 >= count_) return false;
    restore(++cursor_, record, body, caret);
    return true;
}

}  // namespace nd::content
