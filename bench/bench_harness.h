// What every side-by-side benchmark shares: pinning to CPUs, the two CPU
// layouts a comparison runs in, the defaults of a run, and the summary of
// medians and ratios against the baseline measured in the same run.
//
// A comparison registers, for each layout, "<measured>/<layout>" and
// "<baseline>/<layout>" benchmarks; the summary pairs them up.
#pragma once

#include <benchmark/benchmark.h>
#include <sched.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kvbench {

// The CPUs this process may run on, in order.
std::vector<int> AllowedCpus();

// Pins the calling thread to one CPU while it lives (children started
// meanwhile inherit it), then restores its CPUs.
class CScopedAffinity {
public:
    explicit CScopedAffinity(int cpu);
    ~CScopedAffinity();
    CScopedAffinity(const CScopedAffinity&) = delete;
    CScopedAffinity& operator=(const CScopedAffinity&) = delete;
    bool Pinned() const { return pinned_; }

private:
    cpu_set_t saved_{};
    bool savedOk_ = false;
    bool pinned_ = false;
};

// Where the benchmark and its peer run: "same-core" (both on one CPU, the
// main comparison) and, with two CPUs or more, "split-core".
struct SLayout {
    std::string name;
    int benchCpu;
    int peerCpu;
};
std::vector<SLayout> ComparisonLayouts(const std::vector<int>& cpus);

// benchmark::Initialize with this project's defaults (15 repetitions,
// randomly interleaved, 0.2 s each); flags on the command line win. False on
// an unknown flag.
bool InitializeBenchmarks(int argc, char** argv);

// Prints as usual and keeps every repetition's mean per benchmark.
class CCollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;
    // Median over the repetitions in microseconds, negative when none ran.
    double MedianUs(const std::string& name) const;

private:
    std::map<std::string, std::vector<double>> samples_;
};

// Names in the summary: what is measured against what, and the roles of the
// two CPUs.
struct SComparison {
    std::string title;     // e.g. "median round trip, 16-byte request / 22-byte answer"
    std::string measured;  // e.g. "library"
    std::string baseline;  // e.g. "plain"
    std::string benchRole = "bench";
    std::string peerRole = "peer";
};

// Registers `function(state, layout)` under "<name>/<layout>" for each layout,
// in real time and microseconds.
template <typename Function>
void RegisterPerLayout(const std::string& name, const std::vector<SLayout>& layouts, Function function) {
    for (const SLayout& layout : layouts) {
        benchmark::RegisterBenchmark((name + "/" + layout.name).c_str(),
                                     [function, &layout](benchmark::State& state) {
                                         function(state, layout);
                                     })
            ->UseRealTime()
            ->Unit(benchmark::kMicrosecond);
    }
}

// The medians of each layout and the ratio measured/baseline per layout.
void PrintComparison(const CCollectingReporter& reporter, const SComparison& comparison,
                     const std::vector<SLayout>& layouts);

// The usual main of a library-against-plain comparison with a peer per
// layout: `Peer` is made from the peer's CPU, `library` and `plain` are
// called as (state, peer, bench CPU). Returns the program's exit code.
template <typename Peer, typename Library, typename Plain>
int RunPeerComparison(int argc, char** argv, const SComparison& comparison, Library library, Plain plain) {
    if (!InitializeBenchmarks(argc, argv)) return 1;
    const std::vector<SLayout> layouts = ComparisonLayouts(AllowedCpus());
    if (layouts.empty()) {
        std::fprintf(stderr, "no CPU to run on\n");
        return 1;
    }
    std::map<std::string, std::unique_ptr<Peer>> peers;
    for (const SLayout& layout : layouts) peers[layout.name] = std::make_unique<Peer>(layout.peerCpu);
    RegisterPerLayout(comparison.measured, layouts, [&peers, library](benchmark::State& state, const SLayout& layout) {
        library(state, *peers.at(layout.name), layout.benchCpu);
    });
    RegisterPerLayout(comparison.baseline, layouts, [&peers, plain](benchmark::State& state, const SLayout& layout) {
        plain(state, *peers.at(layout.name), layout.benchCpu);
    });
    CCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintComparison(reporter, comparison, layouts);
    benchmark::Shutdown();
    return 0;
}

}  // namespace kvbench
