#include "base/process.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace nd {
namespace {

// The program's own output through the pipe: one argument with a shell's
// special characters arrives whole, and the exit status comes back.
TEST(Process, ArgumentsArriveWholeAndTheStatusComesBack) {
    SpawnOptions options;
    options.search_path = true;
    options.capture_output = true;
    Spawned p;
    ASSERT_EQ(spawn_process("sh", {"-c", "printf '%s|' \"$@\"; exit 3", "sh", "a b;$HOME", "c"},
                            options, &p),
              0);
    std::string out;
    char buffer[256];
    for (;;) {
        ssize_t n = read(p.output, buffer, sizeof buffer);
        if (n > 0) out.append(buffer, static_cast<size_t>(n));
        if (n == 0) break;
        if (n < 0) usleep(1000);  // the pipe does not block
    }
    close(p.output);
    EXPECT_EQ(wait_process(p.pid), 3);
    EXPECT_EQ(out, "a b;$HOME|c|");
}

TEST(Process, FailuresAreToldApart) {
    Spawned p;
    EXPECT_EQ(spawn_process("/nonexistent/program", {}, SpawnOptions{}, &p), -1);
    EXPECT_EQ(p.pid, -1);
    SpawnOptions options;
    options.search_path = true;
    ASSERT_EQ(spawn_process("sh", {"-c", "kill -9 $$"}, options, &p), 0);
    EXPECT_EQ(wait_process(p.pid), -1) << "killed by a signal is no exit status";
    EXPECT_EQ(wait_process(-1), -1);
}

}  // namespace
}  // namespace nd
