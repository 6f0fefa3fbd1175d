// Whole-file reads and crash-safe writes.
//
// Every file the store writes goes through write_file_atomic: the bytes go
// to a fresh temporary file in the same directory, which is flushed and
// fsynced and then renamed over the old name, and the directory is fsynced.
// A crash at any moment therefore leaves either the old file or the new one,
// whole. In-place patches of a few bytes are done the same way, by reading
// the current file, patching the copy and replacing the file.
//
// A replace is a replace of the file the user has: when the name is a
// symbolic link, the file it leads to is replaced and the link stays; the
// new file gets the permissions of the one it replaces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace nd {

// Status codes of this file.
inline constexpr int kIoOk = 0;
inline constexpr int kIoMissing = -1;  // the file does not exist
inline constexpr int kIoFailed = -2;   // open, read or write failed (errno kept)
inline constexpr int kIoShort = -3;    // the file is shorter than asked for

// Reads exactly `size` bytes from the start of `path`. A longer file is
// accepted (only the first bytes are read); a shorter one gives kIoShort.
[[nodiscard]] int read_file_exact(const std::string& path, void* out, size_t size);

// Reads up to `size` bytes from the start of `path` and tells in `*got` how
// many there were: kIoOk when the file held them all, kIoShort when it held
// fewer (the rest of `out` is left as it was), or the status of a file that
// cannot be read (then `*got` is 0).
[[nodiscard]] int read_file_prefix(const std::string& path, void* out, size_t size, size_t* got);

// Reads the whole file into `out` (at most `limit` bytes, else kIoFailed).
[[nodiscard]] int read_file_all(const std::string& path, std::string& out, size_t limit);

// Replaces `path` with `size` bytes, crash-safely. Returns kIoOk or kIoFailed.
[[nodiscard]] int write_file_atomic(const std::string& path, const void* data, size_t size);

// The pieces of a replace, for writers that must hold the new file open
// (the workspace settings keep theirs locked):
// The file a replace of `path` writes: `path`, or the file a symbolic link
// there leads to, through chains of links; "" for a loop of links.
std::string replace_target(const std::string& path);
// A new empty temporary file beside `target` with the permissions `target`
// has (the usual ones when there is no such file). Returns the descriptor or
// -1, and its name in `*tmp`.
int open_temp_beside(const std::string& target, std::string* tmp);
// Makes the written temporary file `tmp` the file `target`: fsync, rename,
// fsync of the folder. The descriptor stays open. kIoOk, or kIoFailed with
// the temporary file removed.
[[nodiscard]] int finish_replace(int fd, const std::string& tmp, const std::string& target);
// True for a file name that open_temp_beside makes ("<name>.tmp<pid>_<n>",
// and the older "<name>.tmp<pid>"): left behind, such a file is the remains
// of a replace that never finished.
bool is_temp_name(const std::string& file_name);

// Writes `size` bytes as a new file at the first free name of "<path>.bad",
// "<path>.bad1" ... "<path>.bad99", never over an existing file, and tells the
// name in `*kept`. Damaged files are kept this way before they are mended.
// Returns kIoOk or kIoFailed.
[[nodiscard]] int keep_copy_aside(const std::string& path, const void* data, size_t size,
                                  std::string* kept);

// A few bytes to put at a fixed offset of an existing file.
struct FilePatch {
    size_t offset;
    const void* data;
    size_t size;
};

// Applies the patches to the existing file `path` in one crash-safe replace.
// The file must be long enough for every patch (else kIoShort; kIoMissing
// when it does not exist).
[[nodiscard]] int patch_file_atomic(const std::string& path, const FilePatch* patches,
                                    size_t count);

// Turns the fsyncs of write_file_atomic off or on (on by default). The
// rename still makes every replace all-or-nothing for a process that dies;
// only durability across power loss is given up. Scratch workspaces that
// are built in bulk (benchmarks, tests) use this; the program never does.
void set_sync_writes(bool on);

bool file_exists(const std::string& path);
bool dir_exists(const std::string& path);

// Creates one directory level; an existing directory is no error.
[[nodiscard]] bool make_dir(const std::string& path);

// Renames a damaged file to "<path>.bad" ("<path>.bad1", ... when that name
// is taken) and tells the name it got in `*kept`. Returns false when the
// file could not be moved.
[[nodiscard]] bool keep_aside(const std::string& path, std::string* kept = nullptr);

// Renames `from` to `to` only when `to` does not exist yet.
[[nodiscard]] bool rename_no_replace(const std::string& from, const std::string& to);

// The errno text of the last failure of this thread's I/O in this file.
std::string last_io_error();

}  // namespace nd
