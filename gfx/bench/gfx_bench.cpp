// Throughput of the blends, the blur and a cached line of text, each set
// against memcpy of the same bytes measured in the same run. After the usual
// table a summary prints Mpixel/s and the ratio to memcpy.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "gfx/blend.h"
#include "gfx/gfx.h"

namespace {

constexpr int kW = 1920, kH = 1080;
constexpr int64_t kPixels = int64_t{kW} * kH;

// 20 characters of Chinese, GBK: 测试中文文本的渲染效果和宽度测量是否正确
const char kLine[] =
    "\xB2\xE2\xCA\xD4\xD6\xD0\xCE\xC4\xCE\xC4\xB1\xBE\xB5\xC4\xE4\xD6\xC8\xBE\xD0\xA7"
    "\xB9\xFB\xBA\xCD\xBF\xED\xB6\xC8\xB2\xE2\xC1\xBF\xCA\xC7\xB7\xF1\xD5\xFD\xC8\xB7";
const char kYaHei[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";  // 微软雅黑

struct Frames {
    gfx::IMAGE* src;
    gfx::IMAGE* dst;
    Frames() : src(gfx::new_image(kW, kH)), dst(gfx::new_image(kW, kH)) {
        std::mt19937 rng(7);
        for (auto& p : src->pixels) p = rng();
        // A quarter of the source is the key colour, as in skin pictures.
        for (size_t i = 0; i < src->pixels.size(); i += 4) src->pixels[i] = 0xFF000000u;
        for (auto& p : dst->pixels) p = rng();
    }
};

Frames& frames() {
    static Frames f;
    return f;
}

void BM_Memcpy(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        std::memcpy(f.dst->pixels.data(), f.src->pixels.data(), kPixels * 4);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);

void BM_AlphaBlend(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        gfx::putimage_alphablend(f.dst, f.src, 0, 0, 128);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
    state.SetLabel(gfx::detail::blend_kernels().name);
}
BENCHMARK(BM_AlphaBlend)->Unit(benchmark::kMicrosecond);

void BM_AlphaBlendScalar(benchmark::State& state) {
    Frames& f = frames();
    const auto row = gfx::detail::scalar_kernels().constant;
    for (auto _ : state) {
        for (int y = 0; y < kH; ++y) {
            row(&f.dst->pixels[size_t{1} * y * kW], &f.src->pixels[size_t{1} * y * kW], kW, 128);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_AlphaBlendScalar)->Unit(benchmark::kMicrosecond);

void BM_SrcAlpha(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        gfx::putimage_srcalpha(f.dst, f.src, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
    state.SetLabel(gfx::detail::blend_kernels().name);
}
BENCHMARK(BM_SrcAlpha)->Unit(benchmark::kMicrosecond);

void BM_KeyedBlend(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        gfx::putimage_keyed_alphablend(f.dst, f.src, 0, 0, 0xFF000000u, 207);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
    state.SetLabel(gfx::detail::blend_kernels().name);
}
BENCHMARK(BM_KeyedBlend)->Unit(benchmark::kMicrosecond);

void BM_Blur(benchmark::State& state) {
    Frames& f = frames();
    for (auto _ : state) {
        gfx::imagefilter_blurring(f.dst, 127, 256);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_Blur)->Unit(benchmark::kMicrosecond);

// A line whose glyphs are already cached, as every frame after the first.
void BM_TextLine(benchmark::State& state) {
    gfx::IMAGE* im = gfx::new_image(400, 40);
    gfx::set_font(16, 0, kYaHei, im);
    gfx::set_bk_mode(gfx::kTransparent, im);
    gfx::text_out(0, 0, kLine, im);
    for (auto _ : state) {
        gfx::text_out(0, 10, kLine, im);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 20);
    gfx::delete_image(im);
}
BENCHMARK(BM_TextLine)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's processor seconds per iteration for the summary;
// processor time, not wall time, so other work on a shared machine does not
// skew the ratios.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
            seconds_[r.run_name.function_name] = r.cpu_accumulated_time / r.iterations;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void print_summary() const {
        auto it = seconds_.find("BM_Memcpy");
        if (it == seconds_.end()) return;
        const double base = kPixels / it->second / 1e6;
        std::printf("\n%-22s %12s %14s\n", "operation", "Mpixel/s", "x memcpy");
        for (const auto& [name, secs] : seconds_) {
            if (name == "BM_TextLine") continue;
            const double mp = kPixels / secs / 1e6;
            std::printf("%-22s %12.0f %14.2f\n", name.c_str(), mp, mp / base);
        }
        auto text = seconds_.find("BM_TextLine");
        if (text != seconds_.end()) {
            std::printf("%-22s %9.2f us per 20-character cached line\n", "BM_TextLine",
                        text->second * 1e6);
        }
        std::printf(
            "targets: BM_AlphaBlend >= 0.60 x memcpy, BM_SrcAlpha >= 0.40 x memcpy, "
            "BM_TextLine < 20 us\n");
    }

private:
    std::map<std::string, double> seconds_;
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
