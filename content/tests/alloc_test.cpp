// A warm editor allocates nothing per keystroke: the undo ring's buffers,
// the held previews and the save mark are all in place after the first
// edits. Counted by replacing the global allocator for this test program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "content/tests/content_fixture.h"

namespace {
thread_local bool g_counting = false;
thread_local long g_allocations = 0;
}  // namespace

void* operator new(size_t n) {
    if (g_counting) ++g_allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
// Pictures are made with the nothrow form; it must count, and pair with the
// free below, too.
void* operator new(size_t n, const std::nothrow_t&) noexcept {
    if (g_counting) ++g_allocations;
    return std::malloc(n ? n : 1);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace nd::content {
namespace {

class Allocations : public testing::ContentTest {};

TEST_F(Allocations, AWarmKeystrokeAllocatesNothing) {
    set_slot(0, kAttachImage, "p", "1\\img\\p.jpg", 160, 120);
    set_slot(1, kAttachFile, "f", "/f");
    std::string t;
    for (int i = 0; i < 30; ++i) t += "line " + std::to_string(i) + "\n";
    open(t + "**img:00\n**fle:01\nend\n");
    for (int i = 0; i < UndoRing::kCapacity + 1; ++i) type("w");
    editor_key(editor, kKeyUndo);
    editor_key(editor, kKeyRedo);

    g_allocations = 0;
    g_counting = true;
    type("x");
    editor_key(editor, kKeyBackspace);
    editor_key(editor, kKeyEnter);
    for (int key : {kKeyLeft, kKeyRight, kKeyDown, kKeyUp, kKeyEnd, kKeyHome, kKeyPageDown,
                    kKeyPageUp, kKeyUndo, kKeyRedo})
        editor_key(editor, key);
    editor_mouse_down(editor, 30, 30, 0);
    editor_mouse_move(editor, 60, 60);
    editor_mouse_up(editor);
    g_counting = false;
    EXPECT_EQ(g_allocations, 0);
}

}  // namespace
}  // namespace nd::content
