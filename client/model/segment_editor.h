// The rules of the segment editor: the values of its nine edits, which of them
// are enabled, their limits, the value modes of frequency and level, and how
// the edits of a range follow each other while the operator types. The window
// shows what this holds and reports the operator's changes to it.
//
// Frequency and level are each a fixed value (the centre edit) or a range
// entered as start and stop or as centre and span. The editor lives as long as
// the program: the last confirmed values, the saved stops and the collapse to
// one point carry over from one opening to the next.
#pragma once

#include <array>
#include <optional>

#include "core/control_ranges.h"
#include "core/list_point.h"

namespace z5r {

// The edits in the order the rules index them: a group's start, stop, centre
// and span follow each other, frequency from 0 and level from 5.
enum ESegmentEdit : int {
    seFreqStart = 0,
    seFreqStop,
    seFreqCenter,
    seFreqSpan,
    sePoints,
    sePowStart,
    sePowStop,
    sePowCenter,
    sePowSpan,
};
inline constexpr int kSegmentEditCount = 9;

// The items of FreqValRG and PowValRG, and of LinLogRG, by index.
enum class EValueMode { Fixed = 0, Range = 1 };
enum class ESpacing { Linear = 0, Log = 1 };

// The range rules keep a group within these bounds, whatever the instrument's.
inline constexpr SControlRange kSegmentFreqBounds{0.0, 11000000000.0};  // Hz
inline constexpr SControlRange kSegmentPowBounds{-100.0, 20.0};         // dBm
// The most points one segment may have, whatever the instrument takes.
inline constexpr double kSegmentMaxPoints = 100001.0;

// What an opening limits the edits to.
struct SSegmentEditorLimits {
    double highLevel = 35.0;    // dBm
    double lowLevel = -100.0;   // dBm
    double highFreq = 110000000001.0;  // Hz
    double lowFreq = 0.0;       // Hz
};

// The main window's limits for the editor: its instrument limits, the level
// ceiling in force (the power limit while it is ticked) taking the place of
// the highest level when it is lower.
SSegmentEditorLimits SegmentEditorLimits(const SInstrumentLimits& limits,
                                         std::optional<double> ceiling);

class CSegmentEditor {
public:
    // The values, modes and limits of a new editor.
    CSegmentEditor();

    double Value(int edit) const { return values_[edit]; }
    bool Enabled(int edit) const { return enabled_[edit]; }
    const SControlRange& Range(int edit) const { return ranges_[edit]; }
    EValueMode FreqMode() const { return freqMode_; }
    EValueMode PowMode() const { return powMode_; }
    ESpacing Spacing() const { return spacing_; }
    // LinLogRG follows the frequency range.
    bool SpacingEnabled() const { return freqMode_ == EValueMode::Range; }

    void SetLimits(const SSegmentEditorLimits& limits);

    // Shows `segment` in the edits, as an opening does before the form
    // appears.
    void Load(const SListPoint& segment);
    // `segment` with what the edits hold, as the form gives it back on OK;
    // `used` is the segment's own.
    SListPoint Result(const SListPoint& segment) const;

    // The operator's doings. Change: the edit now holds `value` (each change
    // of its text or step). Validate: an entry was confirmed in any edit.
    void Change(int edit, double value);
    void Validate();
    void FreqValClick(EValueMode mode);
    void PowValClick(EValueMode mode);
    void SetSpacing(ESpacing spacing) { spacing_ = spacing; }

private:
    struct SGroup {
        int first;            // seFreqStart or sePowStart
        SControlRange bounds;  // the clamping bounds of the range rules
        double* savedStop;
    };

    SGroup GroupOf(int edit);
    // Shows one group's ends: a range when they differ, else the fixed value.
    void LoadGroup(int first, double start, double stop,
                   void (CSegmentEditor::*click)(EValueMode));
    double Points() const { return values_[sePoints]; }
    // Every setting by the program skips a disabled edit and the edit whose
    // change is being handled (unless told to set even that one).
    bool Settable(int edit) const;
    void SetQuietly(int edit, double value);
    void SetNotifying(int edit, double value);
    void SetEvenIfChanging(int edit, double value);
    // The change notification of `edit`: the rule that its kind calls for.
    void Notify(int edit);
    void StartOrStopChanged(int edit);
    void CentreOrSpanChanged(int edit);
    void PointsChanged();

    std::array<double, kSegmentEditCount> values_{};
    std::array<bool, kSegmentEditCount> enabled_{};
    std::array<SControlRange, kSegmentEditCount> ranges_{};
    std::array<double, kSegmentEditCount> oldValues_{};  // as last confirmed
    double savedFreqStop_ = 0.0;
    double savedPowStop_ = 0.0;
    int collapseCount_ = 0;
    bool collapsed_ = false;
    EValueMode freqMode_ = EValueMode::Range;
    EValueMode powMode_ = EValueMode::Fixed;
    ESpacing spacing_ = ESpacing::Linear;
    int changing_ = -1;  // the edit whose change is being handled
    bool ready_ = false;
};

}  // namespace z5r
