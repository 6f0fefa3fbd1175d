// The board's frame: a full frame at 1600 x 900 with 80 title cards and the
// top card's 70 links, against memcpy of one frame measured in the same run
// and against the 16.7 ms budget of 60 fps; an idle frame, with the heap
// allocations it makes counted; and the memory 40 font records take.
//
// The workspace is made in a temporary directory at start.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "base/testing/temp_dir.h"
#include "board/board_switch.h"
#include "board/frame.h"
#include "board/keyboard.h"
#include "board/left_bar.h"
#include "board/main_view.h"
#include "board/pointer.h"
#include "board/sort_view.h"
#include "board/testing/scene.h"
#include "board/texts.h"
#include "gfx/blend.h"
#include "gfx/font.h"
#include "gfx/gfx.h"
#include "gfx/window/window.h"
#include "session/workspace.h"
#include "settings/settings.h"
#include "skins/pictures.h"
#include "skins/skin.h"
#include "store/cases.h"
#include "store/locks.h"
#include "store/tables.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

// Every heap allocation of the process is counted, so an idle frame that
// allocates shows. (The replacements pair malloc with free themselves.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// Pictures are made with the nothrow form.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

namespace {

constexpr int kW = 1600, kH = 900;
constexpr int64_t kFrameBytes = int64_t{kW} * kH * 4;
constexpr double kBudgetSeconds = 1.0 / 60;

struct Board {
    nd::testing::TempDir temp{"nd_frame_bench"};
    nd::App app;
    gfx::IMAGE* canvas = nullptr;
    nd::MainViewState* view = nullptr;

    Board() {
        nd::set_sync_writes(false);
        nd::install_skin_pictures();
        nd::set_current_skin(nd::kSkinBlack);
        nd::default_config(nd::program_config());
        // 80 title cards in ten rows of eight; the first links to 70 others.
        if (!nd::testing::make_scene(temp / "Bench.wk", nd::testing::full_board(80),
                                     nd::testing::links_from_first(70))) {
            std::abort();
        }
        canvas = gfx::new_image(kW, kH);
        view = nd::create_picture_view(app, canvas, 0, 0);
        nd::make_all_cards(*view);
        nd::compose_frame(*view);
    }
};

Board& board() {
    static Board b;
    return b;
}

// A workspace to organise: 80 categories, the first holding 80 cards; the
// left bar lists them all. Card 0 reaches 99 other Cases through links
// (79 on its board, 20 on the second), the cluster the sorting view shows.
struct Organised {
    nd::testing::TempDir temp{"nd_frame_bench_organised"};
    nd::App app;
    gfx::IMAGE* canvas = nullptr;
    nd::MainViewState* view = nullptr;

    Organised() {
        std::vector<nd::testing::SceneLink> links;
        for (int to = 1; to < 70; ++to) links.push_back({0, to});
        for (int to = 70; to < 80; ++to) links.push_back({1, to});
        if (!nd::testing::make_scene(temp / "Organised.wk", nd::testing::full_board(80), links, 79,
                                     1)) {
            std::abort();
        }
        for (int board = 1; board <= 20; ++board) {
            const nd::CaseRecord* there = nd::find_case(0, board, 0);
            nd::CaseRecord* from = nd::find_case(0, 0, 2);
            if (!there || !from || !nd::add_link(*from, there->key, {0, 0, board, 0}, false)) std::abort();
        }
        canvas = gfx::new_image(kW, kH);
        view = nd::create_picture_view(app, canvas, 0, 0);
        nd::make_all_cards(*view);
        nd::install_left_bar(*view);
        nd::compose_frame(*view);
    }

    // Shows or hides the panel `id`.
    void show(int id, bool shown) {
        if (nd::ui::Panel* panel = nd::ui::panel_find(&nd::view_state().panels, id))
            panel->visible = shown;
    }
};

Organised& organised() {
    static Organised o;
    return o;
}

// The full frame of the organised board with one panel shown and every
// other panel hidden, or (id 0) with none.
void organised_frame(benchmark::State& state, int shown) {
    Organised& o = organised();
    if (shown == nd::kPanelListView) nd::open_sort_view(*o.view, o.view->cards[0].ref);
    for (int id : {nd::kPanelLeftBar, nd::kPanelColourSwitches, nd::kPanelListView})
        o.show(id, id == shown || (shown == nd::kPanelLeftBar && id == nd::kPanelColourSwitches));
    for (auto _ : state) {
        nd::request_redraw(*o.view);
        nd::compose_frame(*o.view);
        benchmark::ClobberMemory();
    }
    if (shown == nd::kPanelListView) state.counters["cluster"] = nd::sort_view_state().columns.total();
}

void BM_OrganisedFrame(benchmark::State& state) {
    organised_frame(state, 0);
}
BENCHMARK(BM_OrganisedFrame)->Unit(benchmark::kMicrosecond);

void BM_LeftBarFrame(benchmark::State& state) {
    organised_frame(state, nd::kPanelLeftBar);
}
BENCHMARK(BM_LeftBarFrame)->Unit(benchmark::kMicrosecond);

void BM_SortViewFrame(benchmark::State& state) {
    organised_frame(state, nd::kPanelListView);
}
BENCHMARK(BM_SortViewFrame)->Unit(benchmark::kMicrosecond);

void BM_Memcpy(benchmark::State& state) {
    std::vector<uint32_t> a(size_t(kW) * kH, 1), b(size_t(kW) * kH, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), size_t(kFrameBytes));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);

