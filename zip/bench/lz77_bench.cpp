// Throughput of the block codec against zlib on the same 64 KiB blocks of
// text and of machine code, the compression ratios of both, and the slowest
// single block including adversarial ones. Prints ratios against zlib at the
// end of the run.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "zip/lz77.h"

namespace {

constexpr size_t kInputSize = 4u << 20;
constexpr int kBlock = 65536;

// Appends files under `root` whose names pass `want` until `limit` bytes.
void gather(const std::filesystem::path& root,
            bool (*want)(const std::filesystem::path&, const std::vector<uint8_t>&),
            std::vector<uint8_t>* out, size_t limit) {
    std::error_code ec;
    std::vector<std::filesystem::path> files;
    for (auto it = std::filesystem::recursive_directory_iterator(
             root, std::filesystem::directory_options::skip_permission_denied, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (ec) break;
        if (it->is_regular_file(ec)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& f : files) {
        if (out->size() >= limit) break;
        std::ifstream in(f, std::ios::binary);
        std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        if (bytes.empty() || !want(f, bytes)) continue;
        out->insert(out->end(), bytes.begin(), bytes.end());
    }
    if (out->size() > limit) out->resize(limit);
}

bool is_text(const std::filesystem::path& p, const std::vector<uint8_t>& b) {
    const auto ext = p.extension().string();
    if (ext != ".h" && ext != ".txt" && ext != "" && ext != ".md") return false;
    return std::none_of(b.begin(), b.begin() + std::min<size_t>(b.size(), 4096),
                        [](uint8_t c) { return c == 0; });
}

bool is_elf(const std::filesystem::path&, const std::vector<uint8_t>& b) {
    return b.size() > 4 && std::memcmp(b.data(),
                                       "\x7f"
                                       "ELF",
                                       4) == 0;
}

// Real prose and C headers for text, program files for code: both read at
// run time from the system so the figures reflect ordinary inputs.
const std::vector<uint8_t>& text_input() {
    static std::vector<uint8_t> data = [] {
        std::vector<uint8_t> v;
        gather("/usr/share/common-licenses", is_text, &v, kInputSize);
        gather("/usr/include", is_text, &v, kInputSize);
        return v;
    }();
    return data;
}

const std::vector<uint8_t>& code_input() {
    static std::vector<uint8_t> data = [] {
        std::vector<uint8_t> v;
        gather("/usr/bin", is_elf, &v, kInputSize);
        return v;
    }();
    return data;
}

const std::vector<uint8_t>& input(int which) {
    return which == 0 ? text_input() : code_input();
}

struct Packed {
    std::vector<std::vector<uint8_t>> blocks;  // empty vector: stored raw
    size_t bytes = 0;
};

Packed pack_lz77(const std::vector<uint8_t>& in) {
    nd::CCompressLZ77 codec;
    Packed p;
    std::vector<uint8_t> buf(kBlock + 8);
    for (size_t at = 0; at < in.size(); at += kBlock) {
        const int n = static_cast<int>(std::min<size_t>(kBlock, in.size() - at));
        std::fill(buf.begin(), buf.end(), 0);
        const int c = codec.compress(in.data() + at, n, buf.data());
        p.blocks.emplace_back(buf.begin(), buf.begin() + std::max(c, 0));
        p.bytes += 4 + (c > 0 ? c : n);
    }
    return p;
}

Packed pack_zlib(const std::vector<uint8_t>& in) {
    Packed p;
    std::vector<uint8_t> buf(compressBound(kBlock));
    for (size_t at = 0; at < in.size(); at += kBlock) {
        const size_t n = std::min<size_t>(kBlock, in.size() - at);
        uLongf len = buf.size();
        compress2(buf.data(), &len, in.data() + at, n, 6);
        p.blocks.emplace_back(buf.begin(), buf.begin() + len);
        p.bytes += 4 + len;
    }
    return p;
}

void BM_Lz77Compress(benchmark::State& state) {
    const auto& in = input(static_cast<int>(state.range(0)));
    nd::CCompressLZ77 codec;
    std::vector<uint8_t> buf(kBlock + 8);
    for (auto _ : state) {
        for (size_t at = 0; at < in.size(); at += kBlock) {
            const int n = static_cast<int>(std::min<size_t>(kBlock, in.size() - at));
            std::memset(buf.data(), 0, n + 8);
            benchmark::DoNotOptimize(codec.compress(in.data() + at, n, buf.data()));
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
    state.counters["ratio"] = static_cast<double>(pack_lz77(in).bytes) / in.size();
}

void BM_DeflateCompress(benchmark::State& state) {
    const auto& in = input(static_cast<int>(state.range(0)));
    std::vector<uint8_t> buf(compressBound(kBlock));
    for (auto _ : state) {
        for (size_t at = 0; at < in.size(); at += kBlock) {
            uLongf len = buf.size();
            compress2(buf.data(), &len, in.data() + at, std::min<size_t>(kBlock, in.size() - at),
                      6);
            benchmark::DoNotOptimize(len);
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
    state.counters["ratio"] = static_cast<double>(pack_zlib(in).bytes) / in.size();
}

void BM_Lz77Decompress(benchmark::State& state) {
    const auto& in = input(static_cast<int>(state.range(0)));
    const Packed p = pack_lz77(in);
    nd::CCompressLZ77 codec;
    std::vector<uint8_t> out(kBlock);
    for (auto _ : state) {
        size_t at = 0;
        for (const auto& b : p.blocks) {
            const int n = static_cast<int>(std::min<size_t>(kBlock, in.size() - at));
            if (b.empty())
                std::memcpy(out.data(), in.data() + at, n);
            else
                codec.decompress(out.data(), n, b.data(), static_cast<int>(b.size()));
            benchmark::DoNotOptimize(out.data());
            at += n;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void BM_Inflate(benchmark::State& state) {
    const auto& in = input(static_cast<int>(state.range(0)));
    const Packed p = pack_zlib(in);
    std::vector<uint8_t> out(kBlock);
    for (auto _ : state) {
        for (const auto& b : p.blocks) {
            uLongf len = out.size();
            uncompress(out.data(), &len, b.data(), b.size());
            benchmark::DoNotOptimize(out.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

double thread_cpu_ms() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Slowest block of each kind in the last worst-block run, in milliseconds.
std::map<std::string, double> g_worst_by_kind;

// Every 64 KiB block of both inputs plus blocks built to make long chains,
// each compressed once; reports the slowest in milliseconds.
void BM_Lz77WorstBlock(benchmark::State& state) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> blocks;
    std::mt19937 rng(5);
    std::vector<uint8_t> b(kBlock);
    for (int i = 0; i < kBlock; ++i) b[i] = i % 2 ? 'b' : 'a';
    blocks.emplace_back("alternating pairs", b);
    for (auto& c : b) c = rng() % 2 ? 'x' : 'y';
    blocks.emplace_back("random two letters", b);
    for (auto& c : b) c = "ab"[rng() % 2] + (rng() % 16 == 0);
    blocks.emplace_back("two letters, rare third", b);
    for (int i = 0; i < kBlock; ++i) b[i] = "abc"[i % 3];
    blocks.emplace_back("period three", b);
    blocks.emplace_back("all zero", std::vector<uint8_t>(kBlock, 0));
    for (int which = 0; which < 2; ++which) {
        const auto& in = input(which);
        for (size_t at = 0; at + kBlock <= in.size(); at += kBlock)
            blocks.emplace_back(which ? "code" : "text",
                                std::vector<uint8_t>(in.begin() + at, in.begin() + at + kBlock));
    }
    nd::CCompressLZ77 codec;
    std::vector<uint8_t> out(kBlock + 8);
    double worst = 0;
    std::string worst_name;
    g_worst_by_kind.clear();
    for (auto _ : state) {
        for (const auto& [name, block] : blocks) {
            std::fill(out.begin(), out.end(), 0);
            // Thread CPU time, so other work on a shared machine does not count.
            const double t0 = thread_cpu_ms();
            benchmark::DoNotOptimize(codec.compress(block.data(), kBlock, out.data()));
            const double ms = thread_cpu_ms() - t0;
            double& kind_worst = g_worst_by_kind[name];
            kind_worst = std::max(kind_worst, ms);
            if (ms > worst) {
                worst = ms;
                worst_name = name;
            }
        }
    }
    state.counters["worst_ms"] = worst;
    state.SetLabel("slowest: " + worst_name);
}

BENCHMARK(BM_Lz77Compress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeflateCompress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lz77Decompress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Inflate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Lz77WorstBlock)->Iterations(1)->Unit(benchmark::kMillisecond);

// Keeps each run's CPU time per iteration (the machine may be shared) so the ratios can be printed
// at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) times[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("inputs: text %zu bytes, code %zu bytes, 64 KiB blocks\n", text_input().size(),
                code_input().size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const char* kinds[] = {"text", "code"};
    for (int k = 0; k < 2; ++k) {
        auto t = [&](const char* name) {
            return reporter.times[std::string(name) + "/" + std::to_string(k)];
        };
        if (t("BM_Lz77Compress") > 0 && t("BM_DeflateCompress") > 0)
            std::printf("%s: compress time / deflate-6 time = %.2f (target <= 3 on text)\n",
                        kinds[k], t("BM_Lz77Compress") / t("BM_DeflateCompress"));
        if (t("BM_Lz77Decompress") > 0 && t("BM_Inflate") > 0)
            std::printf("%s: decompress time / inflate time = %.2f (target <= 1)\n", kinds[k],
                        t("BM_Lz77Decompress") / t("BM_Inflate"));
    }
    for (const auto& [kind, ms] : g_worst_by_kind)
        std::printf("slowest %s block: %.1f ms (target <= 50)\n", kind.c_str(), ms);
    benchmark::Shutdown();
    return 0;
}
