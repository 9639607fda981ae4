// The tally file's codec against liblz4's default fast mode on the same 64 MiB input, in one
// run: compression and decompression throughput of each, and the packed sizes. The last line
// gives this codec's figures as fractions of lz4's.
//
// The input stands for a tally file grown large, with binary stretches between its text:
// grid text (names, then columns of counts), tables of little counters, and some noise.

#include "lzrw1.h"

#include <benchmark/benchmark.h>
#include <lz4.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using bg::lzrw1::Bytes;

constexpr std::size_t kInputSize = std::size_t{64} << 20;

std::string name(std::mt19937& gen) {
    static const char* const parts[] = {"al", "bo", "ce", "dan", "el", "fi", "gus", "ha",  "ik",
                                        "jo", "ka", "li", "mo",  "nu", "or", "pe",  "qui", "ro",
                                        "sa", "ti", "ur", "vo",  "wi", "xa", "yo",  "ze"};
    std::string n;
    const int count = 2 + static_cast<int>(gen() % 3);
    for (int i = 0; i < count; ++i)
        n += parts[gen() % std::size(parts)];
    n[0] = static_cast<char>(n[0] - 'a' + 'A');
    return n;
}

std::vector<std::uint8_t> makeInput() {
    std::mt19937 gen(20261208);
    std::vector<std::uint8_t> in;
    in.reserve(kInputSize + 65536);
    auto text = [&](const std::string& s) { in.insert(in.end(), s.begin(), s.end()); };
    while (in.size() < kInputSize) {
        const unsigned kind = gen() % 10;
        if (kind < 6) { // a grid text: the names column, then eight columns of counts
            const int rows = 20 + static_cast<int>(gen() % 200);
            text("9\r\n" + std::to_string(rows) + "\r\n0\r\n");
            for (int r = 1; r < rows; ++r)
                text(name(gen) + "\r\n");
            for (int c = 1; c < 9; ++c)
                for (int r = 0; r < rows; ++r)
                    text(std::to_string(c >= 5 ? gen() % 4 : gen() % (1u << (gen() % 12))) +
                         "\r\n");
        } else if (kind < 9) { // a table of 32-bit counters, mostly small
            const int count = 256 + static_cast<int>(gen() % 2048);
            for (int i = 0; i < count; ++i) {
                const std::uint32_t v = gen() % (1u << (gen() % 16));
                for (int b = 0; b < 4; ++b)
                    in.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
            }
        } else { // noise
            const int count = 64 + static_cast<int>(gen() % 2048);
            for (int i = 0; i < count; ++i)
                in.push_back(static_cast<std::uint8_t>(gen()));
        }
    }
    in.resize(kInputSize);
    return in;
}

const std::vector<std::uint8_t>& input() {
    static const std::vector<std::uint8_t> data = makeInput();
    return data;
}

struct Packed {
    Bytes codec;
    std::vector<char> lz4;
};

const Packed& packed() {
    static const Packed p = [] {
        Packed r;
        r.codec = bg::lzrw1::pack(input());
        r.lz4.resize(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(kInputSize))));
        const int n =
            LZ4_compress_default(reinterpret_cast<const char*>(input().data()), r.lz4.data(),
                                 static_cast<int>(kInputSize), static_cast<int>(r.lz4.size()));
        r.lz4.resize(static_cast<std::size_t>(n));
        return r;
    }();
    return p;
}

void BM_CodecCompress(benchmark::State& state) {
    bg::lzrw1::BlockCoder coder;
    Bytes out;
    for (auto _ : state) {
        bg::lzrw1::pack(input(), out, coder);
        benchmark::DoNotOptimize(out.data());
    }
    if (out.size() != packed().codec.size()) state.SkipWithError("packed size differs");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kInputSize));
}

void BM_CodecDecompress(benchmark::State& state) {
    Bytes out;
    for (auto _ : state) {
        bg::lzrw1::unpack(packed().codec, out, "bench");
        benchmark::DoNotOptimize(out.data());
    }
    if (!std::equal(out.begin(), out.end(), input().begin(), input().end()))
        state.SkipWithError("round trip differs");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kInputSize));
}

void BM_Lz4Compress(benchmark::State& state) {
    std::vector<char> out(static_cast<std::size_t>(LZ4_compressBound(int(kInputSize))));
    for (auto _ : state) {
        const int n = LZ4_compress_default(reinterpret_cast<const char*>(input().data()),
                                           out.data(), int(kInputSize), int(out.size()));
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kInputSize));
}

void BM_Lz4Decompress(benchmark::State& state) {
    std::vector<char> out(kInputSize);
    const auto& src = packed().lz4;
    for (auto _ : state) {
        const int n = LZ4_decompress_safe(src.data(), out.data(), int(src.size()), int(out.size()));
        if (n != int(kInputSize)) state.SkipWithError("lz4 round trip failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kInputSize));
}

BENCHMARK(BM_CodecCompress)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Lz4Compress)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CodecDecompress)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Lz4Decompress)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Remembers each benchmark's throughput for the closing comparison.
class Recorder : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> bytesPerSecond;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.counters.count("bytes_per_second"))
                bytesPerSecond[run.run_name.function_name] = run.counters.at("bytes_per_second");
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    packed(); // outside the timings
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    auto& r = recorder.bytesPerSecond;
    auto rate = [&](const char* key) { return r.count(key) ? r[key] : 0.0; };
    const double c =
        rate("BM_Lz4Compress") > 0 ? rate("BM_CodecCompress") / rate("BM_Lz4Compress") : 0;
    const double d =
        rate("BM_Lz4Decompress") > 0 ? rate("BM_CodecDecompress") / rate("BM_Lz4Decompress") : 0;
    const double size = double(packed().codec.size()) / double(packed().lz4.size());
    std::printf("input %zu bytes: this codec packs to %zu, lz4 to %zu\n", kInputSize,
                packed().codec.size(), packed().lz4.size());
    std::printf("codec: compress %.2f of lz4, decompress %.2f of lz4, size %.2f of lz4\n", c, d,
                size);
    benchmark::Shutdown();
    return 0;
}
