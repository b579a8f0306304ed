#include "model/parameter_coupling.h"

#include <cmath>

namespace z5r {

namespace {

std::size_t Idx(int edit) { return static_cast<std::size_t>(edit); }

}  // namespace

CParameterCoupling::CParameterCoupling(const SInstrumentLimits& limits) : limits_(limits) {}

std::vector<SEditWrite> CParameterCoupling::OnEditChange(int edit, const EditValues& values) {
    const int base = GroupBaseOf(edit);
    if (base == kNoEdit) return {};
    switch (edit - base) {
        case goStart:
        case goStop:
            return StartOrStopChanged(base, edit, values);
        case goCenter:
        case goSpan:
            return CentreOrSpanChanged(base, edit, values);
        default:
            return PointsChanged(base, values);
    }
}

std::vector<SEditWrite> CParameterCoupling::StartOrStopChanged(int base, int edit,
                                                               const EditValues& values) {
    const double s = values[Idx(base + goStart)];
    const double p = values[Idx(base + goStop)];
    if (std::isnan(s) || std::isnan(p)) return {};
    SavedStop(base) = p;
    Last(base, edit - base) = values[Idx(edit)];
    return {
        {base + goStart, s, true},
        {base + goStop, p, true},
        {base + goCenter, (s + p) / 2.0, true},
        {base + goSpan, std::fabs(p - s), true},
    };
}

void CParameterCoupling::GroupLimits(int base, double& lo, double& hi) const {
    lo = base == kFreqGroup ? limits_.minFreq : limits_.minPow;
    hi = base == kFreqGroup ? limits_.maxFreq : limits_.maxPow;
}

std::vector<SEditWrite> CParameterCoupling::CentreOrSpanChanged(int base, int edit,
                                                                const EditValues& values) {
    double c = values[Idx(base + goCenter)];
    double w = values[Idx(base + goSpan)];
    if (std::isnan(c) || std::isnan(w)) return {};
    double lo = 0.0;
    double hi = 0.0;
    GroupLimits(base, lo, hi);
    const bool downward = Last(base, goStart) > Last(base, goStop);
    const bool clamp = !(std::isnan(lo) && std::isnan(hi));

    if (edit - base == goCenter) {
        if (clamp) {
            const double a = Last(base, goSpan);
            if (lo > c) {
                c = lo;
                w = 0.0;
            } else if (hi < c) {
                c = hi;
                w = 0.0;
            } else if (c < lo + a / 2.0) {
                w = 2.0 * (c - lo);
            } else if (c > hi - a / 2.0) {
                w = 2.0 * (hi - c);
            } else {
                w = a;
            }
        }
        Last(base, goCenter) = c;
    } else {
        if (clamp) {
            const double m = Last(base, goCenter);
            const double t = w / 2.0;
            if (m - t < lo) {
                c = lo + t;
            } else if (m + t > hi) {
                c = hi - t;
            } else {
                c = m;
            }
        }
        Last(base, goSpan) = w;
    }

    const double half = w / 2.0;
    const double start = downward ? c + half : c - half;
    const double stop = downward ? c - half : c + half;
    SavedStop(base) = c + half;
    return {
        {base + goStart, start, true},
        {base + goStop, stop, true},
        {base + goCenter, c, true},
        {base + goSpan, w, true},
    };
}

std::vector<SEditWrite> CParameterCoupling::PointsChanged(int base, const EditValues& values) {
    const double points = values[Idx(base + goPoints)];
    if (std::isnan(points)) return {};
    if (std::trunc(points) == 1.0) {
        const double start = values[Idx(base + goStart)];
        if (std::isnan(start)) return {};
        memory_.collapsed = true;
        if (memory_.collapseCount == 0) SavedStop(base) = values[Idx(base + goStop)];
        ++memory_.collapseCount;
        return {
            {base + goStop, start, true},
            {base + goCenter, start, true},
            {base + goSpan, 0.0, true},
        };
    }
    if (!memory_.collapsed) return {};
    memory_.collapsed = false;
    memory_.collapseCount = 0;
    // Not quiet: the stop's own coupling recomputes centre and span.
    return {{base + goStop, SavedStop(base), false}};
}

std::vector<int> CParameterCoupling::RememberAccepted(int confirmedEdit, const EditValues& values,
                                                      const EditFlags& enabled) {
    for (int i = 0; i < kRangeEditCount; ++i) {
        if (enabled[Idx(i)] && !std::isnan(values[Idx(i)]))
            memory_.lastValues[Idx(i)] = values[Idx(i)];
    }
    std::vector<int> remember;
    const int base = GroupBaseOf(confirmedEdit);
    if (base != kNoEdit) {
        for (int offset = goStart; offset <= goSpan; ++offset) {
            if (base + offset != confirmedEdit) remember.push_back(base + offset);
        }
    }
    // A stop that holds no number (locked, blank) must not become the value
    // a later un-collapse restores.
    if (!std::isnan(values[eiStop])) SavedStop(kFreqGroup) = values[eiStop];
    if (!std::isnan(values[eiPowStop])) SavedStop(kPowGroup) = values[eiPowStop];
    return remember;
}

}  // namespace z5r
