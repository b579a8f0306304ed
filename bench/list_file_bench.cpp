// Reading and writing a sweep list of 100001 points as CSV and as SRF, each
// beside a plain baseline over the same bytes in the same iteration: reading
// the file and converting every number in it with strtod, and printing the
// same numbers with snprintf("%.13g") into a file. The counter "ratio" is
// list code time / baseline time (goal: at most 3).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/list_file.h"
#include "model/segment_expansion.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kPoints = 100001;
constexpr int kSegmentPoints = 5000;

std::string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir != nullptr ? dir : "/tmp") + "/z5r_list_bench_" +
           std::to_string(getpid()) + "_" + name;
}

// CSV: 20 segments of 5000 points and one of a single point. SRF: one fixed
// point per line.
std::vector<z5r::SListPoint> Segments(z5r::EListFileType type) {
    std::vector<z5r::SListPoint> segments;
    if (type == z5r::EListFileType::Csv) {
        for (int i = 0; i < 20; ++i)
            segments.push_back(z5r::SListPoint{kSegmentPoints, 1e9 + i * 1e8, 1.09e9 + i * 1e8, 1, 1,
                                               -30.0 + i, -10.5 + i});
        segments.push_back(z5r::SListPoint{1, 5e9, 5e9, 1, 1, 0.25, 0.25});
    } else {
        for (std::size_t i = 0; i < kPoints; ++i) {
            const double freq = 1e9 + static_cast<double>(i) * 12345.678;
            const double level = -40.0 + static_cast<double>(i % 6000) * 0.01;
            segments.push_back(z5r::SListPoint{1, freq, freq, 1, 1, level, level});
        }
    }
    return segments;
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string ReadWhole(const std::string& path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[1 << 16];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
        std::fclose(file);
    }
    return bytes;
}

// Every number of the file's bytes through strtod, skipping what is none.
double StrtodBaseline(const std::string& path) {
    std::string bytes = ReadWhole(path);
    for (char& c : bytes) {
        if (c == ';') c = ' ';
    }
    double sum = 0.0;
    const char* p = bytes.c_str();
    const char* const end = p + bytes.size();
    while (p < end) {
        char* next = nullptr;
        sum += std::strtod(p, &next);
        p = next == p ? p + 1 : next;
    }
    return sum;
}

// The same numbers printed the way the writer prints them, into a file.
void SnprintfBaseline(const std::string& path, z5r::EListFileType type,
                      const std::vector<z5r::SListPoint>& segments) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return;
    char line[96];
    z5r::SPointLists points;
    for (const z5r::SListPoint& s : segments) {
        if (type == z5r::EListFileType::Srf) {
            const int n = std::snprintf(line, sizeof line, "%.13g\t%.13g\t%d\t\r\n", s.startfreq,
                                        s.startpow, s.points);
            std::fwrite(line, 1, static_cast<std::size_t>(n), file);
            continue;
        }
        z5r::ExpandSegment(points, true, z5r::RangeOf(s), std::nullopt);
        for (std::size_t i = 0; i < points.Size(); ++i) {
            const int n = std::snprintf(line, sizeof line, "%.13g;%.13g\r\n", points.freqs[i],
                                        points.levels[i]);
            std::fwrite(line, 1, static_cast<std::size_t>(n), file);
        }
    }
    std::fclose(file);
}

void BM_Read(benchmark::State& state, z5r::EListFileType type) {
    const std::string path = TempPath("read");
    const auto segments = Segments(type);
    if (z5r::WriteListFile(path, type, segments, std::nullopt) != z5r::EListFileStatus::Ok) {
        state.SkipWithError("cannot write the list file");
        return;
    }
    double own = 0.0;
    double baseline = 0.0;
    std::size_t read = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        const z5r::SListFileRead result = z5r::ReadListFile(path, type);
        const double ownSeconds = Seconds(start);
        read = result.segments.size();
        start = Clock::now();
        benchmark::DoNotOptimize(StrtodBaseline(path));
        baseline += Seconds(start);
        own += ownSeconds;
        state.SetIterationTime(ownSeconds);
    }
    std::remove(path.c_str());
    state.counters["points"] = static_cast<double>(read);
    state.counters["ratio"] = baseline > 0 ? own / baseline : 0.0;
}

void BM_Write(benchmark::State& state, z5r::EListFileType type) {
    const std::string path = TempPath("write");
    const std::string basePath = TempPath("write_baseline");
    const auto segments = Segments(type);
    double own = 0.0;
    double baseline = 0.0;
    for (auto _ : state) {
        auto start = Clock::now();
        if (z5r::WriteListFile(path, type, segments, std::nullopt) != z5r::EListFileStatus::Ok) {
            state.SkipWithError("cannot write the list file");
            break;
        }
        const double ownSeconds = Seconds(start);
        start = Clock::now();
        SnprintfBaseline(basePath, type, segments);
        baseline += Seconds(start);
        own += ownSeconds;
        state.SetIterationTime(ownSeconds);
    }
    std::remove(path.c_str());
    std::remove(basePath.c_str());
    state.counters["ratio"] = baseline > 0 ? own / baseline : 0.0;
}

BENCHMARK_CAPTURE(BM_Read, csv, z5r::EListFileType::Csv)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Read, srf, z5r::EListFileType::Srf)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, csv, z5r::EListFileType::Csv)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Write, srf, z5r::EListFileType::Srf)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
