#include "bench_harness.h"

#include <algorithm>
#include <cstdio>

namespace kvbench {

std::vector<int> AllowedCpus() {
    cpu_set_t set;
    CPU_ZERO(&set);
    std::vector<int> cpus;
    if (sched_getaffinity(0, sizeof set, &set) != 0) return cpus;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &set)) cpus.push_back(cpu);
    }
    return cpus;
}

// On Linux, process id 0 is the calling thread.
CScopedAffinity::CScopedAffinity(int cpu) {
    savedOk_ = sched_getaffinity(0, sizeof saved_, &saved_) == 0;
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    pinned_ = sched_setaffinity(0, sizeof set, &set) == 0;
}

CScopedAffinity::~CScopedAffinity() {
    if (savedOk_) sched_setaffinity(0, sizeof saved_, &saved_);
}

std::vector<SLayout> ComparisonLayouts(const std::vector<int>& cpus) {
    std::vector<SLayout> layouts;
    if (cpus.empty()) return layouts;
    layouts.push_back({"same-core", cpus[0], cpus[0]});
    if (cpus.size() > 1) layouts.push_back({"split-core", cpus[0], cpus[1]});
    return layouts;
}

bool InitializeBenchmarks(int argc, char** argv) {
    // Defaults first so that flags given on the command line win. Random
    // interleaving spreads the repetitions of all cases over the run, so a
    // drift of the machine's speed does not favour one of them.
    std::string repetitions = "--benchmark_repetitions=15";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string minTime = "--benchmark_min_time=0.2";
    std::vector<char*> args{argv[0], repetitions.data(), interleave.data(), minTime.data()};
    for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());
    return !benchmark::ReportUnrecognizedArguments(count, args.data());
}

void CCollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations == 0) continue;
        samples_[run.run_name.function_name].push_back(run.real_accumulated_time * 1e6 /
                                                       static_cast<double>(run.iterations));
    }
}

double CCollectingReporter::MedianUs(const std::string& name) const {
    const auto found = samples_.find(name);
    if (found == samples_.end() || found->second.empty()) return -1.0;
    std::vector<double> values = found->second;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintComparison(const CCollectingReporter& reporter, const SComparison& comparison,
                     const std::vector<SLayout>& layouts) {
    std::printf("\n%s:\n", comparison.title.c_str());
    for (const SLayout& layout : layouts) {
        std::printf("  %-10s (%s CPU %d, %s CPU %d): %s %.2f us, %s %.2f us\n", layout.name.c_str(),
                    comparison.benchRole.c_str(), layout.benchCpu, comparison.peerRole.c_str(),
                    layout.peerCpu, comparison.measured.c_str(),
                    reporter.MedianUs(comparison.measured + "/" + layout.name),
                    comparison.baseline.c_str(),
                    reporter.MedianUs(comparison.baseline + "/" + layout.name));
    }
    for (const SLayout& layout : layouts) {
        const double measured = reporter.MedianUs(comparison.measured + "/" + layout.name);
        const double baseline = reporter.MedianUs(comparison.baseline + "/" + layout.name);
        if (measured > 0 && baseline > 0) {
            std::printf("ratio %s median: %.2f\n", layout.name.c_str(), measured / baseline);
        } else {
            std::printf("ratio %s median: not measured\n", layout.name.c_str());
        }
    }
}

}  // namespace kvbench
