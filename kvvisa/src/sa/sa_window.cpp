#include "sa_window.h"

#include <cmath>

namespace kv {

namespace {
constexpr double kA0 = 0.3635819;
constexpr double kA1 = 0.4891775;
constexpr double kA2 = 0.1365995;
constexpr double kA3 = 0.0106411;
constexpr double kTwoPi = 6.283185306;
}  // namespace

std::vector<double> BlackmanNuttallWindow(std::uint32_t length, std::uint32_t acquisitions,
                                          std::uint32_t transformSize) {
    std::vector<double> w(length);
    if (length == 0 || acquisitions == 0 || transformSize == 0) return w;
    const double size = transformSize;
    const double q = 1.0 / (static_cast<double>(acquisitions) * size * size);
    const double scale = std::sqrt(q * 0.5 / 0.363);
    // A single coefficient has no span to taper over.
    const double denominator = length > 1 ? static_cast<double>(length - 1) : 1.0;
    for (std::uint32_t i = 0; i < length; ++i) {
        const double c = kTwoPi * static_cast<double>(i) / denominator;
        w[i] = scale * (kA0 - kA1 * std::cos(c) + kA2 * std::cos(2 * c) - kA3 * std::cos(3 * c));
    }
    return w;
}

}  // namespace kv
