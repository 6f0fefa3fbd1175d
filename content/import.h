// Pictures from outside the workspace (a picture file pasted or dropped, a
// bitmap from the clipboard) stored as workspace JPEGs with their previews.
//
// Decoding a picture can take seconds and much memory, so it never runs on
// the frame loop: start_import hands the work to a worker thread and the
// frame loop asks import_finished each frame, which never waits. A picture
// whose header claims more than the caps of picture_probe.h is refused
// before anything is allocated for its pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nd::content {

struct ImportRequest {
    std::string file_path;       // a picture file (disk path, UTF-8), or
    std::vector<uint8_t> bytes;  // the encoded picture the clipboard holds
    bool from_clipboard = false;
    std::string root;      // the workspace root, ends in '/'
    std::string temp_dir;  // the program's temporary folder, ends in '/' ("" skips "screen.s12")
};

// Status codes of an import.
inline constexpr int kImportOk = 0;
inline constexpr int kImportUnreadable = -1;  // the file cannot be read
inline constexpr int kImportNotPicture = -2;  // no known picture format
inline constexpr int kImportTooLarge = -3;    // beyond the size caps
inline constexpr int kImportDamaged = -4;     // the data does not decode
inline constexpr int kImportNotStored = -5;   // the workspace files could not be written
inline constexpr int kImportCancelled = -6;   // dropped by its owner

struct ImportResult {
    int status = kImportCancelled;
    std::string reason;       // GBK, for the user, when status < 0
    uint32_t id = 0;          // the generator value the image was named from
    std::string name;         // the slot name "%08X.jpg"
    std::string stored_path;  // the slot path "1\img\YYYY\MM\DD\hh_mm_ss_%08X.jpg"
    std::string disk_path;    // the same under the root, with '/'
};

// Stores one picture, synchronously: decodes it, writes the JPEG under
// "1/img/" and its preview. On any failure nothing is left in "1/img/". A
// clipboard picture is also kept as "screen.s12" in the temporary folder.
// The id is drawn from the program's generator under StorageLock, so the
// caller must not hold it.
ImportResult store_picture(const ImportRequest& request);

class ImportJob;

// Queues the request for the worker thread. Never blocks on the work.
std::shared_ptr<ImportJob> start_import(ImportRequest request);

// True once the job has its result.
bool import_finished(const ImportJob& job);

// The result of a finished job (taken once; the files are then the
// caller's).
ImportResult take_import_result(ImportJob& job);

// Removes the files of a successful result that will not be used.
void discard_import(const ImportResult& result);

// Drops a job whose owner goes away: a result not yet taken is discarded
// and the files it stored are removed, now or when the worker finishes.
void cancel_import(ImportJob& job);

}  // namespace nd::content
