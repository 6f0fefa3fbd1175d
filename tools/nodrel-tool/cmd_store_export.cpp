// nodrel-tool export: every Case of a workspace as a Markdown file, with an
// index per board, so a user can take their data elsewhere. Reads only.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <tuple>

#include "base/gbk.h"
#include "store/paths.h"
#include "store/tables.h"
#include "tools/nodrel-tool/canvas_export.h"
#include "tools/nodrel-tool/case_markdown.h"
#include "tools/nodrel-tool/command.h"
#include "tools/nodrel-tool/export_files.h"
#include "tools/nodrel-tool/read_workspace.h"

namespace {

using Slot = std::tuple<int, int, int>;

// A file-name piece: separators, controls and characters other systems
// refuse become "_"; the result is cut to about 60 bytes on a character
// boundary.
std::string name_piece(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || std::strchr("/\\:*?\"<>|", c)) c = '_';
        if (out.size() >= 60 && (c & 0xC0) != 0x80) break;
        out += static_cast<char>(c);
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) out.pop_back();
    return out.empty() ? "untitled" : out;
}

const char* attribute_label(uint16_t type) {
    switch (type & 0x7FFF) {
        case 101:
            return "实体, 物体";
        case 102:
            return "片断, 经过, 过程";
        case 103:
            return "人物";
        case 104:
            return "地点";
        case 105:
            return "时间";
        case 106:
            return "事件";
        case 107:
            return "起因, 原因";
        default:
            return "-";
    }
}

const char* kind_label(uint16_t kind) {
    switch (kind) {
        case 0:
            return "无";
        case 103:
            return "人";
        case 101:
            return "物";
        case 106:
            return "事件";
        case 110:
            return "任务";
        default:
            return "?";
    }
}

template <size_t N>
const char* pick(const char* const (&labels)[N], unsigned v) {
    return v < N ? labels[v] : "?";
}

const char* const kImportance[] = {"L1（一般）", "L2（需要注意）", "L3（引起关注）", "L4（重要）",
                                   "L5（要命）"};
const char* const kDifficulty[] = {"简单", "困难", "无法完成"};
const char* const kCognition[] = {"未知", "了解", "存疑"};
const char* const kColour[] = {"搁置 (grey)", "良好 (green)", "严重 (red)", "警告 (yellow)"};
const char* const kForm[] = {"case", "标题", "照片", "地图"};

std::string case_markdown(const std::string& root, const nd::CaseRecord& c,
                          const nd::CaseBody& body, const std::map<Slot, std::string>& files) {
    std::string md = "# " + tool::field_utf8(c.title, sizeof c.title) + "\n\n";
    char buf[256];
    md += std::string("- 属性: ") + attribute_label(c.key.type) + "\n";
    md += std::string("- 类型: ") + kind_label(c.kind) + "\n";
    md += std::string("- 重要性: ") + pick(kImportance, c.importance) + "\n";
    md += std::string("- 难度: ") + pick(kDifficulty, c.difficulty) + "\n";
    md += std::string("- 认知: ") + pick(kCognition, c.cognition) + "\n";
    md += std::string("- 形式: ") + pick(kForm, c.form & 3u) + "\n";
    std::snprintf(buf, sizeof buf, "- 状态: %s, since %d\n", pick(kColour, c.colour),
                  c.colour_date);
    md += buf;
    if (c.due_date) {
        std::snprintf(buf, sizeof buf, "- 期限: %d\n", c.due_date);
        md += buf;
    }
    std::snprintf(buf, sizeof buf, "- created %04u-%02u-%02u %02u:%02u:%02u, position (%d, %d)\n",
                  unsigned{c.key.year}, unsigned{c.key.month}, unsigned{c.key.day},
                  unsigned{c.key.hour}, unsigned{c.key.minute}, unsigned{c.key.second}, c.x, c.y);
    md += buf;

    uint32_t links = c.link_count > nd::kMaxLinks ? nd::kMaxLinks : c.link_count;
    if (links) {
        md += "\n## 关联\n\n";
        for (uint32_t i = 0; i < links; ++i) {
            const nd::LocationRef& at = c.link_locations[i];
            const nd::CaseRecord* t =
                at.flag == 0 ? nd::find_case(at.group, at.board, at.slot) : nullptr;
            auto f = files.find({at.group, at.board, at.slot});
            if (t && f != files.end())
                md += "- [" + tool::field_utf8(t->title, sizeof t->title) + "](../../" + f->second +
                      ")\n";
            else
                md += "- (a Case that is not in this workspace)\n";
        }
    }
    unsigned res = c.resource_count > nd::kMaxResources ? nd::kMaxResources : c.resource_count;
    if (res) {
        md += "\n## 资源\n\n| 名称 | 值 | 叠加值 |\n|---|---|---|\n";
        for (unsigned i = 0; i < res; ++i) {
            int32_t overlay;
            std::memcpy(&overlay, c.overlays[i], 4);
            std::snprintf(buf, sizeof buf, " | %d | %d |\n", c.resource_values[i], overlay);
            md += "| " + tool::field_utf8(c.resource_names[i], 16) + buf;
        }
    }
    md += "\n## 内容\n\n" + tool::content_markdown(c, body, [&](const nd::Attachment& a) {
              return nd::stored_to_disk(root, nd::field_text(a.path, sizeof a.path));
          });
    return md;
}

