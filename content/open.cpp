#include "content/open.h"

#include <strings.h>
#include <sys/stat.h>

#include <deque>
#include <mutex>
#include <thread>

#include "base/gbk.h"
#include "base/process.h"
#include "content/document.h"

namespace nd::content {

namespace {

// 文件不存在：
constexpr char kReasonMissing[] = "\xCE\xC4\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA\xA3\xBA";
// 不是网页地址：
constexpr char kReasonNotWeb[] = "\xB2\xBB\xCA\xC7\xCD\xF8\xD2\xB3\xB5\xD8\xD6\xB7\xA3\xBA";
// 没有可以打开附件的程序
constexpr char kReasonNoProgram[] =
    "\xC3\xBB\xD3\xD0\xBF\xC9\xD2\xD4\xB4\xF2\xBF\xAA\xB8\xBD\xBC\xFE\xB5\xC4\xB3\xCC\xD0\xF2";
// 无法打开：
constexpr char kReasonFailed[] = "\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xA3\xBA";

// Failures reported by openers after they started; a few are kept. Never
// destroyed: a reaping thread may finish while the process ends.
struct Failures {
    std::mutex mutex;
    std::deque<std::string> texts;
};
Failures& failures() {
    static auto* f = new Failures;
    return *f;
}
constexpr size_t kKeptFailures = 8;

// A link is handed on only when it is a web or mail address: an old or
// damaged record must not make the opener start a local program.
bool is_web_address(const std::string& target) {
    static const char* const kSchemes[] = {"http://", "https://", "ftp://", "mailto:"};
    for (const char* s : kSchemes) {
        size_t n = std::char_traits<char>::length(s);
        if (target.size() > n && strncasecmp(target.c_str(), s, n) == 0) return true;
    }
    return false;
}

bool exists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

// An opener that exits non-zero (or is killed) found no application for
// the attachment; the user is told on a later frame.
void reap(pid_t pid, std::string what) {
    if (wait_process(pid) == 0) return;
    Failures& f = failures();
    std::lock_guard<std::mutex> hold(f.mutex);
    if (f.texts.size() == kKeptFailures) f.texts.pop_front();
    f.texts.push_back(kReasonFailed + what);
}

}  // namespace

int open_attachment(const CaseRecord& record, int slot, const std::string& root,
                    std::string* reason, const char* program) {
    if (slot < 0 || slot >= kAttachmentSlots) return kOpenNothing;
    const Attachment& a = record.attachments[slot];
    if (!is_attachment_kind(a.kind)) return kOpenNothing;
    std::string shown = field_text(a.path, sizeof a.path);  // GBK, for messages
    std::string location = resolve_attachment(record, slot, root);
    if (a.kind == kAttachLink || a.kind == kAttachLinkPending) {
        if (!is_web_address(location)) {
            if (reason) *reason = kReasonNotWeb + shown;
            return kOpenNotWeb;
        }
        location = gbk_to_utf8(location);
    } else if (!exists(location)) {
        if (reason) *reason = kReasonMissing + shown;
        return kOpenMissing;
    }
    SpawnOptions options;
    options.search_path = true;
    Spawned child;
    if (spawn_process(program, {location}, options, &child) != 0) {
        if (reason) *reason = kReasonNoProgram;
        return kOpenNoProgram;
    }
    std::thread(reap, child.pid, std::move(shown)).detach();
    return kOpenStarted;
}

bool take_open_failure(std::string* reason) {
    Failures& f = failures();
    std::lock_guard<std::mutex> hold(f.mutex);
    if (f.texts.empty()) return false;
    if (reason) *reason = std::move(f.texts.front());
    f.texts.pop_front();
    return true;
}

}  // namespace nd::content
