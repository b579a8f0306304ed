// Arbitrary answer streams, read in arbitrary pieces, through the measurement
// layer's answer watcher, and whatever it learns through the plan: nothing
// may crash, and a plan that is not refused must describe every point.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "sa/sa_answer_watcher.h"
#include "sa/sa_plan.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte is the size of the application's reads.
    const std::size_t piece = data[0] == 0 ? 16 : data[0];
    std::span<const std::uint8_t> stream(data + 1, size - 1);
    kv::CSaAnswerWatcher watcher;
    kv::SSaSettings settings;
    while (!stream.empty()) {
        const std::size_t n = std::min(piece, stream.size());
        watcher.Feed(stream.first(n), settings);
        stream = stream.subspan(n);
    }
    if (!settings.Complete() || !kv::MeasuredInSoftware(settings)) return 0;
    const kv::SSaPlan plan = kv::MakePlan(settings);
    if (plan.refusal != 0) return 0;
    Require(plan.points == settings.plan.points && plan.pointFrequency.size() == plan.points, "one frequency per point");
    Require(!plan.segments.empty() && plan.segments.size() <= kv::kSaMaxSegments, "segments bounded");
    return 0;
}
