// The canvas of a board: each Case a text node at its board position and
// card size holding its title and content as Markdown; each picture it holds
// a file node below it; each link between two Cases of the board an edge
// from the Case that holds it, labelled when tight. Links to Cases on other
// boards cannot be edges of this file and are listed in the Case's text.
#include "tools/nodrel-tool/canvas_export.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdio>
#include <map>
#include <set>

#include "analysis/links.h"
#include "base/gbk.h"
#include "gfx/gfx.h"
#include "store/paths.h"
#include "store/tables.h"
#include "tools/nodrel-tool/case_markdown.h"
#include "tools/nodrel-tool/export_files.h"
#include "tools/nodrel-tool/read_workspace.h"

namespace tool {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kWindowW = 232, kWindowH = 225;  // the smallest window-form card
constexpr int kPictureW = 240, kPictureH = 160, kPictureGap = 20;

std::string hex64(uint64_t v) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
    return buf;
}

uint64_t fnv1a(const void* data, size_t size, uint64_t h = 0xcbf29ce484222325ull) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 0x100000001b3ull;
    return h;
}

// A Case's node id comes from its creation key without the ordinal, which
// changes with the board's display order, so re-exports keep their ids.
std::string node_id(const nd::RecordKey& k) {
    nd::RecordKey stable = k;
    stable.ordinal = 0;
    stable.unused = 0;
    return hex64(fnv1a(&stable, sizeof stable));
}

std::string derived_id(const std::string& base, const std::string& what) {
    return hex64(fnv1a(what.data(), what.size(), fnv1a(base.data(), base.size())));
}

// The card's size on the board: a title-form card is its title's extent in
// "微软雅黑" 16 px plus 14 pixels each way; the other forms are windows of
// at least 232 x 225, whose size the records do not keep.
void card_size(const nd::CaseRecord& c, int& w, int& h) {
    if ((c.form & 3u) != nd::kFormTitle) {
        w = kWindowW;
        h = kWindowH;
        return;
    }
    static gfx::IMAGE* scratch = gfx::new_image(1, 1);
    gfx::set_font(16, 0, "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA", scratch);  // 微软雅黑
    std::string title = nd::field_text(c.title, sizeof c.title);
    w = gfx::text_width(title.c_str(), scratch) + 14;
    h = gfx::text_height(title.empty() ? " " : title.c_str(), scratch) + 14;
}

// The preset colours of the format: 1 red, 3 yellow, 4 green; grey has no
// preset, so shelved Cases keep the reader's default colour.
const char* status_colour(uint8_t status) {
    switch (status) {
        case nd::kColourGood:
            return "4";
        case nd::kColourSevere:
            return "1";
        case nd::kColourWarning:
            return "3";
        default:
            return nullptr;
    }
}

// A picture's exported name: the node id, the slot and the stored name's
// extension, so no stored name can reach outside the pictures folder.
std::string picture_name(const std::string& id, int slot, const nd::Attachment& a) {
    std::string stored = nd::field_text(a.name, sizeof a.name), ext;
    size_t dot = stored.find_last_of('.');
    if (dot != std::string::npos)
        for (char ch : stored.substr(dot + 1))
            if (std::isalnum(static_cast<unsigned char>(ch)) && ext.size() < 5) ext += ch;
    return id + "-" + std::to_string(slot) + (ext.empty() ? "" : "." + ext);
}

// Content keeps the blank lines the editor leaves at its start and end;
// a node shows better without them.
std::string trim_lines(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    size_t start = s.find_first_not_of('\n');
    return start == std::string::npos ? std::string() : s.substr(start);
}

}  // namespace

std::string write_board_canvas(const std::string& root, const std::string& out,
                               const std::string& board_dir, int g, int b) {
    const std::string pictures = board_dir + "/pictures";
    // Ids first, so that edges name the nodes of their targets.
    std::map<int, std::string> id_of;
    std::set<std::string> ids;
    for (int s = 0; s < nd::kCaseSlots; ++s) {
        const nd::CaseRecord* c = nd::find_case(g, b, s);
        if (!c) continue;
        std::string id = node_id(c->key);
        while (!ids.insert(id).second) id = derived_id(id, "again");
        id_of[s] = id;
    }
    Json nodes = Json::array(), edges = Json::array();
    for (const auto& [s, id] : id_of) {
        const nd::CaseRecord* c = nd::find_case(g, b, s);
        int w, h;
        card_size(*c, w, h);

        // Pictures are copied first, so the Markdown can point at the copies.
        Json files = Json::array();
        std::map<int, std::string> copied;
        for (int slot = 0; slot < nd::kAttachmentSlots; ++slot) {
            const nd::Attachment& a = c->attachments[slot];
            if (a.kind != nd::kAttachImage) continue;
            std::string from = nd::stored_to_disk(root, nd::field_text(a.path, sizeof a.path));
            std::string rel = pictures + "/" + picture_name(id, slot, a);
            if (from.empty() || !make_dir_p(out + "/" + pictures) ||
                !copy_file(from, out + "/" + rel))
                continue;
            copied[slot] = rel;
            files.push_back(
                {{"id", derived_id(id, "picture" + std::to_string(slot))},
                 {"type", "file"},
                 {"x", c->x},
                 {"y", c->y + h + kPictureGap + int(copied.size() - 1) * (kPictureH + kPictureGap)},
                 {"width", kPictureW},
                 {"height", kPictureH},
                 {"file", rel}});
        }
        std::string text = "# " + field_utf8(c->title, sizeof c->title);
        std::string content = trim_lines(
            content_markdown(*c, *nd::find_case_body(g, b, s), [&](const nd::Attachment& a) {
                int slot = int(&a - c->attachments);
                auto it = copied.find(slot);
                return it != copied.end()
                           ? it->second
                           : nd::stored_to_disk(root, nd::field_text(a.path, sizeof a.path));
            }));
        if (!content.empty()) text += "\n\n" + content;

        std::string elsewhere;
        for (int i = 0; i < nd::link_count(*c); ++i) {
            nd::LocationRef at;
            const nd::CaseRecord* t = nd::link_target(*c, i, &at);
            if (!t) continue;
            if (at.group == g && at.board == b) {
                Json edge = {{"id", derived_id(id, "link" + std::to_string(i))},
                             {"fromNode", id},
                             {"toNode", id_of.at(at.slot)}};
                bool tight = nd::link_is_tight(*c, i);
                if (tight) edge["label"] = "紧密";
                edge["nodrel_relation"] = tight ? "tight" : "loose";
                edges.push_back(edge);
            } else {
                const nd::Board* other = nd::find_board(at.group, at.board);
                elsewhere += "\n- " + field_utf8(t->title, sizeof t->title) +
                             (other ? " (" + field_utf8(other->name, 64) + ")" : "");
            }
        }
        if (!elsewhere.empty()) text += "\n\n其他白板上的关联：" + elsewhere;

        Json node = {{"id", id},   {"type", "text"}, {"x", c->x},   {"y", c->y},
                     {"width", w}, {"height", h},    {"text", text}};
        if (const char* colour = status_colour(c->colour)) node["color"] = colour;
        nodes.push_back(node);
        for (Json& f : files) nodes.push_back(f);
    }
    Json canvas = {{"nodes", nodes}, {"edges", edges}};
    const std::string path = out + "/" + board_dir + ".canvas";
    if (!write_text(path, canvas.dump(2, ' ', false, Json::error_handler_t::replace) + "\n"))
        return "cannot write " + path;
    return {};
}

}  // namespace tool
