#include "sa_fft.h"

#include <fftw3.h>

#include <cstring>
#include <mutex>
#include <new>
#include <utility>

namespace kv {

namespace {
// FFTW's planner is not reentrant; executing a made plan is.
std::mutex& PlannerMutex() {
    static std::mutex mutex;
    return mutex;
}
}  // namespace

CAlignedSamples::CAlignedSamples(std::size_t size) : size_(size) {
    if (size == 0) return;
    data_ = reinterpret_cast<Complex*>(fftw_malloc(sizeof(Complex) * size));
    if (data_ == nullptr) throw std::bad_alloc();
    std::memset(static_cast<void*>(data_), 0, sizeof(Complex) * size);
}

CAlignedSamples::~CAlignedSamples() { fftw_free(data_); }

CAlignedSamples::CAlignedSamples(CAlignedSamples&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

CAlignedSamples& CAlignedSamples::operator=(CAlignedSamples&& other) noexcept {
    if (this != &other) {
        fftw_free(data_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

struct CFftPlans::SPlan {
    fftw_plan plan = nullptr;
    ~SPlan() {
        std::lock_guard<std::mutex> planner(PlannerMutex());
        fftw_destroy_plan(plan);
    }
};

CFftPlans::CFftPlans() = default;
CFftPlans::~CFftPlans() = default;

CFftPlans::SPlan& CFftPlans::PlanFor(std::uint32_t size, int direction) {
    // A run alternates between few sizes: the last two plans are at hand.
    for (const SRecent& recent : recent_) {
        if (recent.plan != nullptr && recent.size == size && recent.direction == direction) return *recent.plan;
    }
    auto& slot = plans_[{size, direction}];
    if (!slot) {
        // Planned on scratch memory: FFTW_ESTIMATE leaves it alone, and the
        // plan then runs on any buffer of FFTW's alignment.
        CAlignedSamples scratch(size);
        auto plan = std::make_unique<SPlan>();
        std::lock_guard<std::mutex> planner(PlannerMutex());
        auto* io = reinterpret_cast<fftw_complex*>(scratch.data());
        plan->plan = fftw_plan_dft_1d(static_cast<int>(size), io, io, direction, FFTW_ESTIMATE);
        if (plan->plan == nullptr) throw std::bad_alloc();
        slot = std::move(plan);
    }
    recent_[direction == FFTW_FORWARD ? 0 : 1] = {size, direction, slot.get()};
    return *slot;
}

void CFftPlans::Forward(CAlignedSamples& data, std::uint32_t size) {
    auto* io = reinterpret_cast<fftw_complex*>(data.data());
    fftw_execute_dft(PlanFor(size, FFTW_FORWARD).plan, io, io);
}

void CFftPlans::Backward(CAlignedSamples& data, std::uint32_t size) {
    auto* io = reinterpret_cast<fftw_complex*>(data.data());
    fftw_execute_dft(PlanFor(size, FFTW_BACKWARD).plan, io, io);
}

}  // namespace kv
