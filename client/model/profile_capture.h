// Capturing the window into a profile: the step settings the edits show, the
// summary proposed as a new profile's comment, the working packet and list.
#pragma once

#include <array>
#include <string>

#include "core/profile.h"
#include "model/edit_table.h"
#include "model/main_view.h"
#include "model/parameter_summary.h"

namespace z5r {

// What a numeric edit shows: its text and its unit as shown.
struct SEditText {
    std::string text;
    std::string unit;
};

// What the window's edits show at the capture.
struct SCaptureSource {
    SEditSteps steps;
    std::array<SEditText, kEditCount> texts{};
};

// The step settings a record holds, as the edits show them.
SEditSteps EditStepsOf(const SProfile& profile);

// Whether a capture may produce the summary and ask for a comment.
enum class ECaptureSummary { Offer, Suppress };

// The summary of the frequency and power part for operating mode `mode`.
std::string CaptureSummary(int mode, const std::array<SEditText, kEditCount>& texts);

// The step settings of the frequency edits, then of the power edits, the
// ceiling and the attenuator; the rest of the edits' steps.
void TakeFrequencyAndPowerSteps(SProfile& profile, const SEditSteps& steps, int attStrategy);
void TakeOtherSteps(SProfile& profile, const SEditSteps& steps);

}  // namespace z5r
