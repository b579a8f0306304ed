// One pulse of a pulse packet.
#pragma once

namespace z5r {

// The values are those of a new pulse.
struct SPulse {
    double tau = 1e-6;     // s, pulse duration
    double period = 1e-5;  // s, from the start of this pulse to the start of the next
    double q = 10.0;       // duty factor, period / tau
    bool used = true;      // counts toward the total packet duration

    friend bool operator==(const SPulse&, const SPulse&) = default;
};

}  // namespace z5r
