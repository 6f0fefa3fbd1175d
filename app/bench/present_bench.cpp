// What showing one frame costs: the screen page (1600 x 900) copied to the
// window, against a plain memcpy of the same pixels measured in the same run.
// Needs a display; run it under tools/testing/with-xvfb.sh. Wall time is used
// because the X server's share of the copy happens outside this process.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "gfx/window/window.h"
#include "gfx/window/window_state.h"

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 900;
constexpr size_t kPixels = size_t{kWidth} * kHeight;

void BM_Memcpy(benchmark::State& state) {
    std::vector<uint32_t> from(kPixels, 0xFF5A5C50);
    std::vector<uint32_t> to(kPixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kPixels * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_Present(benchmark::State& state) {
    if (gfx::headless() || gfx::open_window(kWidth, kHeight, 0x19) != 0 || gfx::headless()) {
        state.SkipWithError("no display: run under tools/testing/with-xvfb.sh");
        return;
    }
    gfx::set_bk_color(0xFF5A5C50);
    gfx::clear_image();
    gfx::pump_window();
    int i = 0;
    for (auto _ : state) {
        // One drawn pixel marks the page as changed, so each pump shows it.
        gfx::put_pixel(i++ % kWidth, 0, 0xFFFFFFFF);
        gfx::pump_window();
    }
    gfx::close_window();
}
BENCHMARK(BM_Present)->UseRealTime()->Unit(benchmark::kMicrosecond);

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.iterations == 0 || r.error_occurred) continue;
            m_seconds[r.run_name.function_name] = r.real_accumulated_time / r.iterations;
            m_cpu[r.run_name.function_name] = r.cpu_accumulated_time / r.iterations;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void print_summary() const {
        auto base = m_seconds.find("BM_Memcpy");
        auto present = m_seconds.find("BM_Present");
        if (base == m_seconds.end() || present == m_seconds.end()) return;
        const double cpu = m_cpu.at("BM_Present");
        std::printf(
            "\none frame present (1600x900): %.2f ms wall (%.1f x memcpy of the page), "
            "%.2f ms processor time in this process\n",
            present->second * 1e3, present->second / base->second, cpu * 1e3);
        std::printf("at 30 fps with a redraw every frame: %.1f%% of one core in this process\n",
                    cpu * 30 * 100);
    }

private:
    std::map<std::string, double> m_seconds;
    std::map<std::string, double> m_cpu;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print_summary();
    benchmark::Shutdown();
    return 0;
}
