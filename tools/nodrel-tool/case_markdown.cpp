#include "tools/nodrel-tool/case_markdown.h"

#include <cstdio>
#include <cstring>

#include "base/gbk.h"
#include "tools/nodrel-tool/read_workspace.h"

namespace tool {

std::string content_markdown(const nd::CaseRecord& c, const nd::CaseBody& body,
                             const ImageTarget& image_target) {
    std::string text = nd::field_text(body.text, sizeof body.text);
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        unsigned slot = 0;
        char tag[4] = {};
        if (line.size() >= 8 && line.compare(0, 2, "**") == 0 && line[5] == ':' &&
            std::sscanf(line.c_str() + 2, "%3[a-z]:%u", tag, &slot) == 2 && slot < 100) {
            const nd::Attachment& a = c.attachments[slot];
            std::string name = field_utf8(a.name, sizeof a.name);
            std::string path = nd::field_text(a.path, sizeof a.path);
            if (!std::strcmp(tag, "img") && a.kind == nd::kAttachImage) {
                out += "![" + name + "](<" + image_target(a) + ">)\n";
                continue;
            }
            if (!std::strcmp(tag, "fle") && a.kind == nd::kAttachFile) {
                out += "[" + name + "](<" + nd::gbk_to_utf8(path) + ">)\n";
                continue;
            }
            if (!std::strcmp(tag, "htp") &&
                (a.kind == nd::kAttachLink || a.kind == nd::kAttachLinkPending)) {
                std::string url = nd::gbk_to_utf8(path);
                out += "[" + (name.empty() ? url : name) + "](<" + url + ">)\n";
                continue;
            }
        }
        out += nd::gbk_to_utf8(line) + "\n";
    }
    return out;
}

}  // namespace tool
