// The four-term Blackman-Nuttall window applied to every acquisition, scaled
// so that powers come out averaged and normalised.
#pragma once

#include <cstdint>
#include <vector>

namespace kv {

// `length` coefficients w[i] = s * (a0 - a1 cos c + a2 cos 2c - a3 cos 3c),
// c = 2 pi i / (length - 1), s = sqrt(q * 0.5 / 0.363) with the power factor
// q = 1 / (acquisitions * transformSize^2).
std::vector<double> BlackmanNuttallWindow(std::uint32_t length, std::uint32_t acquisitions,
                                          std::uint32_t transformSize);

}  // namespace kv
