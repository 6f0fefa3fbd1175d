// The clipboard as the content sees it. The window layer implements
// Clipboard over the desktop's clipboard (and tests over plain memory); the
// rules of what a paste takes live here, once, for every implementation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/gfx.h"

namespace nd::content {

// What the clipboard offers, as one implementation reports it. Text is GBK
// (converted at the implementation's edge); a picture is the encoded file
// the clipboard holds (PNG, BMP or JPEG), decoded later off the frame loop;
// files are disk paths (UTF-8).
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool has_text() = 0;
    virtual bool has_picture() = 0;
    virtual bool has_files() = 0;
    virtual bool read_text(std::string& gbk) = 0;
    virtual bool read_picture(std::vector<uint8_t>& encoded) = 0;
    // The files and the drop effect they were offered with: 1 copy, 2 move,
    // 4 link (a list without an effect counts as copy).
    virtual bool read_files(std::vector<std::string>& paths, int& effect) = 0;
    virtual bool write_text(const std::string& gbk) = 0;
    // Offers the picture (kept by the implementation while it is offered).
    virtual bool write_picture(const gfx::IMAGE& picture) = 0;
};

// Kinds of a clipboard reading.
inline constexpr int kClipNothing = -1;
inline constexpr int kClipText = 1;
inline constexpr int kClipPicture = 2;
inline constexpr int kClipFiles = 15;

inline constexpr int kMaxPastedFiles = 30;
inline constexpr size_t kMaxPastedPath = 260;

struct ClipboardContent {
    int kind = kClipNothing;
    std::string text;                // kClipText, GBK
    std::vector<uint8_t> picture;    // kClipPicture, encoded
    std::vector<std::string> files;  // kClipFiles, at most 30
};

// What is offered, in order of preference, without reading it: text, then a
// picture, then a file list; kClipNothing otherwise.
int query_clipboard(Clipboard& clipboard);

// Reads the clipboard in order of preference: text that is not empty; then,
// unless `accept_non_text` is false, a picture; then a file list offered for
// copy or move (a list offered only for linking is ignored), cut to its
// first 30 files, each path at most 260 bytes.
ClipboardContent read_clipboard(Clipboard& clipboard, bool accept_non_text);

// Puts a stored image on the clipboard: the image is loaded, kept as a BMP
// under a fresh "%s%08x.bmp" name in `temp_dir` and offered as a picture.
// Returns 1 when it was offered, 0 when not. The caller must not hold
// StorageLock (the name is drawn from the program's generator).
int copy_image_to_clipboard(const std::string& image_path, const std::string& temp_dir,
                            Clipboard& clipboard);

}  // namespace nd::content
