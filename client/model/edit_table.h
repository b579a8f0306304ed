// The main window's table of numeric edits: the index every coupling,
// validation and send step uses, the record field each edit stores, and the
// limits each edit gets from the instrument.
#pragma once

#include <array>
#include <cstddef>

#include "core/control_ranges.h"
#include "core/profile.h"

namespace z5r {

enum EEditIndex : int {
    eiStart = 0,
    eiStop = 1,
    eiCenter = 2,
    eiSpan = 3,
    eiPoints = 4,
    eiPowStart = 5,
    eiPowStop = 6,
    eiPowCenter = 7,
    eiPowSpan = 8,
    eiPowPoints = 9,
    eiDwell = 10,
    eiSyncTime = 11,
    eiPhase = 12,
    eiTau = 13,
    eiPeriodSingle = 14,
    eiQ = 15,
    eiPeriodPacket = 16,
};

inline constexpr int kEditCount = 17;
// "No edit": the validation run without a confirmed edit, or an edit outside
// the table (the power ceiling).
inline constexpr int kNoEdit = -1;

// Frequency and power each have five edits at the same offsets from a base.
inline constexpr int kFreqGroup = 0;
inline constexpr int kPowGroup = 5;
inline constexpr int kGroupSize = 5;
enum EGroupOffset : int { goStart = 0, goStop = 1, goCenter = 2, goSpan = 3, goPoints = 4 };
// Edits 0-9: the two range groups.
inline constexpr int kRangeEditCount = 10;

// Values of all edits in table order; not-a-number stands for an edit that
// holds no readable number.
using EditValues = std::array<double, kEditCount>;
using EditFlags = std::array<bool, kEditCount>;
using EditRanges = std::array<SControlRange, kEditCount>;

// One programmatic change of an edit, as the window's SetEditValue performs
// it: `quiet` detaches the edit's change notification so no coupling runs;
// without it the change runs the coupling as if the operator had typed it.
struct SEditWrite {
    int edit = kNoEdit;
    double value = 0.0;
    bool quiet = true;

    friend bool operator==(const SEditWrite&, const SEditWrite&) = default;
};

inline constexpr bool IsTableEdit(int edit) { return edit >= 0 && edit < kEditCount; }
inline constexpr bool IsFrequencyEdit(int edit) { return edit >= eiStart && edit <= eiPoints; }
inline constexpr bool IsPowerEdit(int edit) { return edit >= eiPowStart && edit <= eiPowPoints; }
inline constexpr bool IsPulseEdit(int edit) { return edit >= eiTau && edit <= eiPeriodPacket; }
// The base of the range group `edit` belongs to, or kNoEdit.
inline constexpr int GroupBaseOf(int edit) {
    return IsFrequencyEdit(edit) ? kFreqGroup : IsPowerEdit(edit) ? kPowGroup : kNoEdit;
}

// The control name of an edit ("edtStart" …), or "" outside the table.
const char* EditName(int edit);

// The record field an edit stores; nullptr for the span edits (no field) and
// for an index outside the table.
double* RecordField(SProfile& profile, int edit);
const double* RecordField(const SProfile& profile, int edit);

// Limits of the seventeen edits for the given instrument limits: frequency
// and power edits follow the instrument, the others keep their fixed ranges.
EditRanges EditRangesFor(const SInstrumentLimits& limits);
// Limits of the seventeen edits before an instrument is connected.
EditRanges InitialEditRanges();
// Limits of the power ceiling edit (PowLimit, outside the table).
SControlRange PowLimitRangeFor(const SInstrumentLimits& limits);

}  // namespace z5r
