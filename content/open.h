// Opening an attachment with the desktop's opener (xdg-open): started with
// an argument vector, never through a shell, and reaped by a thread of its
// own so the frame loop never waits for it.
#pragma once

#include <string>

#include "store/records.h"

namespace nd::content {

// Status codes of open_attachment.
inline constexpr int kOpenStarted = 0;
inline constexpr int kOpenNothing = -1;    // a free slot or a bad slot number
inline constexpr int kOpenMissing = -2;    // the image or file no longer exists
inline constexpr int kOpenNotWeb = -3;     // a link whose target is no web address
inline constexpr int kOpenNoProgram = -4;  // the opener could not be started

// Opens attachment `slot` of `record`: an image's stored JPEG, a file's
// stored path, a link's target. On failure `reason` (GBK) says why, for the
// user. `program` is the opener; tests pass a script of their own.
[[nodiscard]] int open_attachment(const CaseRecord& record, int slot, const std::string& root,
                                  std::string* reason, const char* program = "xdg-open");

// A failure the opener reported after it was started (it exits non-zero
// when no application takes the file), for the host to show. Returns false
// when there is none; each failure is given once.
bool take_open_failure(std::string* reason);

}  // namespace nd::content
