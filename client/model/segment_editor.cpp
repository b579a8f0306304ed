#include "model/segment_editor.h"

#include <cmath>

#include "model/whole_number.h"

namespace z5r {

namespace {

// Offsets within a group.
constexpr int kStart = 0;
constexpr int kStop = 1;
constexpr int kCentre = 2;
constexpr int kSpan = 3;

constexpr SControlRange kCreatedFreq{0.0, 110000000001.0};  // Hz
constexpr SControlRange kCreatedPow{-100.0, 35.0};          // dBm
constexpr SControlRange kCreatedPowSpan{0.0, 165.0};        // dB
constexpr SControlRange kCreatedPoints{1.0, 5001.0};

bool IsStartOrStop(int edit) {
    return edit == seFreqStart || edit == seFreqStop || edit == sePowStart || edit == sePowStop;
}

}  // namespace

SSegmentEditorLimits SegmentEditorLimits(const SInstrumentLimits& limits,
                                         std::optional<double> ceiling) {
    SSegmentEditorLimits result;
    result.highLevel = ceiling && *ceiling < limits.maxPow ? *ceiling : limits.maxPow;
    result.lowLevel = limits.minPow;
    result.highFreq = limits.maxFreq;
    result.lowFreq = limits.minFreq;
    return result;
}

CSegmentEditor::CSegmentEditor() {
    values_ = {0.0, 0.0, 0.0, 0.0, 501.0, -30.0, 10.0, -10.0, 40.0};
    ranges_ = {kCreatedFreq, kCreatedFreq, kCreatedFreq, kCreatedFreq, kCreatedPoints,
               kCreatedPow,  kCreatedPow,  kCreatedPow,  kCreatedPowSpan};
    enabled_.fill(true);
    // The level starts fixed: only its centre is entered.
    enabled_[sePowStart] = enabled_[sePowStop] = enabled_[sePowSpan] = false;
    ready_ = true;
}

void CSegmentEditor::SetLimits(const SSegmentEditorLimits& limits) {
    for (int edit : {seFreqStart, seFreqStop, seFreqCenter})
        ranges_[edit] = {limits.lowFreq, limits.highFreq};
    ranges_[seFreqSpan].maximum = limits.highFreq - limits.lowFreq;
    ranges_[sePoints].maximum = kSegmentMaxPoints;
    for (int edit : {sePowStart, sePowStop, sePowCenter})
        ranges_[edit] = {limits.lowLevel, limits.highLevel};
    ranges_[sePowSpan].maximum = limits.highLevel - limits.lowLevel;
}

void CSegmentEditor::Load(const SListPoint& segment) {
    SetNotifying(sePoints, segment.points);
    spacing_ = segment.linfreq == 1 ? ESpacing::Linear : ESpacing::Log;
    LoadGroup(seFreqStart, segment.startfreq, segment.stopfreq, &CSegmentEditor::FreqValClick);
    LoadGroup(sePowStart, segment.startpow, segment.stoppow, &CSegmentEditor::PowValClick);
}

void CSegmentEditor::LoadGroup(int first, double start, double stop,
                               void (CSegmentEditor::*click)(EValueMode)) {
    if (start != stop) {
        (this->*click)(EValueMode::Range);
        SetQuietly(first + kStart, start);
        // The rules set centre and span from start and stop.
        SetNotifying(first + kStop, stop);
    } else {
        (this->*click)(EValueMode::Fixed);
        SetQuietly(first + kCentre, start);
    }
    Validate();
}

SListPoint CSegmentEditor::Result(const SListPoint& segment) const {
    SListPoint result = segment;
    const bool freqRange = freqMode_ == EValueMode::Range;
    result.startfreq = values_[freqRange ? seFreqStart : seFreqCenter];
    result.stopfreq = values_[freqRange ? seFreqStop : seFreqCenter];
    const bool powRange = powMode_ == EValueMode::Range;
    result.startpow = values_[powRange ? sePowStart : sePowCenter];
    result.stoppow = values_[powRange ? sePowStop : sePowCenter];
    result.linfreq = freqRange && spacing_ == ESpacing::Linear ? 1 : 0;
    result.points = TruncateToInt32(values_[sePoints]);
    return result;
}

void CSegmentEditor::Change(int edit, double value) {
    values_[edit] = value;
    Notify(edit);
}

void CSegmentEditor::Validate() {
    oldValues_ = values_;
    savedFreqStop_ = values_[seFreqStop];
    savedPowStop_ = values_[sePowStop];
}

void CSegmentEditor::FreqValClick(EValueMode mode) {
    freqMode_ = mode;
    const bool range = mode == EValueMode::Range;
    enabled_[seFreqStart] = enabled_[seFreqStop] = enabled_[seFreqSpan] = range;
    if (range) SetNotifying(seFreqCenter, values_[seFreqCenter]);
    Notify(seFreqCenter);
}

void CSegmentEditor::PowValClick(EValueMode mode) {
    powMode_ = mode;
    const bool range = mode == EValueMode::Range;
    enabled_[sePowStart] = enabled_[sePowStop] = enabled_[sePowSpan] = range;
    Notify(sePowStart);
}

CSegmentEditor::SGroup CSegmentEditor::GroupOf(int edit) {
    if (edit < sePoints) return SGroup{seFreqStart, kSegmentFreqBounds, &savedFreqStop_};
    return SGroup{sePowStart, kSegmentPowBounds, &savedPowStop_};
}

bool CSegmentEditor::Settable(int edit) const { return edit != changing_ && enabled_[edit]; }

void CSegmentEditor::SetQuietly(int edit, double value) {
    if (Settable(edit)) values_[edit] = value;
}

void CSegmentEditor::SetNotifying(int edit, double value) {
    if (!Settable(edit)) return;
    values_[edit] = value;
    Notify(edit);
}

void CSegmentEditor::SetEvenIfChanging(int edit, double value) {
    if (enabled_[edit]) values_[edit] = value;
}

void CSegmentEditor::Notify(int edit) {
    if (!ready_) return;
    const int outer = changing_;
    changing_ = edit;
    if (edit == sePoints) {
        PointsChanged();
    } else if (IsStartOrStop(edit)) {
        StartOrStopChanged(edit);
    } else {
        CentreOrSpanChanged(edit);
    }
    changing_ = outer;
}

void CSegmentEditor::StartOrStopChanged(int edit) {
    const SGroup group = GroupOf(edit);
    const int g = group.first;
    const double start = values_[g + kStart];
    const double stop = values_[g + kStop];
    *group.savedStop = stop;
    const bool startChanged = edit == g + kStart;
    if (startChanged) {
        oldValues_[g + kStart] = start;
    } else {
        oldValues_[g + kStop] = stop;
    }
    if (Points() > 1) {
        SetQuietly(g + kCentre, (start + stop) / 2);
        SetQuietly(g + kSpan, std::fabs(stop - start));
    } else {
        SetQuietly(g + kCentre, startChanged ? start : stop);
        SetQuietly(g + kSpan, 0.0);
    }
}

void CSegmentEditor::CentreOrSpanChanged(int edit) {
    const SGroup group = GroupOf(edit);
    const int g = group.first;
    const double lo = group.bounds.minimum;
    const double hi = group.bounds.maximum;
    const bool several = Points() > 1;
    double centre = values_[g + kCentre];
    double span = several ? values_[g + kSpan] : 0.0;

    if (edit == g + kCentre) {
        if (several) {
            const double previousSpan = oldValues_[g + kSpan];
            if (centre < lo) {
                centre = lo;
                span = 0.0;
            } else if (centre > hi) {
                centre = hi;
                span = 0.0;
            } else if (centre < lo + previousSpan / 2) {
                span = 2 * (centre - lo);
            } else if (centre > hi - previousSpan / 2) {
                span = 2 * (hi - centre);
            } else {
                span = previousSpan;
            }
            oldValues_[g + kCentre] = centre;
        }
    } else {
        const double previousCentre = oldValues_[g + kCentre];
        if (previousCentre - span / 2 < lo) {
            centre = lo + span / 2;
        } else if (previousCentre + span / 2 > hi) {
            centre = hi - span / 2;
        } else {
            centre = previousCentre;
        }
        oldValues_[g + kSpan] = span;
    }

    const bool downward = oldValues_[g + kStart] > oldValues_[g + kStop];
    const double low = centre - span / 2;
    const double high = centre + span / 2;
    SetQuietly(g + kStart, downward ? high : low);
    SetQuietly(g + kStop, downward ? low : high);
    SetQuietly(g + kCentre, centre);
    if (several) {
        SetQuietly(g + kSpan, span);
    } else {
        SetEvenIfChanging(g + kSpan, span);
    }
    *group.savedStop = high;
}

void CSegmentEditor::PointsChanged() {
    if (freqMode_ != EValueMode::Range) return;
    const std::int32_t n = TruncateToInt32(Points());
    if (n == 1) {
        collapsed_ = true;
        if (collapseCount_ == 0) savedFreqStop_ = values_[seFreqStop];
        ++collapseCount_;
        const double start = values_[seFreqStart];
        SetQuietly(seFreqStop, start);
        SetQuietly(seFreqCenter, start);
        SetQuietly(seFreqSpan, 0.0);
    } else if (collapsed_) {
        collapsed_ = false;
        collapseCount_ = 0;
        SetNotifying(seFreqStop, savedFreqStop_);
    }
}

}  // namespace z5r
