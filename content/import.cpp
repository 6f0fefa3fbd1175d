#include "content/import.h"

#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

#include "base/file_io.h"
#include "base/park_miller.h"
#include "content/images.h"
#include "content/picture_probe.h"
#include "gfx/gfx.h"
#include "store/keys.h"
#include "store/locks.h"
#include "store/paths.h"

namespace nd::content {

class ImportJob {
public:
    explicit ImportJob(ImportRequest r) : request(std::move(r)) {}
    ImportRequest request;
    std::atomic<bool> finished{false};
    std::mutex mutex;  // guards the fields below, never held during the work
    ImportResult result;
    bool cancelled = false;
    bool taken = false;
};

namespace {

// Picture files larger than this are not read at all.
constexpr size_t kMaxPictureFile = size_t{256} << 20;

// 无法读取图片文件
constexpr char kReasonUnreadable[] =
    "\xCE\xDE\xB7\xA8\xB6\xC1\xC8\xA1\xCD\xBC\xC6\xAC\xCE\xC4\xBC\xFE";
// 不是可以识别的图片
constexpr char kReasonNotPicture[] =
    "\xB2\xBB\xCA\xC7\xBF\xC9\xD2\xD4\xCA\xB6\xB1\xF0\xB5\xC4\xCD\xBC\xC6\xAC";
// 图片尺寸太大，无法插入
constexpr char kReasonTooLarge[] =
    "\xCD\xBC\xC6\xAC\xB3\xDF\xB4\xE7\xCC\xAB\xB4\xF3\xA3\xAC\xCE\xDE\xB7\xA8\xB2\xE5\xC8\xEB";
// 图片文件已损坏，无法解码
constexpr char kReasonDamaged[] =
    "\xCD\xBC\xC6\xAC\xCE\xC4\xBC\xFE\xD2\xD1\xCB\xF0\xBB\xB5\xA3\xAC\xCE\xDE\xB7\xA8\xBD\xE2"
    "\xC2\xEB";
// 图片无法保存到工作区
constexpr char kReasonNotStored[] =
    "\xCD\xBC\xC6\xAC\xCE\xDE\xB7\xA8\xB1\xA3\xB4\xE6\xB5\xBD\xB9\xA4\xD7\xF7\xC7\xF8";

ImportResult failure(int status, const char* reason) {
    ImportResult r;
    r.status = status;
    r.reason = reason;
    return r;
}

// JPEG has no alpha: see-through parts are laid on white, as a page shows
// them, instead of keeping whatever colour hides under alpha 0.
void flatten_on_white(gfx::IMAGE& image) {
    for (uint32_t& p : image.pixels) {
        uint32_t a = p >> 24;
        if (a == 255) continue;
        uint32_t out = 0xFF000000u;
        for (int shift = 0; shift < 24; shift += 8) {
            uint32_t c = (p >> shift) & 0xFF;
            out |= ((c * a + 255 * (255 - a) + 127) / 255) << shift;
        }
        p = out;
    }
}

// A name no file has yet: the generator is stepped until the image and its
// preview are both free (bounded; the last draw is taken regardless).
RecordKey draw_image_key(const std::string& root, uint32_t* id) {
    std::lock_guard<std::mutex> hold(StorageLock);
    RecordKey key = make_key(kTypeImage);
    for (int attempt = 0; attempt < 64; ++attempt) {
        *id = static_cast<uint32_t>(next_random());
        key.serial = static_cast<uint16_t>(*id & 0xFFFF);
        std::string path = make_path(root, kTypeImage, key, 0);
        if (!file_exists(path) && !file_exists(preview_path(path))) break;
    }
    return key;
}

// The worker: one thread, jobs in the order they came, started on first use
// and detached like every worker of the program. Its state is never
// destroyed, so the thread may outlive main's statics.
struct Worker {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::shared_ptr<ImportJob>> queue;
    bool started = false;
};

Worker& worker() {
    static Worker* w = new Worker;
    return *w;
}

void run_worker() {
    Worker& w = worker();
    for (;;) {
        std::shared_ptr<ImportJob> job;
        {
            std::unique_lock<std::mutex> lock(w.mutex);
            w.wake.wait(lock, [&] { return !w.queue.empty(); });
            job = std::move(w.queue.front());
            w.queue.pop_front();
        }
        bool skip;
        {
            std::lock_guard<std::mutex> hold(job->mutex);
            skip = job->cancelled;
        }
        ImportResult result = skip ? ImportResult{} : store_picture(job->request);
        std::lock_guard<std::mutex> hold(job->mutex);
        if (job->cancelled)
            discard_import(result);
        else
            job->result = std::move(result);
        job->finished.store(true, std::memory_order_release);
    }
}

}  // namespace

ImportResult store_picture(const ImportRequest& request) {
    std::string file;
    const uint8_t* data = request.bytes.data();
    size_t size = request.bytes.size();
    if (!request.from_clipboard) {
        if (read_file_all(request.file_path, file, kMaxPictureFile) != kIoOk)
            return failure(kImportUnreadable, kReasonUnreadable);
        data = reinterpret_cast<const uint8_t*>(file.data());
        size = file.size();
    }
    PictureHeader header;
    if (probe_picture(data, size, &header) != 0)
        return failure(kImportNotPicture, kReasonNotPicture);
    int fits = check_picture(header, size);
    if (fits == kPictureTooLarge) return failure(kImportTooLarge, kReasonTooLarge);
    if (fits != kPictureFits) return failure(kImportDamaged, kReasonDamaged);

    gfx::IMAGE* image = gfx::new_image(1, 1);
    // The decoder must agree with the header: a file whose frame is larger
    // than it claimed is damaged.
    if (gfx::getimage_bytes(image, data, size) != gfx::kOk ||
        static_cast<uint32_t>(image->width) > header.width ||
        static_cast<uint32_t>(image->height) > header.height) {
        gfx::delete_image(image);
        return failure(kImportDamaged, kReasonDamaged);
    }
    file.clear();
    flatten_on_white(*image);
    if (request.from_clipboard && !request.temp_dir.empty())
        (void)write_screen_bmp(*image, request.temp_dir);  // kept for the user; not needed here

    ImportResult r;
    RecordKey key = draw_image_key(request.root, &r.id);
    make_dirs(request.root, key);
    r.disk_path = make_path(request.root, kTypeImage, key, 0);
    r.stored_path = stored_image_path(key);
    // The clipboard's picture is named by the id's low 16 bits; a file's
    // name shows the whole value.
    char name[16];
    std::snprintf(name, sizeof name, "%08X.jpg", request.from_clipboard ? r.id & 0xFFFF : r.id);
    r.name = name;
    // Both writes go through a temporary file and a rename, so a failure
    // leaves no partial file; a preview without its image is removed.
    bool stored = gfx::save_jpeg(image, r.disk_path.c_str(), kJpegQuality) == gfx::kOk;
    if (stored && write_preview(*image, r.disk_path) != 0) {
        ::unlink(r.disk_path.c_str());
        stored = false;
    }
    gfx::delete_image(image);
    if (!stored) return failure(kImportNotStored, kReasonNotStored);
    r.status = kImportOk;
    return r;
}

void discard_import(const ImportResult& r) {
    if (r.status != kImportOk || r.disk_path.empty()) return;
    ::unlink(preview_path(r.disk_path).c_str());
    ::unlink(r.disk_path.c_str());
}

std::shared_ptr<ImportJob> start_import(ImportRequest request) {
    auto job = std::make_shared<ImportJob>(std::move(request));
    Worker& w = worker();
    {
        std::lock_guard<std::mutex> hold(w.mutex);
        w.queue.push_back(job);
        if (!w.started) {
            std::thread(run_worker).detach();
            w.started = true;
        }
    }
    w.wake.notify_one();
    return job;
}

bool import_finished(const ImportJob& job) {
    return job.finished.load(std::memory_order_acquire);
}

ImportResult take_import_result(ImportJob& job) {
    std::lock_guard<std::mutex> hold(job.mutex);
    if (!job.finished.load(std::memory_order_acquire) || job.taken) return ImportResult{};
    job.taken = true;
    return std::move(job.result);
}

void cancel_import(ImportJob& job) {
    std::lock_guard<std::mutex> hold(job.mutex);
    if (job.taken) return;
    job.cancelled = true;
    if (job.finished.load(std::memory_order_acquire)) {
        discard_import(job.result);
        job.result = ImportResult{};
    }
}

}  // namespace nd::content
