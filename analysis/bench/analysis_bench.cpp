// The analysis views against their budgets, each beside a baseline measured
// in the same run:
// - search over every board of the storage bench's workspace (1 group x 80
//   boards x 80 Cases, titles "case", 60,000 bytes of content each) against
//   memmem over the same bytes, at several numbers of matches;
// - the report of a 100-member cluster, and a timeline frame with 6,400
//   entries, as fractions of the 16.7 ms frame budget.
//
// The workspace is built in memory: search reads only the loaded tables.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "analysis/case_icons.h"
#include "analysis/links.h"
#include "analysis/report.h"
#include "analysis/report_draw.h"
#include "analysis/report_layout.h"
#include "analysis/search.h"
#include "analysis/timeline.h"
#include "analysis/timeline_draw.h"
#include "skins/pictures.h"
#include "store/tables.h"

namespace nd {
namespace {

constexpr int kBoards = 80, kCases = 80, kContent = 60000;
constexpr double kFrameMs = 1000.0 / 60.0;

// What the Cases hold, per scenario; the query is the same in every one.
enum Fill {
    kPlain,
    kEveryTitle,
    kContentEndOneInHundred,
    kContentEndAll,
    kAttachmentAll,
    kGbkRuns
};

struct Workspace {
    Fill fill = kPlain;
    void build(Fill f) {
        fill = f;
        clear_tables();
        Tables.group_boards[0] = std::make_unique<GroupBoards>();
        for (int b = 0; b < kBoards; ++b) {
            auto& bd = Tables.group_boards[0]->boards[b];
            bd = std::make_unique<Board>();
            std::memset(bd.get(), 0, sizeof(Board));
            CaseRow& row = case_row(0, b);
            for (int s = 0; s < kCases; ++s) {
                row.slots[s].record = new_case_record();
                row.slots[s].body = new_case_body();
                CaseRecord& r = *row.slots[s].record;
                CaseBody& body = *row.slots[s].body;
                std::memset(&r, 0, sizeof r);
                std::memset(&body, 0, sizeof body);
                r.key = RecordKey{kAttrEvent,
                                  0,
                                  uint8_t(s % 60),
                                  uint16_t(b * kCases + s),
                                  0,
                                  0,
                                  2024,
                                  1,
                                  uint8_t(1 + b / 24),
                                  uint8_t(b % 24),
                                  uint8_t(s / 60)};
                std::strcpy(r.title, f == kEveryTitle ? "case needle" : "case");
                if (f == kGbkRuns) {
                    // "中文" over and over: every second byte pair spells 形.
                    for (int i = 0; i + 4 <= kContent; i += 4)
                        std::memcpy(body.text + i, "\xD6\xD0\xCE\xC4", 4);
                } else {
                    std::memset(body.text, 'x', kContent);
                }
                bool at_end = f == kContentEndAll ||
                              (f == kContentEndOneInHundred && (b * kCases + s) % 100 == 0);
                if (at_end) std::memcpy(body.text + kContent - 6, "needle", 6);
                if (f == kAttachmentAll) {
                    r.attachments[0].kind = kAttachImage;
                    std::strcpy(r.attachments[0].name, "0000ABCD.jpg");
                    std::strcpy(r.attachments[0].path, "1\\img\\2024\\needle\\0000ABCD.jpg");
                }
            }
        }
    }
};

Workspace& workspace(Fill f) {
    static Workspace w;
    if (w.fill != f || !Tables.group_boards[0]) w.build(f);
    return w;
}

std::string query_of(Fill f) {
    return f == kGbkRuns ? "\xD0\xCE" : "needle";  // 形
}

// The baseline: memmem over the same fields in the same order, each Case
// stopping at its first hit as the search does.
int memmem_pass(const std::string& q) {
    int found = 0;
    for (int b = 0; b < kBoards; ++b)
        for (int s = 0; s < kCases; ++s) {
            const CaseRecord* r = find_case(0, b, s);
            const CaseBody* body = find_case_body(0, b, s);
            auto has = [&](const char* field, size_t width) {
                return memmem(field, strnlen(field, width), q.data(), q.size()) != nullptr;
            };
            bool hit = has(r->title, sizeof r->title) || has(body->text, sizeof body->text);
            for (int a = 0; !hit && a < kAttachmentSlots; ++a)
                if (r->attachments[a].kind != kAttachFree)
                    hit = has(r->attachments[a].name, 256) || has(r->attachments[a].path, 256);
            found += hit;
        }
    return found;
}

// For the GBK runs memmem stops at the first (false) pair, so the fair
// baseline walks every occurrence, as a boundary-checked search must.
int memmem_all_pass(const std::string& q) {
    int found = 0;
    for (int b = 0; b < kBoards; ++b)
        for (int s = 0; s < kCases; ++s) {
            const CaseBody* body = find_case_body(0, b, s);
            const char* p = body->text;
            const char* end = p + strnlen(p, sizeof body->text);
            while (const void* hit = memmem(p, size_t(end - p), q.data(), q.size())) {
                ++found;
                p = static_cast<const char*>(hit) + 1;
            }
        }
    return found;
}

std::map<int, double> g_baseline_ms;

// Figures are the thread's processor time: the machines these run on are
// shared, and wall time there measures the neighbours as much as the code.
double cpu_ms() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void BM_Memmem(benchmark::State& state) {
    const Fill f = Fill(state.range(0));
    workspace(f);
    const std::string q = query_of(f);
    double total = 0;
    int found = 0;
    for (auto _ : state) {
        const double t0 = cpu_ms();
        found = f == kGbkRuns ? memmem_all_pass(q) : memmem_pass(q);
        benchmark::DoNotOptimize(found);
        total += cpu_ms() - t0;
    }
    g_baseline_ms[f] = total / double(state.iterations());
    state.counters["matches"] = found;
}

void BM_Search(benchmark::State& state) {
    const Fill f = Fill(state.range(0));
    workspace(f);
    const std::string q = query_of(f);
    std::vector<SearchResult> results;
    results.reserve(kBoards * kCases);
    double total = 0;
    for (auto _ : state) {
        const double t0 = cpu_ms();
        results.clear();
        search_boards(q, 0, -1, results);
        benchmark::DoNotOptimize(results.data());
        total += cpu_ms() - t0;
    }
    const double ms = total / double(state.iterations());
    state.counters["results"] = double(results.size());
    if (g_baseline_ms.count(f)) state.counters["x_memmem"] = ms / g_baseline_ms[f];
}

void search_args(benchmark::internal::Benchmark* b) {
    for (Fill f :
         {kPlain, kEveryTitle, kContentEndOneInHundred, kContentEndAll, kAttachmentAll, kGbkRuns})
        b->Arg(f);
}
BENCHMARK(BM_Memmem)->Apply(search_args)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Search)->Apply(search_args)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// A cluster of 100 Cases, each linked both ways to the next ten (tight every
// third), holding 30 resources over 40 names; the subject reaches all.
void build_cluster() {
    clear_tables();
    Tables.group_boards[0] = std::make_unique<GroupBoards>();
    for (int b = 0; b < 2; ++b) {
        Tables.group_boards[0]->boards[b] = std::make_unique<Board>();
        std::memset(Tables.group_boards[0]->boards[b].get(), 0, sizeof(Board));
    }
    std::vector<CaseRecord*> all;
    for (int i = 0; i < 100; ++i) {
        CaseSlot& slot = case_row(0, i / 80).slots[i % 80];
        slot.record = new_case_record();
        slot.body = new_case_body();
        CaseRecord& r = *slot.record;
        std::memset(&r, 0, sizeof r);
        std::snprintf(r.title, sizeof r.title, "Case %d", i);
        r.key = RecordKey{kAttrEvent,      0, uint8_t(i % 60), uint16_t(i), 0, 0, 2024, 1, 1,
                          uint8_t(i / 60), 0};
        static constexpr uint16_t kKinds[5] = {kKindPerson, kKindObject, kKindEvent, kKindNone,
                                               kKindTask};
        r.kind = kKinds[i % 5];
        r.colour = uint8_t(i % 4);
        r.importance = uint16_t(i % 5);
        r.difficulty = uint16_t(i % 3);
        r.cognition = uint16_t(i % 3);
        r.resource_count = kMaxResources;
        for (int k = 0; k < kMaxResources; ++k) {
            std::snprintf(r.resource_names[k], 16, "res%d", (i + k) % 40);
            r.resource_values[k] = k + i;
        }
        all.push_back(&r);
    }
    auto link = [&](int from, int to, bool tight) {
        CaseRecord& a = *all[size_t(from)];
        if (!add_link(a, all[size_t(to)]->key, LocationRef{0, 0, to / 80, to % 80}, tight)) {
            std::fprintf(stderr, "analysis bench: a Case holds too many links\n");
            std::exit(1);
        }
    };
    for (int i = 0; i < 100; ++i)
        for (int k = 1; k <= 10; ++k) {
            int j = (i + k) % 100;
            link(i, j, (i + j) % 3 == 0);
            link(j, i, (i + j) % 3 == 0);
        }
}

void report_counters(benchmark::State& state, double total_ms) {
    const double ms = total_ms / double(state.iterations());
    state.counters["ms"] = ms;
    state.counters["x_frame"] = ms / kFrameMs;
}

void BM_ReportFigures(benchmark::State& state) {
    build_cluster();
    Report r;
    double total = 0;
    for (auto _ : state) {
        const double t0 = cpu_ms();
        if (build_report(LocationRef{0, 0, 0, 0}, r) != kReportOk)
            state.SkipWithError("no subject");
        benchmark::DoNotOptimize(r.members.data());
        total += cpu_ms() - t0;
    }
    state.counters["members"] = double(r.members.size());
    report_counters(state, total);
}
BENCHMARK(BM_ReportFigures)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// Opening the report: the figures and the layout of all seven pages.
void BM_ReportOpen(benchmark::State& state) {
    build_cluster();
    Report r;
    PageLayout pages[kReportPages];
    double total = 0;
    for (auto _ : state) {
        const double t0 = cpu_ms();
        (void)build_report(LocationRef{0, 0, 0, 0}, r);
        for (int p = 1; p <= kReportPages; ++p) layout_report_page(r, p, 1000, pages[p - 1]);
        total += cpu_ms() - t0;
    }
    report_counters(state, total);
}
BENCHMARK(BM_ReportOpen)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// One frame of the report window: page 1 or 2 of the cluster drawn into a
// 1000 x 700 view.
void BM_ReportFrame(benchmark::State& state) {
    build_cluster();
    install_skin_pictures();
    Report r;
    (void)build_report(LocationRef{0, 0, 0, 0}, r);
    PageLayout layout;
    layout_report_page(r, int(state.range(0)), 1000, layout);
    CaseIcons icons;
    load_case_icons(icons);
    gfx::IMAGE* canvas = gfx::new_image(1600, 900);
    double total = 0;
    for (auto _ : state) {
        const double t0 = cpu_ms();
        draw_report_page(r, layout, ReportView{100, 100, 1000, 700, 0, 0}, ReportHover{0, 0}, icons,
                         canvas);
        total += cpu_ms() - t0;
    }
    report_counters(state, total);
    gfx::delete_image(canvas);
    free_case_icons(icons);
}
BENCHMARK(BM_ReportFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// A frame of the strip over the 6,400 Cases, the middle one selected with
// ten links, every tenth entry pulsing, the pointer over an entry.
void BM_TimelineFrame(benchmark::State& state) {
    workspace(kPlain);
    install_skin_pictures();
    CaseRecord* sel = find_case(0, 40, 0);
    for (int k = 0; k < 10; ++k) {
        const CaseRecord* t = find_case(0, 40 + k / 5, 1 + k);
        sel->link_keys[k] = t->key;
        sel->link_locations[k] = LocationRef{0, 0, 40 + k / 5, 1 + k};
    }
    sel->link_count = 10;
    Timeline t;
    timeline_select(t, sel->key);
    for (size_t i = 0; i < t.entries.size(); i += 10) t.entries[i].importance = 3.5;
    const StripRect strip{0, 830, 1600};
    timeline_pointer(t, strip, 520, 830 + kEntryY - kRaise + 2);
    TimelinePictures pictures;
    load_timeline_pictures(pictures);
    gfx::IMAGE* canvas = gfx::new_image(1600, 900);
    double total = 0;
    for (auto _ : state) {
        const double t0 = cpu_ms();
        timeline_draw(t, strip, 0, 100, pictures, canvas);
        timeline_step(t);
        total += cpu_ms() - t0;
    }
    sel->link_count = 0;
    state.counters["entries"] = double(t.entries.size());
    report_counters(state, total);
    gfx::delete_image(canvas);
    free_timeline_pictures(pictures);
}
BENCHMARK(BM_TimelineFrame)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

// Selecting a Case rebuilds the strip's 6,400 entries: not every frame, but
// on a click.
void BM_TimelineSelect(benchmark::State& state) {
    workspace(kPlain);
    const RecordKey a = find_case(0, 10, 0)->key, b = find_case(0, 70, 5)->key;
    Timeline t;
    bool flip = false;
    double total = 0;
    for (auto _ : state) {
        const double t0 = cpu_ms();
        timeline_select(t, (flip = !flip) ? a : b);
        total += cpu_ms() - t0;
    }
    report_counters(state, total);
}
BENCHMARK(BM_TimelineSelect)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace
}  // namespace nd

BENCHMARK_MAIN();
