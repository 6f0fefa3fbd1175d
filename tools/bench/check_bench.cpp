// Loading a large workspace: `nodrel-tool check` and the in-process repair
// and load, each against a plain read loop over the same files in the same
// run; the peak memory of the check; and one Case save with its fsyncs.
//
// The workspace (1 group x 80 boards x 80 Cases, about 840 MB) is generated
// in a temporary directory at start. ND_BENCH_BOARDS and ND_BENCH_CASES
// scale it down on small machines. All reads are from a warm page cache.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/park_miller.h"
#include "settings/settings.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

extern char** environ;

namespace nd {
namespace {

struct Fixture {
    std::string dir, wk, root;
    std::vector<std::string> files;  // every file the load reads
    double record_bytes = 0;         // bytes of the records the load holds
    double raw_seconds = 0;          // the baseline of this run
    double fresh_seconds = 0;        // the same read into new memory of a new process
};

int env_int(const char* name, int fallback, int max) {
    const char* v = std::getenv(name);
    int n = v ? std::atoi(v) : fallback;
    return n < 1 ? 1 : (n > max ? max : n);
}

Fixture& fixture() {
    static Fixture f = [] {
        Fixture f;
        char tmpl[] = "/tmp/nd_bench_XXXXXX";
        f.dir = mkdtemp(tmpl);
        f.wk = f.dir + "/big.wk";
        f.root = f.dir + "/big/";
        int boards = env_int("ND_BENCH_BOARDS", 80, kMaxBoards);
        int cases = env_int("ND_BENCH_CASES", 80, kMaxCases);
        std::fprintf(stderr, "generating %d boards x %d Cases in %s ...\n", boards, cases,
                     f.dir.c_str());
        seed_random(1);
        set_sync_writes(false);
        WorkspaceSettings ws;
        load_workspace_settings(ws, f.wk, nullptr);
        close_workspace_settings(ws);
        set_workspace_root(f.root);
        load_workspace();
        for (int b = 1; b < boards; ++b) add_board("board", nullptr, 0, -1);
        std::string text(60000, 'x');
        for (int b = 0; b < boards; ++b)
            for (int c = 0; c < cases; ++c) {
                std::lock_guard<std::mutex> hold(StorageLock);
                LocationRef at = create_case("case", make_key(kAttrEvent), 0, b);
                std::memcpy(find_case_body(0, b, at.slot)->text, text.data(), text.size());
                save_case(2, 0, b, at.slot);
            }
        set_sync_writes(true);
        clear_tables();
        // One check settles the workspace (the second open adds two groups),
        // so every measured run does the same work.
        repair_workspace(nullptr);
        load_workspace();
        for (int g = 0; g < kGroupSlots; ++g) {
            if (!Tables.group_boards[g]) continue;
            f.files.push_back(make_path(f.root, kTypeGroup, Tables.groups.keys[g], 0));
            f.record_bytes += sizeof(GroupFile);
            for (int b = 0; b < kBoardSlots; ++b) {
                const Board* bd = find_board(g, b);
                if (!bd) continue;
                f.files.push_back(make_path(f.root, bd->key.type, bd->key, 0));
                f.record_bytes += sizeof(Board);
                for (int s = 0; s < kCaseSlots; ++s) {
                    const CaseRecord* r = find_case(g, b, s);
                    if (!r) continue;
                    f.files.push_back(make_path(f.root, r->key.type, r->key, 0));
                    f.files.push_back(make_path(f.root, r->key.type, r->key, 1));
                    f.record_bytes += sizeof(CaseRecord) + sizeof(CaseBody);
                }
            }
        }
        f.files.push_back(f.root + "0/frame/root.frame");
        f.record_bytes += sizeof(GroupTable);
        clear_tables();
        // The fixture itself is destroyed before atexit handlers registered
        // during its construction run, so the handler keeps its own copy.
        static std::string* scratch = new std::string(f.dir);
        std::atexit([] { std::filesystem::remove_all(*scratch); });
        return f;
    }();
    return f;
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// The baseline: every file the load reads, read whole with a plain loop.
void BM_RawRead(benchmark::State& state) {
    Fixture& f = fixture();
    std::vector<char> buf(65536);
    double total = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        size_t bytes = 0;
        for (const std::string& p : f.files) {
            int fd = ::open(p.c_str(), O_RDONLY);
            ssize_t n;
            while ((n = ::read(fd, buf.data(), buf.size())) > 0) bytes += static_cast<size_t>(n);
            ::close(fd);
        }
        benchmark::DoNotOptimize(bytes);
        total += seconds_since(t0);
    }
    f.raw_seconds = total / static_cast<double>(state.iterations());
    state.counters["files"] = static_cast<double>(f.files.size());
    state.counters["MiB"] = f.record_bytes / 1048576.0;
}
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The plain read loop again, in a new process that keeps every file's bytes
// in memory of its own, as any loader must: the fair baseline for a tool run,
// since fresh memory has to be zeroed by the kernel before it is used.
void BM_RawReadKeepFresh(benchmark::State& state) {
    Fixture& f = fixture();
    double total = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        pid_t pid = fork();
        if (pid == 0) {
            std::vector<char*> kept;
            for (const std::string& p : f.files) {
                char* buf = static_cast<char*>(std::malloc(65536));
                int fd = ::open(p.c_str(), O_RDONLY);
                while (::read(fd, buf, 65536) > 0) {
                }
                ::close(fd);
                kept.push_back(buf);
            }
            _exit(kept.size() == f.files.size() ? 0 : 1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        total += seconds_since(t0);
    }
    f.fresh_seconds = total / static_cast<double>(state.iterations());
    if (f.raw_seconds > 0) state.counters["x_raw"] = f.fresh_seconds / f.raw_seconds;
}
BENCHMARK(BM_RawReadKeepFresh)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The repair pass and the load inside this process.
void BM_RepairAndLoad(benchmark::State& state) {
    Fixture& f = fixture();
    set_workspace_root(f.root);
    double total = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        repair_workspace(nullptr);
        if (load_workspace() != kLoadOk) state.SkipWithError("load failed");
        total += seconds_since(t0);
        state.PauseTiming();
        clear_tables();
        state.ResumeTiming();
    }
    if (f.raw_seconds > 0)
        state.counters["x_raw"] = total / static_cast<double>(state.iterations()) / f.raw_seconds;
}
BENCHMARK(BM_RepairAndLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// `nodrel-tool check PATH.wk` as a user runs it: wall time and peak memory.
void BM_ToolCheck(benchmark::State& state) {
    Fixture& f = fixture();
    double total = 0, peak_kib = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
        const char* argv[] = {ND_TOOL_PATH, "check", f.wk.c_str(), nullptr};
        pid_t pid;
        if (posix_spawn(&pid, ND_TOOL_PATH, &fa, nullptr, const_cast<char**>(argv), environ) != 0)
            state.SkipWithError("cannot start nodrel-tool");
        posix_spawn_file_actions_destroy(&fa);
        int status = 0;
        struct rusage ru;
        wait4(pid, &status, 0, &ru);
        total += seconds_since(t0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("check failed");
        if (ru.ru_maxrss > peak_kib) peak_kib = static_cast<double>(ru.ru_maxrss);
    }
    double records_mib = f.record_bytes / 1048576.0;
    state.counters["peak_MiB"] = peak_kib / 1024.0;
    state.counters["limit_MiB"] = 1.1 * records_mib + 64.0;
    double mean = total / static_cast<double>(state.iterations());
    if (f.raw_seconds > 0) state.counters["x_raw"] = mean / f.raw_seconds;
    if (f.fresh_seconds > 0) state.counters["x_fresh"] = mean / f.fresh_seconds;
}
BENCHMARK(BM_ToolCheck)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One save of record and content (mode 2) with its fsyncs, as the content
// editor does it.
void BM_SaveCaseMode2(benchmark::State& state) {
    Fixture& f = fixture();
    set_workspace_root(f.root);
    clear_tables();
    load_workspace();
    set_sync_writes(true);
    int i = 0;
    for (auto _ : state) {
        std::lock_guard<std::mutex> hold(StorageLock);
        find_case(0, 0, 0)->x = ++i;
        if (save_case(2, 0, 0, 0) != 0) state.SkipWithError("save failed");
    }
    clear_tables();
}
BENCHMARK(BM_SaveCaseMode2)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace nd

BENCHMARK_MAIN();
