// Pasting text, pictures and file lists, and inserting attachments at the
// caret. Pictures are stored by the import worker; the attachments of one
// paste go in the order they came, each as soon as the ones before it are in.
#include <strings.h>

#include <algorithm>
#include <mutex>

#include "base/gbk.h"
#include "content/editor_internal.h"
#include "store/locks.h"
#include "store/tables.h"

namespace nd::content {

using namespace detail;

namespace {

// 路径太长或含有无法保存的字符：
constexpr char kReasonBadPath[] =
    "\xC2\xB7\xBE\xB6\xCC\xAB\xB3\xA4\xBB\xF2\xBA\xAC\xD3\xD0\xCE\xDE\xB7\xA8\xB1\xA3\xB4\xE6"
    "\xB5\xC4\xD7\xD6\xB7\xFB\xA3\xBA";

// Files with these extensions are stored as pictures.
bool is_picture_name(const std::string& path) {
    static const char* const kExtensions[] = {".bmp", ".jpg", ".png", ".gif", ".jpeg"};
    for (const char* ext : kExtensions) {
        size_t n = std::char_traits<char>::length(ext);
        if (path.size() > n && strcasecmp(path.c_str() + path.size() - n, ext) == 0) return true;
    }
    return false;
}

// Clipboard text as the document stores it: CR LF and lone CR become line
// feeds (no carriage return is ever stored), and a NUL ends it.
std::string document_text(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

void paste_text(EditorState& e, const std::string& clip) {
    std::string text = document_text(clip);
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        if (e.selection.active()) commit_locked(e, delete_selection_locked(e));
        const DisplayLine& line = e.layout.lines[e.caret.line];
        // On an attachment line the text goes before the marker, on a line
        // of its own.
        bool add_lf = !line.is_text() && (text.empty() || text.back() != '\n');
        int room = kPasteLimit - e.layout.length - (add_lf ? 1 : 0);
        size_t n = room > 0 ? gbk_fit(text, static_cast<size_t>(room)) : 0;
        if (n == 0) return;
        text.resize(n);
        if (add_lf) text += '\n';
        int at = e.caret.offset;
        insert_bytes(*e.doc.body, e.layout.length, at, text.data(), static_cast<int>(text.size()));
        commit_locked(e, at + static_cast<int>(n));
    }
    snapshot(e);
}

// Queues the files of a list: pictures go to the import worker at once,
// other files wait in line to become file attachments.
void queue_files(EditorState& e, const std::vector<std::string>& files) {
    for (const std::string& path : files) {
        PendingAttachment p;
        if (is_picture_name(path)) {
            ImportRequest request;
            request.file_path = path;
            request.root = e.env->root;
            request.temp_dir = e.env->temp_dir;
            p.job = start_import(std::move(request));
        } else {
            size_t slash = path.find_last_of('/');
            std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
            // The slot keeps the path in GBK: a path that cannot be written
            // there whole would point at another file, so it is refused.
            bool converted = utf8_to_gbk(path, &p.path_gbk) == 0;
            if (!converted || p.path_gbk.size() >= sizeof(Attachment::path) ||
                utf8_to_gbk(base, &p.name_gbk) != 0) {
                e.message = kReasonBadPath + (converted ? p.path_gbk : std::string());
                continue;
            }
            p.name_gbk.resize(gbk_fit(p.name_gbk, 254));
        }
        e.pending.push_back(std::move(p));
    }
}

// Inserts what is ready at the front of the line. A refused insertion (no
// free slot, the length limit) ends the whole paste.
void insert_ready(EditorState& e) {
    while (!e.pending.empty()) {
        PendingAttachment& p = e.pending.front();
        int slot;
        if (p.job) {
            if (!import_finished(*p.job)) return;
            ImportResult r = take_import_result(*p.job);
            if (r.status != kImportOk) {
                e.message = r.reason;
                e.pending.pop_front();
                continue;
            }
            {
                std::lock_guard<std::mutex> hold(StorageLock);
                slot = insert_attachment_locked(e, kAttachImage, r.name, r.stored_path);
            }
            // Not inserted: the stored picture would belong to nothing.
            if (slot < 0) discard_import(r);
        } else {
            std::lock_guard<std::mutex> hold(StorageLock);
            slot = insert_attachment_locked(e, kAttachFile, p.name_gbk, p.path_gbk);
        }
        if (slot < 0) {
            drop_pending(e);
            return;
        }
        snapshot(e);
        e.pending.pop_front();
    }
}

}  // namespace

namespace detail {

int insert_attachment_locked(EditorState& e, int kind, const std::string& name,
                             const std::string& path) {
    const DisplayLine& line = e.layout.lines[e.caret.line];
    int at = e.caret.offset;
    bool leading_lf = false;
    if (!line.is_text())
        at = line.end();  // after the attachment line the caret stands on
    else
        leading_lf = e.caret.column > 0;  // mid-line: the marker starts a line of its own
    char marker[12];
    int slot = first_free_attachment(*e.doc.record);
    if (slot < 0) return -1;
    int n = format_marker(marker, kind, slot, leading_lf);
    if (e.layout.length + n > kPasteLimit) return -1;
    allocate_slot(*e.doc.record, kind, name, path);
    insert_bytes(*e.doc.body, e.layout.length, at, marker, n);
    commit_locked(e, at + n);
    return slot;
}

void paste(EditorState& e) {
    if (!e.env->clipboard) return;
    ClipboardContent c = read_clipboard(*e.env->clipboard, true);
    if (c.kind == kClipText) {
        paste_text(e, c.text);
        return;
    }
    if (c.kind == kClipNothing) return;
    if (e.selection.active()) {
        {
            std::lock_guard<std::mutex> hold(StorageLock);
            commit_locked(e, delete_selection_locked(e));
        }
        snapshot(e);
    }
    if (c.kind == kClipPicture) {
        ImportRequest request;
        request.bytes = std::move(c.picture);
        request.from_clipboard = true;
        request.root = e.env->root;
        request.temp_dir = e.env->temp_dir;
        PendingAttachment p;
        p.job = start_import(std::move(request));
        e.pending.push_back(std::move(p));
    } else {
        queue_files(e, c.files);
    }
    insert_ready(e);
}

void drop_pending(EditorState& e) {
    for (PendingAttachment& p : e.pending)
        if (p.job) cancel_import(*p.job);
    e.pending.clear();
}

}  // namespace detail

void editor_insert_files(EditorState& e, const std::vector<std::string>& paths) {
    if (!e.open) return;
    std::vector<std::string> files(paths.begin(),
                                   paths.begin() + std::min<size_t>(paths.size(), kMaxPastedFiles));
    queue_files(e, files);
    insert_ready(e);
}

void editor_poll(EditorState& e) {
    if (e.open && !e.pending.empty()) insert_ready(e);
}

}  // namespace nd::content