void BM_FullFrame(benchmark::State& state) {
    Board& b = board();
    for (auto _ : state) {
        nd::request_redraw(*b.view);
        nd::compose_frame(*b.view);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullFrame)->Unit(benchmark::kMicrosecond);

// What the frame loop does for the board on a frame without input: the
// hot keys, the pointer input and the renderer, which finds nothing new.
void BM_IdleFrame(benchmark::State& state) {
    Board& b = board();
    nd::compose_frame(*b.view);
    const long before = g_allocations.load();
    long frames = 0;
    for (auto _ : state) {
        nd::keyboard_step(*b.view);
        nd::pointer_step(*b.view);
        nd::compose_frame(*b.view);
        ++frames;
    }
    state.counters["allocations_per_frame"] =
        double(g_allocations.load() - before) / double(frames ? frames : 1);
}
BENCHMARK(BM_IdleFrame)->Unit(benchmark::kNanosecond);

long resident_kib() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
    }
    return 0;
}

// Forty records as the interface uses them: the main face at twelve
// heights, some bold, the content face and the number face.
double font_records_mib() {
    const long before = resident_kib();
    for (int i = 0; i < 40; ++i) {
        gfx::FontRecord r{};
        const char* face = i < 28 ? nd::texts::kYaHei : i < 34 ? nd::texts::kSimSun : "Consolas";
        std::memcpy(r.face, face, std::strlen(face));
        r.height = 12 + (i % 12) * 3;
        r.weight = i % 4 == 0 ? 700 : 0;
        gfx::detail::face_for(r);
    }
    return double(resident_kib() - before) / 1024.0;
}

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
            seconds_[r.run_name.function_name] = r.cpu_accumulated_time / double(r.iterations);
            for (const auto& [name, counter] : r.counters) counters_[name] = counter.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void print_summary(double font_mib) const {
        const double memcpy_s = get("BM_Memcpy"), full = get("BM_FullFrame");
        const double idle = get("BM_IdleFrame");
        std::printf("\nblend kernels: %s\n", gfx::detail::blend_kernels().name);
        std::printf("full frame 1600x900, 80 cards, 70 links: %8.3f ms = %.3f of the 16.7 ms "
                    "budget = %.1f x memcpy of a frame (%.3f ms)\n",
                    full * 1e3, full / kBudgetSeconds, full / memcpy_s, memcpy_s * 1e3);
        std::printf("idle frame: %.2f us, %.2f allocations per frame\n", idle * 1e6,
                    counters_.count("allocations_per_frame") ? counters_.at("allocations_per_frame")
                                                             : -1.0);
        std::printf("40 font records: %.1f MiB resident\n", font_mib);
        const double bare = get("BM_OrganisedFrame");
        std::printf("left bar, 80 categories and 80 Cases: +%.3f ms a frame (%.3f ms against "
                    "%.3f ms without it)\n",
                    (get("BM_LeftBarFrame") - bare) * 1e3, get("BM_LeftBarFrame") * 1e3, bare * 1e3);
        std::printf("sorting view of a %d-Case cluster: +%.3f ms a frame (%.3f ms)\n",
                    counters_.count("cluster") ? int(counters_.at("cluster")) : -1,
                    (get("BM_SortViewFrame") - bare) * 1e3, get("BM_SortViewFrame") * 1e3);
        std::printf("targets: full frame <= 0.25 of the budget, idle frames allocate nothing, "
                    "the left bar and the sorting view each add <= 1 ms\n");
    }

private:
    double get(const std::string& name) const {
        auto it = seconds_.find(name);
        return it == seconds_.end() ? 0.0 : it->second;
    }
    std::map<std::string, double> seconds_;
    std::map<std::string, double> counters_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // Fonts first, on a fresh process, so the figure is theirs alone.
    const double font_mib = font_records_mib();
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_summary(font_mib);
    benchmark::Shutdown();
    return 0;
}
