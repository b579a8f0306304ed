// The measurement layer's speed. A run of each method against the simulated
// receiver over loopback (B = 300 Hz and 10 Hz, P = 1001): the run's time and
// the share spent waiting for the receiver's answers, the link's floor; the
// rest is the layer's own computing. Then the transform path alone against
// FFTW called directly on the same sizes, in the same run.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench_harness.h"
#include "kvproto/packet_io.h"
#include "kvvisa/visa.h"
#include "res_mgr.h"
#include "sa/sa_fft.h"
#include "sa/sa_measurement.h"
#include "sa/sa_plan.h"
#include "session_packets.h"
#include "support/simulator_process.h"

namespace {

using Clock = std::chrono::steady_clock;

// This thread's processor time: on a loaded machine the wall time outside
// the link also holds the time the thread waited for a processor.
double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The inner session as the layer uses it, with the time spent waiting for
// answers counted.
class CTimedLink : public kv::ISaLink {
public:
    CTimedLink(kv::CResMgr& rm, ViSession vi) : rm_(rm), vi_(vi) {}
    ViStatus Send(const std::vector<std::uint8_t>& bytes) override {
        const double cpu = ThreadCpuSeconds();
        const ViStatus status = rm_.Call(vi_, [&](kv::ISession& s) { return kv::SendAll(s, bytes); });
        linkCpu_ += ThreadCpuSeconds() - cpu;
        return status;
    }
    ViStatus Receive(std::vector<std::uint8_t>& packet, std::uint32_t) override {
        const auto begin = Clock::now();
        const double cpu = ThreadCpuSeconds();
        const ViStatus status = rm_.Call(vi_, [&](kv::ISession& s) { return kv::ReceivePacketFrom(s, packet); });
        linkCpu_ += ThreadCpuSeconds() - cpu;
        waited_ += Clock::now() - begin;
        return status;
    }
    double WaitedSeconds() const { return std::chrono::duration<double>(waited_).count(); }
    double LinkCpuSeconds() const { return linkCpu_; }
    void ResetWait() {
        waited_ = {};
        linkCpu_ = 0;
    }

private:
    kv::CResMgr& rm_;
    ViSession vi_;
    Clock::duration waited_{};
    double linkCpu_ = 0;
};

struct SRunCase {
    const char* name;
    std::uint32_t bandwidth;
    std::uint64_t step;
    std::uint64_t plan6;
};

const SRunCase kRuns[] = {
    {"zero_span/B300", 300, 3000, 1}, {"fft/B300", 300, 1000, 2}, {"chirp_z/B300", 300, 100, 2},
    {"zero_span/B10", 10, 20000, 1},  {"fft/B10", 10, 100, 2},    {"chirp_z/B10", 10, 10, 2},
};
constexpr std::uint64_t kPoints = 1001;

void MeasureRun(benchmark::State& state, const SRunCase& c, kvtest::CSimulator& sim) {
    kv::CResMgr rm;
    ViSession vi = VI_NULL;
    if (rm.Open(sim.Resource().c_str(), VI_NULL, 2000, &vi) != VI_SUCCESS) {
        state.SkipWithError("no receiver");
        return;
    }
    rm.Call(vi, [](kv::ISession& s) { return s.SetAttribute(VI_ATTR_TMO_VALUE, 10000); });
    CTimedLink link(rm, vi);
    link.Send(kv::CSaMeasurement::ParameterRequest(3, 3, {17}, 0x20));
    std::vector<std::uint8_t> answer;
    link.Receive(answer, 0);

    kv::SSaSettings settings;
    settings.known = kv::kKnownAll;
    settings.requestedMode = 15;
    settings.bandwidth = c.bandwidth;
    settings.detector = 2;
    settings.plan = {1000000000, kPoints, c.step, 1000000000 + (kPoints - 1) * c.step, 0, c.plan6, c.step, 0};
    const kv::SSaPlan plan = kv::MakePlan(settings);
    // One measurement object per case across the repetitions, as a session
    // keeps its own across runs (its plans and chirp tables made once).
    static std::map<const SRunCase*, kv::CSaMeasurement> measurements;
    kv::CSaMeasurement& measurement = measurements[&c];
    std::vector<std::uint8_t> points(12 * kPoints);
    double waited = 0, total = 0, computing = 0;
    for (auto _ : state) {
        link.ResetWait();
        const double cpu = ThreadCpuSeconds();
        const auto begin = Clock::now();
        const kv::SSaRunResult result = measurement.Run(link, plan, settings.detector, 10000, points.data());
        total += std::chrono::duration<double>(Clock::now() - begin).count();
        waited += link.WaitedSeconds();
        computing += ThreadCpuSeconds() - cpu - link.LinkCpuSeconds();
        if (result.status != VI_SUCCESS) {
            state.SkipWithError("run failed");
            break;
        }
    }
    state.counters["segments"] = static_cast<double>(plan.segments.size());
    state.counters["wait_share"] = total > 0 ? waited / total : 0;
    // The layer's own computing: its processor time outside the link.
    state.counters["compute_share"] = total > 0 ? computing / total : 0;
    rm.Close(vi);
}

// Transform sizes the layer uses: B = 1000, 300 and 10 Hz.
const std::vector<kvbench::SLayout>& Sizes() {
    static const std::vector<kvbench::SLayout> sizes = {{"n2048", 0, 0}, {"n8192", 0, 0}, {"n262144", 0, 0}};
    return sizes;
}

std::uint32_t SizeOf(const kvbench::SLayout& layout) { return static_cast<std::uint32_t>(std::stoul(layout.name.substr(1))); }

void LayerTransform(benchmark::State& state, const kvbench::SLayout& layout) {
    const std::uint32_t n = SizeOf(layout);
    kv::CFftPlans plans;
    kv::CAlignedSamples data(n);
    for (std::uint32_t i = 0; i < n; ++i) data[i] = {static_cast<double>(i % 7), 1.0};
    // The plan is made once, as a session makes it on its first run.
    plans.Forward(data, n);
    for (auto _ : state) {
        plans.Forward(data, n);
        benchmark::DoNotOptimize(data.data());
    }
}

void DirectFftw(benchmark::State& state, const kvbench::SLayout& layout) {
    const std::uint32_t n = SizeOf(layout);
    auto* data = fftw_alloc_complex(n);
    fftw_plan plan = fftw_plan_dft_1d(static_cast<int>(n), data, data, FFTW_FORWARD, FFTW_ESTIMATE);
    for (std::uint32_t i = 0; i < n; ++i) {
        data[i][0] = i % 7;
        data[i][1] = 1.0;
    }
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::DoNotOptimize(data);
    }
    fftw_destroy_plan(plan);
    fftw_free(data);
}

}  // namespace

int main(int argc, char** argv) {
    if (!kvbench::InitializeBenchmarks(argc, argv)) return 1;
    kvtest::CSimulator sim({"--receiver"});
    if (!sim.Started()) {
        std::fprintf(stderr, "the simulated receiver did not start\n");
        return 1;
    }
    sim.Control("tone 1000050000 150");
    sim.Control("noise 90 3");
    for (const SRunCase& c : kRuns) {
        benchmark::RegisterBenchmark((std::string("run/") + c.name).c_str(),
                                     [&c, &sim](benchmark::State& state) { MeasureRun(state, c, sim); })
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(3);
    }
    kvbench::RegisterPerLayout("layer", Sizes(), LayerTransform);
    kvbench::RegisterPerLayout("fftw", Sizes(), DirectFftw);
    kvbench::CCollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    kvbench::PrintComparison(reporter, {"median forward transform, layer against FFTW directly", "layer", "fftw", "size", "size"},
                             Sizes());
    benchmark::Shutdown();
    return 0;
}
