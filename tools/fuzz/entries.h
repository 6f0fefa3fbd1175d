// The fuzz targets of every reader of outside data: what each one does with
// one input. The libFuzzer programs (fuzz_main.cpp, built with ND_FUZZ) and
// the unit test that replays the seeds and every input that ever failed
// (regression_test.cpp) call the same functions.
//
// Each entry feeds the input to the reader and checks what came back: a
// status the reader's contract allows, and results within their bounds. A
// broken rule ends the process through fuzz_require, which libFuzzer and
// the test both report; a memory fault is caught by the address checker in
// the fuzz build and under `make test-asan`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nd::fuzz {

using Entry = void (*)(const uint8_t* data, size_t size);

struct Target {
    const char* name;  // the fuzz program and its corpus folder
    Entry entry;
};

// The settings envelope: the input as a sealed file, and as a record sealed
// and loaded as config.cfg, table.cfg and a ".wk", with its corrections.
void settings_one(const uint8_t* data, size_t size);
// The workspace loader and repair pass over a small workspace whose files the
// input edits (overwrites, cuts, removes, adds).
void workspace_one(const uint8_t* data, size_t size);
// The content layout over arbitrary text and attachment slots.
void content_layout_one(const uint8_t* data, size_t size);
// The picture readers, each on its own and through the graphics layer.
void png_one(const uint8_t* data, size_t size);
void jpeg_one(const uint8_t* data, size_t size);
void gif_one(const uint8_t* data, size_t size);
void bmp_one(const uint8_t* data, size_t size);
// The version question's reply reader, over a loopback connection whose
// server sends the input.
void update_reply_one(const uint8_t* data, size_t size);
// servers.cfg.
void servers_cfg_one(const uint8_t* data, size_t size);
// The clipboard's text/uri-list and copied-files lists.
void uri_list_one(const uint8_t* data, size_t size);

inline constexpr Target kTargets[] = {
    {"settings", settings_one},
    {"workspace", workspace_one},
    {"content_layout", content_layout_one},
    {"png", png_one},
    {"jpeg", jpeg_one},
    {"gif", gif_one},
    {"bmp", bmp_one},
    {"update_reply", update_reply_one},
    {"servers_cfg", servers_cfg_one},
    {"uri_list", uri_list_one},
};

// Ends the process with `what` on standard error when `ok` is false.
void fuzz_require(bool ok, const char* what);

// A scratch folder of this process (in /dev/shm when there is one, else
// below TMPDIR), made on first use and removed at exit; ends in '/'.
const std::string& scratch_dir();

}  // namespace nd::fuzz
