// Comparing the lists an instrument accepted with what the client asked for.
#pragma once

#include <vector>

#include "core/profile.h"
#include "model/edit_table.h"
#include "model/segment_expansion.h"

namespace z5r {

// Level tolerances: a list from the list panel, and a list built from the
// sweep parameters. Frequencies are compared exactly.
inline constexpr double kListLevelTolerance = 0.001;
inline constexpr double kSweepLevelTolerance = 0.01;

// Whether the instrument corrected a list from the list panel: any returned
// frequency differs from the one sent at its position; only when none does,
// any returned level more than 0.001 dB away. Positions present in only one
// of the lists are not compared.
bool ListWasCorrected(const SPointLists& sent, const SPointLists& returned);

// The corrections after the instrument has accepted a list built from the
// sweep parameters, as writes for the window's SetEditValue: a returned
// level more than 0.01 dB away from the expected one (the start level in the
// combined sweep, the fixed level in the frequency sweep) puts the last such
// level into PowStop with the coupling (combined sweep) or quietly into
// PowCenter; unless both end frequencies match the record, a differing first
// one goes into edtStart with the coupling and a differing last one quietly
// into edtStop. Empty lists give no writes.
std::vector<SEditWrite> SweepCorrectionWrites(const SProfile& profile, const SPointLists& returned);

// The end points of the returned lists that differ from the record: start
// and stop frequency, and in the combined sweep start and stop level (0.01
// dB tolerance), each written with the coupling. Empty lists give no writes.
std::vector<SEditWrite> SweepEndPointWrites(const SProfile& profile, const SPointLists& returned);

// Stores writes into a record as SetEditValue does (span edits have no
// field).
void StoreWrites(SProfile& profile, const std::vector<SEditWrite>& writes);

}  // namespace z5r
