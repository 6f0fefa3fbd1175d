// The two fatal paths. Only programming errors reach them; both end the
// process with exit status -11 after telling the user once.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "gfx/gfx.h"

namespace gfx {
namespace {

FatalBoxHook g_hook = nullptr;

[[noreturn]] void die(const char* caption, const char* text) {
    if (g_hook != nullptr) {
        g_hook(caption, text);
    } else {
        std::fprintf(stderr, "%s: %s\n", caption, text);
    }
    // Worker threads may still be running, so the process ends without
    // running static destructors under their feet.
    std::fflush(nullptr);
    std::_Exit(-11);
}

}  // namespace

void set_fatal_box_hook(FatalBoxHook hook) {
    g_hook = hook;
}

void fatal_bad_image(const void* image, const char* method) {
    char text[256];
    // The address is written as the message has always shown it: 0x and
    // zero-padded upper-case hex digits.
    std::snprintf(text, sizeof text,
                  "Fatal error: read/write at 0x%016" PRIXPTR ". At function '%s'",
                  reinterpret_cast<uintptr_t>(image), method);
    die("GFX ERROR message", text);
}

void fatal_internal(const char* text) {
    die("GFX INTERNAL ERROR", text);
}

}  // namespace gfx
