// The clipboard's rules, apart from any platform: which of the targets an
// owner offers a read takes, how their bytes become the program's text,
// pictures and file lists, and what this program offers when it writes.
// Internal to the window layer and its tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "gfx/window/clipboard.h"

namespace gfx::clip {

// Gets the bytes of one target from the owner; false when the owner refuses,
// fails or does not answer in time.
using FetchTarget = std::function<bool(const std::string& target, std::string* bytes)>;

// What an owner offers: its target names (MIME types and X11 names such as
// UTF8_STRING) and a way to fetch one. Only the targets a read needs are
// fetched.
struct Offer {
    std::vector<std::string> targets;
    FetchTarget fetch;
};

// Reads an offer by the clipboard's preference (clipboard.h).
ClipboardContent read_offer(const Offer& offer, ClipAccept accept);

// clipboard_query() of an offer from its target names alone.
int classify_targets(const std::vector<std::string>& targets);

// Text from another program (UTF-8, or ISO-8859-1 when `latin1`) as the
// program's GBK: cut at a NUL, CR LF and lone CR made line feeds, characters
// without a GBK form dropped.
std::string gbk_from_clipboard(const std::string& bytes, bool latin1);

// What this program serves while it owns the clipboard: target name and bytes.
struct OwnedOffer {
    std::vector<std::pair<std::string, std::string>> entries;

    const std::string* find(const std::string& target) const;
    std::vector<std::string> targets() const;
    bool empty() const { return entries.empty(); }
};

// GBK text as UTF8_STRING, text/plain;charset=utf-8 and STRING (ISO-8859-1,
// '?' for what it cannot hold), line feeds for line ends.
OwnedOffer text_offer(const std::string& gbk);
// A picture (0xAARRGGBB, rows top to bottom) as image/png, made opaque; an
// empty offer when it cannot be encoded.
OwnedOffer picture_offer(const std::vector<uint32_t>& pixels, int width, int height);

// An offer read through an OwnedOffer (this program reading its own
// clipboard, and the in-process clipboard of tests).
Offer offer_of(const OwnedOffer& owned);

}  // namespace gfx::clip
