// The content editor on a full document (65,499 bytes: Chinese and ASCII
// lines, file and image attachments): laying it out, one keystroke's edit
// with its re-layout and undo snapshot, the snapshot alone and a frame's
// drawing. The summary prints each as a share of the 16.7 ms frame, and the
// snapshot against copying the Case's two records, measured in the same run.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "content/draw.h"
#include "content/editor.h"
#include "store/tables.h"

namespace nd::content {
namespace {

constexpr double kFrameSeconds = 1.0 / 60;
constexpr int kFullLength = 65499;

// Processor seconds per iteration of each benchmark's timed loop, for the
// summary; processor time, so other work on a shared machine does not skew
// the shares.
std::map<std::string, double> g_seconds;

double thread_seconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

void keep(const char* name, const benchmark::State& state, double start) {
    if (state.iterations() > 0)
        g_seconds[name] = (thread_seconds() - start) / double(state.iterations());
}

class BenchPreviews final : public PreviewSource {
public:
    int load_preview(const std::string&, gfx::IMAGE** out) override {
        *out = gfx::new_image(160, 120);
        return kPreviewOk;
    }
};

struct Bench {
    BenchPreviews previews;
    EditorEnv env;
    EditorState editor;
    gfx::IMAGE* canvas = gfx::new_image(800, 600);

