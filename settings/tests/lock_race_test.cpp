// The in-use lock against a save that replaces the ".wk" file while another
// program is taking the lock. The race is made certain rather than waited
// for: this test program puts its own fcntl in front of the C library's, and
// the holder's save runs between the contender's open and its lock.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <functional>
#include <utility>

#include "base/testing/temp_dir.h"
#include "settings/settings.h"

namespace {

// Run once, just before the next request for an open-file-description lock.
std::function<void()> g_before_lock;

}  // namespace

extern "C" int fcntl(int fd, int cmd, ...) {
    va_list args;
    va_start(args, cmd);
    void* arg = va_arg(args, void*);
    va_end(args);
    using Real = int (*)(int, int, ...);
    static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "fcntl"));
    if (cmd == F_OFD_SETLK && g_before_lock) std::exchange(g_before_lock, nullptr)();
    return real(fd, cmd, arg);
}

namespace nd {
namespace {

// The contender opened the old file; the holder's save then renamed a new
// locked file over the name and let the old one go. The lock the contender
// wins on the old file is worth nothing: it must look again and find the
// workspace in use.
TEST(WorkspaceLock, IsNotWonOnAFileASaveHasReplaced) {
    testing::TempDir dir;
    const std::string path = dir / "a.wk";
    WorkspaceSettings holder;
    ASSERT_EQ(load_workspace_settings(holder, path, nullptr), kWkCreated);

    for (int check = 0; check < 2; ++check) {
        g_before_lock = [&] { ASSERT_EQ(save_workspace_settings(holder), 0); };
        if (check == 0) {
            WorkspaceSettings contender;
            std::string reason;
            EXPECT_EQ(load_workspace_settings(contender, path, &reason), kWkInUse) << reason;
            EXPECT_EQ(contender.file, -1);
            close_workspace_settings(contender);
        } else {
            EXPECT_EQ(workspace_in_use(path), 1);
        }
        EXPECT_FALSE(g_before_lock);
    }
    close_workspace_settings(holder);
    EXPECT_EQ(workspace_in_use(path), 0);
}

}  // namespace
}  // namespace nd