int run_export(int argc, char** argv) {
    const bool canvas = argc == 4 && !std::strcmp(argv[3], "--canvas");
    if (argc != 3 && !canvas) {
        std::fprintf(stderr, "usage: nodrel-tool export PATH.wk DIR [--canvas]\n");
        return 2;
    }
    std::string root, out = argv[2];
    if (int status = tool::load_read_only("export", argv[1], &root)) return status;
    while (out.size() > 1 && out.back() == '/') out.pop_back();

    // File names first, so links between Cases can point at each other.
    std::map<Slot, std::string> files;
    std::map<std::pair<int, int>, std::string> board_dirs;
    char num[32];
    for (int g = 0; g < nd::kGroupSlots; ++g) {
        if (!nd::Tables.group_boards[g]) continue;
        std::snprintf(num, sizeof num, "%02d-", g + 1);
        std::string gdir = num + name_piece(tool::field_utf8(nd::Tables.groups.names[g], 32));
        for (int b = 0; b < nd::kBoardSlots; ++b) {
            const nd::Board* bd = nd::find_board(g, b);
            if (!bd) continue;
            std::snprintf(num, sizeof num, "%02d-", b + 1);
            std::string bdir =
                gdir + "/" + num + name_piece(tool::field_utf8(bd->name, sizeof bd->name));
            board_dirs[{g, b}] = bdir;
            for (int s = 0; s < nd::kCaseSlots; ++s) {
                const nd::CaseRecord* c = nd::find_case(g, b, s);
                if (!c) continue;
                std::snprintf(num, sizeof num, "%03u-", unsigned{bd->cases[s].ordinal});
                files[{g, b, s}] = bdir + "/" + num +
                                   name_piece(tool::field_utf8(c->title, sizeof c->title)) + ".md";
            }
        }
    }

    int written = 0;
    for (const auto& [gb, bdir] : board_dirs) {
        auto [g, b] = gb;
        if (!tool::make_dir_p(out + "/" + bdir)) {
            std::fprintf(stderr, "nodrel-tool export: cannot make %s/%s: %s\n", out.c_str(),
                         bdir.c_str(), std::strerror(errno));
            return 1;
        }
        const nd::Board* bd = nd::find_board(g, b);
        std::string index = "# " + tool::field_utf8(bd->name, sizeof bd->name) + "\n\n";
        for (int s = 0; s < nd::kCaseSlots; ++s) {
            const nd::CaseRecord* c = nd::find_case(g, b, s);
            if (!c) continue;
            const std::string& file = files[{g, b, s}];
            std::string md = case_markdown(root, *c, *nd::find_case_body(g, b, s), files);
            if (!tool::write_text(out + "/" + file, md)) {
                std::fprintf(stderr, "nodrel-tool export: cannot write %s/%s: %s\n", out.c_str(),
                             file.c_str(), std::strerror(errno));
                return 1;
            }
            ++written;
            std::string base = file.substr(file.find_last_of('/') + 1);
            index += "- [" + tool::field_utf8(c->title, sizeof c->title) + "](<" + base + ">) — " +
                     pick(kColour, c->colour) + "\n";
        }
        if (!tool::write_text(out + "/" + bdir + "/index.md", index)) {
            std::fprintf(stderr, "nodrel-tool export: cannot write the index of %s\n",
                         bdir.c_str());
            return 1;
        }
        std::string failure = canvas ? tool::write_board_canvas(root, out, bdir, g, b) : "";
        if (!failure.empty()) {
            std::fprintf(stderr, "nodrel-tool export: %s\n", failure.c_str());
            return 1;
        }
    }
    std::printf("exported %d cases from %zu boards to %s\n", written, board_dirs.size(),
                out.c_str());
    return 0;
}

const tool::Registration export_command({"export", "export PATH.wk DIR [--canvas]", run_export});

}  // namespace
