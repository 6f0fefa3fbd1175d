// The clipboard: the only place the program reads or writes it.
//
// Reading never blocks the frame loop. A caller asks with clipboard_request
// and polls the ticket on later frames; the answer is fetched and decoded on
// the clipboard's own thread (another program may take seconds to answer, or
// never answer, and a picture may take long to decode). Writes are handed to
// that thread and return at once.
//
// What a read returns, in this order of preference:
//   1. text (GBK, converted from the UTF-8 that other programs speak);
//   2. a bitmap (PNG, BMP or JPEG decoded into an image);
//   3. a list of files copied or cut in a file manager (at most 30).
// Text-only callers (single-line text boxes) get text or nothing, never a
// picture or files. A file list offered for linking only is ignored. File
// managers offer the same files as text too; that text is skipped in favour
// of the list it spells, so copied files paste as files.
//
// On Linux this is the X11 CLIPBOARD selection on its own connection (also
// under XWayland). Without an X display the clipboard is unavailable: reads
// answer kClipUnavailable and writes are dropped. A window forced headless
// (tests) gets an in-process clipboard instead (clipboard_fake.h).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "gfx/gfx.h"

namespace gfx {

// Kinds of a read, and of clipboard_query().
constexpr int kClipText = 1;
constexpr int kClipBitmap = 2;
constexpr int kClipFiles = 15;
constexpr int kClipNothing = -1;      // nothing usable (also: the owner did not answer in time)
constexpr int kClipUnavailable = -2;  // no clipboard at all (no X display)
constexpr int kClipBadPicture = -3;   // a picture was offered but cannot be decoded

// A pasted file list keeps its first 30 entries.
constexpr size_t kClipMaxFiles = 30;

enum class ClipAccept { kTextOnly, kAnything };

// How the files were put on the clipboard. kLink (a list offered for linking
// only) never reaches a caller.
enum class FileEffect { kCopy, kCut, kLink };

struct ImageDeleter {
    void operator()(IMAGE* image) const { delete_image(image); }
};
using OwnedImage = std::unique_ptr<IMAGE, ImageDeleter>;

struct ClipboardContent {
    int kind = kClipNothing;
    // kClipText: GBK, lines ending in a bare line feed, no NUL byte. Characters
    // without a GBK form are dropped, as in typed text.
    std::string text;
    // kClipBitmap: the decoded picture, opaque (transparent parts laid on white).
    OwnedImage image;
    // kClipFiles: absolute paths in the file system's own encoding.
    std::vector<std::string> files;
    FileEffect effect = FileEffect::kCopy;
    // kClipBadPicture: what to tell the user (GBK).
    std::string reason;
};

bool clipboard_available();

// Starts a read. Returns a ticket (> 0), or kClipUnavailable.
[[nodiscard]] int clipboard_request(ClipAccept accept);
// 0 while the read is under way; 1 when `*out` holds the answer (the ticket
// is then spent); -1 for a ticket that is unknown or already spent.
[[nodiscard]] int clipboard_poll(int ticket, ClipboardContent* out);
// Forgets a read whose answer is no longer wanted.
void clipboard_cancel(int ticket);

// What the clipboard offers now, without reading it: kClipText when text is
// there, else kClipBitmap for a picture, else kClipFiles for a file list,
// else kClipNothing; kClipUnavailable without a clipboard. It is kept up to
// date by the clipboard's thread, so menus may ask every frame.
int clipboard_query();

// Places text (GBK) on the clipboard; other programs read it as UTF-8 with
// line feeds for line ends. 0, or kClipUnavailable.
int clipboard_write_text(const char* gbk, size_t length);
// Places a copy of the picture (made opaque) on the clipboard as PNG. It is
// served until the program ends or another program takes the clipboard.
// 0, kClipUnavailable, or kPictureError for a missing image.
int clipboard_write_image(const IMAGE* image);

}  // namespace gfx