    Bench() {
        set_workspace_root("/nonexistent/");
        CaseSlot& slot = case_row(0, 0).slots[0];
        slot.record = new_case_record();
        slot.body = new_case_body();
        std::memset(slot.record.get(), 0, sizeof(CaseRecord));
        std::memset(slot.body.get(), 0, sizeof(CaseBody));
        CaseRecord& r = *slot.record;
        // 20 files and 5 pictures among lines of 28 Chinese characters and of
        // 60 ASCII characters, up to the typing limit.
        std::string text;
        for (int i = 0; text.size() + 80 < static_cast<size_t>(kFullLength); ++i) {
            if (i % 12 == 5 && i / 12 < 25) {
                int s = i / 12;
                r.attachments[s].kind = s < 5 ? kAttachImage : kAttachFile;
                std::snprintf(r.attachments[s].name, 256, "attachment%02d", s);
                std::snprintf(r.attachments[s].path, 256, "1\\img\\2024\\01\\02\\p%02d.jpg", s);
                char marker[12];
                std::snprintf(marker, sizeof marker, "%s%02d\n", s < 5 ? "**img:" : "**fle:", s);
                text += marker;
            } else if (i % 2) {
                for (int k = 0; k < 28; ++k) text += "\xD6\xD0";  // 中
                text += '\n';
            } else {
                text += std::string(60, 'a' + i % 26) + '\n';
            }
        }
        text.resize(kFullLength - 3, 'z');
        text += "\n\n\n";
        std::memcpy(slot.body->text, text.data(), text.size());
        env.root = "/nonexistent/";
        env.previews = &previews;
        CaseRef ref{0, 0, 0, r.key};
        if (editor_open(editor, env, ref, editor_metrics(800, 600, 8, 18)) != 0) std::abort();
    }
};

Bench& bench() {
    static Bench* b = new Bench;
    return *b;
}

// The baselines: the Case's two records copied between two fixed buffers,
// and copied into a history of 100 places like the undo ring's, where every
// copy lands in memory the caches have not seen lately.
void BM_CopyTwoRecords(benchmark::State& state) {
    auto from = std::make_unique<char[]>(2 * 65536), to = std::make_unique<char[]>(2 * 65536);
    std::memset(from.get(), 1, 2 * 65536);
    const double start = thread_seconds();
    for (auto _ : state) {
        std::memcpy(to.get(), from.get(), 2 * 65536);
        benchmark::ClobberMemory();
    }
    keep("copy", state, start);
}
BENCHMARK(BM_CopyTwoRecords)->Unit(benchmark::kMicrosecond);

void BM_CopyTwoRecordsIntoHistory(benchmark::State& state) {
    constexpr size_t kPair = 2 * 65536;
    auto from = std::make_unique<char[]>(kPair), ring = std::make_unique<char[]>(100 * kPair);
    std::memset(from.get(), 1, kPair);
    std::memset(ring.get(), 0, 100 * kPair);
    size_t next = 0;
    const double start = thread_seconds();
    for (auto _ : state) {
        std::memcpy(ring.get() + next * kPair, from.get(), kPair);
        next = (next + 1) % 100;
        benchmark::ClobberMemory();
    }
    keep("history", state, start);
}
BENCHMARK(BM_CopyTwoRecordsIntoHistory)->Unit(benchmark::kMicrosecond);

void BM_LayoutFull(benchmark::State& state) {
    Bench& b = bench();
    const double start = thread_seconds();
    for (auto _ : state) {
        lay_out(b.editor.doc, b.env.root, b.editor.metrics, b.editor.previews, b.previews,
                LayoutMode::kNormal, b.editor.layout);
        benchmark::ClobberMemory();
    }
    keep("layout", state, start);
    state.counters["lines"] = b.editor.layout.line_count;
}
BENCHMARK(BM_LayoutFull)->Unit(benchmark::kMicrosecond);

// A character typed at the very start (every byte after it moves) and
// taken back by Backspace: two keystrokes per iteration, each an edit, a
// re-layout and an undo snapshot, on a document at the typing limit.
void BM_Keystroke(benchmark::State& state) {
    Bench& b = bench();
    editor_key(b.editor, kKeyHome, kModCtrl);
    const double start = thread_seconds();
    for (auto _ : state) {
        editor_key(b.editor, 'x');
        editor_key(b.editor, kKeyBackspace);
    }
    keep("keystroke", state, start);
    if (b.editor.layout.length != kFullLength) state.SkipWithError("the document changed size");
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

void BM_Snapshot(benchmark::State& state) {
    Bench& b = bench();
    const double start = thread_seconds();
    for (auto _ : state) {
        b.editor.undo.record(*b.editor.doc.record, *b.editor.doc.body, b.editor.caret);
        benchmark::ClobberMemory();
    }
    keep("snapshot", state, start);
}
BENCHMARK(BM_Snapshot)->Unit(benchmark::kMicrosecond);

void BM_DrawEditor(benchmark::State& state) {
    Bench& b = bench();
    EditorColors colours = editor_colors(0);
    const double start = thread_seconds();
    for (auto _ : state) {
        editor_draw(b.editor, colours, true, b.canvas, Rect{0, 0, 800, 600});
        benchmark::ClobberMemory();
    }
    keep("draw", state, start);
}
BENCHMARK(BM_DrawEditor)->Unit(benchmark::kMicrosecond);

void print_summary() {
    auto get = [](const char* name) {
        auto it = g_seconds.find(name);
        return it == g_seconds.end() ? 0.0 : it->second;
    };
    std::printf("\n%-22s %12s %16s\n", "operation", "us", "share of frame");
    const struct {
        const char* name;
        double seconds;
    } rows[] = {{"layout, full document", get("layout")},
                {"keystroke + re-layout", get("keystroke") / 2},
                {"undo snapshot", get("snapshot")},
                {"draw 800 x 600", get("draw")}};
    for (const auto& r : rows)
        std::printf("%-22s %12.1f %16.4f\n", r.name, r.seconds * 1e6, r.seconds / kFrameSeconds);
    double copy = get("copy"), history = get("history");
    if (copy > 0 && history > 0)
        std::printf(
            "undo snapshot = %.2f x copying the Case's two records between two buffers,\n"
            "                %.2f x copying them into a 100-place history (target <= 1)\n",
            get("snapshot") / copy, get("snapshot") / history);
    std::printf("target: keystroke + re-layout <= 0.1 of the frame\n");
}

}  // namespace
}  // namespace nd::content

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    nd::content::print_summary();
    benchmark::Shutdown();
    return 0;
}
