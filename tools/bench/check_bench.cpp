// Loading a large workspace: `nodrel-tool check` and the in-process repair
// and load, each against a plain read loop over the same files in the same
// run; the peak memory of the check; one Case save with its fsyncs; and the
// stale links of a load, found through the index against a walk.
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

// Stale links at load: 70 links on each of 6,400 Cases whose target moved to
// another slot, pointed at where the target is now. The tables are filled in
// memory only (the check reads nothing from disk). The baseline is the way
// targets were found before the index: a walk over every table row for each
// stale link, kept here as `walk_find` and timed on the links of one Case of
// each board.
constexpr int kLinkBoards = 80, kLinkCases = 80;

void fill_link_tables() {
    clear_tables();
    for (int b = 0; b < kLinkBoards; ++b)
        for (int s = 0; s < kLinkCases; ++s) {
            CaseRecordPtr rec = new_case_record();
            std::memset(rec.get(), 0, sizeof(CaseRecord));
            rec->key = make_key_at(kAttrEvent, 1700000000 + b * kLinkCases + s);
            rec->key.serial = static_cast<uint16_t>(b * kLinkCases + s);
            case_row(0, b).slots[s].record = std::move(rec);
        }
    for (int b = 0; b < kLinkBoards; ++b)
        for (int s = 0; s < kLinkCases; ++s) {
            CaseRecord& rec = *find_case(0, b, s);
            rec.link_count = kMaxLinks;
            for (int l = 0; l < kMaxLinks; ++l) {
                int t = (b * kLinkCases + s + 1 + l) % (kLinkBoards * kLinkCases);
                rec.link_keys[l] = find_case(0, t / kLinkCases, t % kLinkCases)->key;
                // Every target one slot off: each link is stale.
                rec.link_locations[l] = {0, 0, t / kLinkCases, (t % kLinkCases + 1) % kLinkCases};
            }
        }
}

void make_links_stale() {
    for (int b = 0; b < kLinkBoards; ++b)
        for (int s = 0; s < kLinkCases; ++s) {
            CaseRecord& rec = *find_case(0, b, s);
            for (int l = 0; l < kMaxLinks; ++l) {
                LocationRef& at = rec.link_locations[l];
                at.slot = (at.slot + 1) % kLinkCases;
            }
        }
}

bool walk_find(const RecordKey& key, LocationRef& where) {
    for (int g = 0; g < kGroupSlots; ++g)
        for (int b = 0; b < kBoardSlots; ++b) {
            const CaseRow* row = Tables.case_rows[g][b].get();
            if (!row) continue;
            for (int s = 0; s < kCaseSlots; ++s) {
                const CaseRecord* r = row->slots[s].record.get();
                if (r && same_item(r->key, key) && (r->key.type & 0x7FFF) == (key.type & 0x7FFF)) {
                    where = {0, g, b, s};
                    return true;
                }
            }
        }
    return false;
}

double g_walk_ns_per_link = 0;

void BM_StaleLinksByWalk(benchmark::State& state) {
    fill_link_tables();
    double total = 0;
    size_t links = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        // The first Case of every board: targets all over the tables.
        for (int b = 0; b < kLinkBoards; ++b) {
            const CaseRecord& rec = *find_case(0, b, 0);
            for (int l = 0; l < kMaxLinks; ++l) {
                LocationRef where;
                benchmark::DoNotOptimize(walk_find(rec.link_keys[l], where));
                ++links;
            }
        }
        total += seconds_since(t0);
    }
    g_walk_ns_per_link = total * 1e9 / static_cast<double>(links);
    state.counters["ns_per_link"] = g_walk_ns_per_link;
    state.counters["all_links_s"] =
        g_walk_ns_per_link * kLinkBoards * kLinkCases * kMaxLinks / 1e9;
    clear_tables();
}
BENCHMARK(BM_StaleLinksByWalk)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_StaleLinksByIndex(benchmark::State& state) {
    fill_link_tables();
    double total = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        CaseIndex index;
        index.build();
        int changed = 0;
        for (int b = 0; b < kLinkBoards; ++b)
            for (int s = 0; s < kLinkCases; ++s) changed += check_links(0, b, s, index);
        total += seconds_since(t0);
        if (changed != kLinkBoards * kLinkCases * kMaxLinks) state.SkipWithError("not all stale");
        state.PauseTiming();
        make_links_stale();
        state.ResumeTiming();
    }
    double ns = total * 1e9 / static_cast<double>(state.iterations()) /
                (kLinkBoards * kLinkCases * kMaxLinks);
    state.counters["ns_per_link"] = ns;
    if (g_walk_ns_per_link > 0) state.counters["x_walk"] = ns / g_walk_ns_per_link;
    clear_tables();
}
BENCHMARK(BM_StaleLinksByIndex)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace nd

BENCHMARK_MAIN();
