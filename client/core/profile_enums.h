// The selector fields of the settings record store the index of the item
// chosen in their combo box or radio group. The captions are catalogue keys.
#pragma once

#include <array>
#include <span>
#include <string>

namespace z5r {

enum EOperatingMode : int {
    omFixed = 0,
    omFrequencySweep = 1,
    omPowerSweep = 2,
    omFrequencyPowerSweep = 3,
    omListSweep = 4,
};

enum ETriggerMode : int { tmAuto = 0, tmExternal = 1, tmManual = 2 };

enum ERunMode : int { rmSweepStart = 0, rmNextPoint = 1 };

enum ESweepType : int { stLinear = 0, stLog = 1 };

enum EAttStrategy : int { asMinHarmonics = 0, asBestMatch = 1, asBalanced = 2, asMinSwitching = 3 };

enum ESyncOutMode : int {
    soNone = 0,
    soSweepStart = 1,
    soNextPoint = 2,
    soLock = 3,
    soSyncInRepeat = 4,
};

enum ERefFrequency : int { rf1MHz = 0, rf5MHz = 1, rf10MHz = 2, rf100MHz = 3 };

enum EPulseMode : int { pmNone = 0, pmPeriodic = 1, pmPacket = 2, pmExternal = 3 };

// Item captions in index order (untranslated keys).
extern const std::array<const char*, 5> kOperatingModeItems;
extern const std::array<const char*, 3> kTriggerModeItems;
extern const std::array<const char*, 2> kRunModeItems;
extern const std::array<const char*, 2> kSweepTypeItems;
extern const std::array<const char*, 4> kAttStrategyItems;
extern const std::array<const char*, 5> kSyncOutModeItems;
extern const std::array<const char*, 4> kRefFrequencyItems;
extern const std::array<const char*, 4> kPulseModeItems;

// The translated caption of item `index`, or an empty text for an index the
// list does not have.
std::string ItemCaption(std::span<const char* const> items, int index);

}  // namespace z5r
